// Voiding a prepayment: the prepayment and its lines are marked void, its open credit is
// closed (void, so that nothing can consume it any more) and its journal is reversed into
// a new journal dated today ("AR-PREPAY", in today's fiscal period). One transaction: a
// failure anywhere leaves everything as it was.
//
// Two things refuse a void before it is asked for: a prepayment already void
// ("PP-26-00004 was void."), and one an invoice has consumed, which only invoice entry
// may change:
//
//     Prepayment was applied to invoiced.
//     Use Sales invoice Entry to edit prepayment.
//
// The customer's owing balance is not touched (see docs/ARCHITECTURE.md, "Prepayments").
#pragma once

#include <string>

#include "matching/PrepaymentSave.h"
#include "receipts/ReceiptRecords.h"

namespace keltro::matching {

// The message that refuses the void; empty when it may go ahead.
std::string prepaymentVoidRefusal(const receipts::ReceiptHeader& prepayment);

// Voids the prepayment `shown`, read again first; false after a message (a refusal found
// only now, the reversal's), with nothing changed. Throws db::DbError for a database
// failure, also with nothing changed.
bool voidPrepayment(PrepaymentSaveContext& context, const receipts::ReceiptHeader& shown);

}  // namespace keltro::matching
