// Voiding a receipt: the documents it paid are given back what it took, the receipt, its
// lines and its unapplied-cash document are marked void, and its journal is reversed —
// appended to the journal itself when today lies in the journal's fiscal period, else in
// a new journal dated today. One transaction: a failure anywhere leaves everything as it
// was.
//
// Two things refuse a void before it is asked for: a receipt already void
// ("RC-26-00004 was void."), and a receipt whose unapplied cash a later receipt has
// applied ("Receipt no 1187 refer to this unapplied document", "please void it before
// proceeding") — that receipt must be voided first.
#pragma once

#include <string>
#include <vector>

#include "receipts/ReceiptRecords.h"
#include "receipts/ReceiptSave.h"

namespace keltro::receipts {

// The messages that refuse the void, in order; empty when it may go ahead.
std::vector<std::string> voidRefusal(db::Database& db, const ReceiptHeader& receipt);

// Voids the receipt `shown`, read again first; false after a message (a refusal found
// only now, the reversal's), when nothing was changed. Throws db::DbError for a database
// failure, also with nothing changed.
bool voidReceipt(ReceiptSaveContext& context, const ReceiptHeader& shown);

}  // namespace keltro::receipts
