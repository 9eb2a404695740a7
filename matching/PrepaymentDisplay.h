// How a prepayment shows on its screen: the controls only a prepayment has, a cleared
// entry, and the rows of its grid. The controls it shares with the receipt screen show
// as receipts::receiptFields gives them.
#pragma once

#include <string>

#include "framework/FieldText.h"
#include "framework/ScreenParts.h"
#include "receipts/ReceiptRecords.h"

namespace keltro::matching {

// The controls only a prepayment has, as a stored one shows them.
framework::FieldValues ownFields(const receipts::ReceiptHeader& header);

// A cleared entry: `today` as receipt and rate date, nothing typed yet.
framework::FieldValues entryDefaults(const std::string& today);

// A `Receipt_transaction_table` line of the prepayment as a row of `dbgrid1`.
framework::GridRow storedRow(const receipts::ReceiptLine& line, const std::string& dateFormat);

}  // namespace keltro::matching
