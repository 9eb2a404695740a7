// The page layout of a printed invoice, debit note or credit note, and its PDF file.
//
// `layoutDocument` places everything an A4 page shows — the company's name and the
// document's title, the bill-to and ship-to blocks, the document's particulars, the lines
// with their amounts, the tax per authority, the totals and a footer with the page
// number — through the PageComposer that every printout shares (PageComposer.h tells
// how texts fit their boxes and how lines go on to further pages). `renderPdf` writes
// that layout as a PDF file.
#pragma once

#include <QString>

#include "print/DocumentPrintout.h"
#include "print/PageLayout.h"

namespace keltro::print {

PageLayout layoutDocument(const DocumentPrintout& printout);

// Writes the printout as an A4 PDF; false when the file cannot be written.
bool renderPdf(const DocumentPrintout& printout, const QString& pdfPath);

}  // namespace keltro::print
