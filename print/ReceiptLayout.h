// The page layout of a printed receipt, and its PDF file.
//
// `layoutReceipt` places what an A4 page of a receipt shows, through the PageComposer
// that every printout shares: the company's name and the receipt's title and number; who
// paid (the customer's name and address), how (pay by, payer, cheque, bank or cash
// account) and the receipt's particulars (date, reference, customer, currency and rate);
// the documents it applied, one pay item a row, with the open amount before the receipt,
// the amount applied, the discount, the write-off and the balance left; then the discount
// and write-off taken, the amount applied, the unapplied cash and, in bold, the amount
// received. `renderPdf` writes that layout as a PDF file.
#pragma once

#include <QString>

#include "print/PageLayout.h"
#include "print/ReceiptPrintout.h"

namespace keltro::print {

PageLayout layoutReceipt(const ReceiptPrintout& printout);

// Writes the printout as an A4 PDF; false when the file cannot be written.
bool renderPdf(const ReceiptPrintout& printout, const QString& pdfPath);

}  // namespace keltro::print
