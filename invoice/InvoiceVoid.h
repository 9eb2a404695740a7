// Voiding a saved invoice, debit note or credit note.
//
// Only a document entered here ("AR-INVOICE") that nothing has been applied to and that
// is not void already can be voided; the refusals come in this order:
//
//     "Cannot void this document. Original source is Sales Order"
//     "Invoice was partially paid."   /   "Invoice was paid."
//     "Invoice was void"
//
// The void is one transaction: the document's journal is reversed today ("Void invoice "
// + docno on the reversed journal), then the header and every line are marked void and
// stamped. A failed reversal or a missing header ("No Header record") leaves the
// document, its journal and the balances as they were. The customer's owing balance is
// not changed.
#pragma once

#include <string>

#include "invoice/InvoiceSave.h"

namespace keltro::invoice {

// Voids the document with key `fkey`, as it stands in the database; false after a
// refusal or a failure (each with its message).
bool voidDocument(SaveContext& context, const std::string& fkey);

}  // namespace keltro::invoice
