// "&Generate actual receipt": the real documents made from a saved batch's lines, all in
// one transaction, after which the batch is `complete`.
//
//     1 "Receipt"               a receipt ('rc') stored header-only with new_from_fast TRUE and
//                               the invoice to apply; the receipt screen completes it
//     2 "Unapplied cash"        a receipt ('rc') and the unapplied-cash document ('ua') of its
//                               whole amount
//     3 "Prepayment"            a prepayment ('rpp') and its open credit
//     4 "Miscellaneous receipt" a miscellaneous receipt ('mrc') of one line
//
// Every document carries the line's journal as its own (`GLFKEY`): the batch posted the
// money, so generating posts nothing. Each line then names its document (`real_docno`,
// `real_doctype`).
#pragma once

#include "receipts/FastReceiptRecords.h"
#include "receipts/FastReceiptSave.h"

namespace keltro::receipts {

// False after a message, when nothing was written; throws db::DbError likewise.
bool generateFastReceiptDocuments(FastReceiptSaveContext& context, const FastReceiptHeader& batch);

}  // namespace keltro::receipts
