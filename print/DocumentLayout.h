// The page layout of a printed document, and its output as a PDF file.
//
// `layoutDocument` places everything an A4 page shows — the company's name and the
// document's title, the bill-to and ship-to blocks, the document's particulars, the lines
// with their amounts, the tax per authority, the totals and a footer with the page
// number — as a list of text runs, rules and fills in points (1/72 inch) from the page's
// top left corner. `renderDocumentPdf` paints that list with QPdfWriter; keeping the two
// apart lets the layout be checked without reading a PDF back.
//
// Each text run is measured with the font it is printed in and fits its box: a longer
// text is wrapped (descriptions, addresses) or shortened with "…" (a particular too long
// for its box). Lines that do not fit on a page go on to the next, under the column
// headings again.
#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "print/DocumentPrintout.h"

namespace keltro::print {

enum class TextStyle {
    Company,     // the company's name at the top
    Title,       // the document's title
    Caption,     // "Bill to", "Due date", …
    Body,        // values, lines
    Strong,      // the customer's name, the total
    ColumnHead,  // the line table's headings
    Footer,      // the page footer
};

struct PlacedText {
    int page = 0;  // from 0
    QRectF box;
    QString text;
    TextStyle style = TextStyle::Body;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
};

struct PlacedRule {
    int page = 0;
    QLineF line;
    double width = 0.5;
    QColor colour;
};

struct PlacedFill {
    int page = 0;
    QRectF box;
    QColor colour;
};

struct PageLayout {
    QSizeF pageSize;  // in points
    int pageCount = 1;
    std::vector<PlacedText> texts;
    std::vector<PlacedRule> rules;
    std::vector<PlacedFill> fills;
};

// The font a style is printed in (its size in points).
QFont printFont(TextStyle style);

PageLayout layoutDocument(const DocumentPrintout& printout);

// Writes the printout as an A4 PDF; false when the file cannot be written.
bool renderDocumentPdf(const DocumentPrintout& printout, const QString& pdfPath);

}  // namespace keltro::print
