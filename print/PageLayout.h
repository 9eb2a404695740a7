// A printed page as a list of placed things, and its output as a PDF file.
//
// A printout's layout (DocumentLayout, ReceiptLayout) places everything its A4 pages show
// as text runs, rules and fills in points (1/72 inch) from each page's top left corner.
// `writePdf` paints that list with QPdfWriter; keeping the two apart lets a layout be
// checked by the texts it placed, without reading a PDF back.
#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

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

// Writes the pages as an A4 PDF whose document title is `title`; false when the file
// cannot be written.
bool writePdf(const PageLayout& layout, const QString& pdfPath, const QString& title);

}  // namespace keltro::print
