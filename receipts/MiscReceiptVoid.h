// Voiding a miscellaneous receipt: the receipt is marked void and its journal reversed —
// appended to the journal itself when today lies in its fiscal period, else in a new
// journal dated today ("AR-MISC") — in one transaction.
//
// A receipt already void is refused (docno + " was void."), and so is one the fast
// receipt screen generated: its money was posted by the batch line, which is where it is
// undone.
#pragma once

#include <string>

#include "receipts/MiscReceiptRecords.h"
#include "receipts/MiscReceiptSave.h"

namespace keltro::receipts {

// The message that refuses the void; empty when it may go ahead.
std::string miscVoidRefusal(const MiscReceiptHeader& receipt);

// False after a message, when nothing was changed; throws db::DbError likewise.
bool voidMiscReceipt(MiscReceiptSaveContext& context, const MiscReceiptHeader& receipt);

}  // namespace keltro::receipts
