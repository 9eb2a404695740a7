// How a receipt shows on the receipt screen: the text of each header control and of each
// grid row.
//
// Dates show in the user's date format, amounts "#,##0.00", a rate as the shortest text
// that reads back as the same number ("1.1012"), an account cell as "accno;accname" (the
// form of the account drop-down's items). A control the receipt leaves empty shows empty.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/Value.h"
#include "framework/FieldText.h"
#include "framework/ScreenParts.h"
#include "receipts/ReceiptRecords.h"

namespace keltro::receipts {

using framework::FieldValues;

// The header controls of a stored receipt.
FieldValues receiptFields(const ReceiptHeader& header, const std::string& customerName,
                          const std::string& dateFormat);

// The controls "&New" clears.
FieldValues newReceiptFields();

// The account as its cell shows it: "6100;Discounts Allowed"; "" for no account.
using AccountNamer = std::function<std::string(const std::string& accno)>;
std::string accountCell(const std::string& accno, const AccountNamer& nameOf);

// A stored line as a grid row; `doctype` is the doctype of the document it paid.
framework::GridRow storedRow(const ReceiptLine& line, const std::string& doctype,
                             const std::string& dateFormat, const AccountNamer& nameOf);

}  // namespace keltro::receipts
