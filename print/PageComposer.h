// What every printed A/R document's pages share, for the layouts to compose from.
//
// A layout (DocumentLayout for invoices and notes, ReceiptLayout for receipts) decides
// what its document shows; the composer places it on A4 pages the same way for all of
// them: the company and the document's title at the top of the first page, blocks of
// captioned text and of particulars side by side, a table of lines under shaded column
// headings, a closing summary with its total in bold, and a footer with the page number.
//
//     PageComposer page(printout);   // its PrintoutHeading: company, title, number
//     page.firstPageHeading();
//     double bottom = page.captionedBlock(page.blockLeft(0), "RECEIVED FROM", name, address);
//     bottom = std::max(bottom, page.particulars(page.blockLeft(2), {{"DATE", date}}));
//     page.moveBelow(bottom);
//     page.beginTable(Table(columns));
//     for (…) page.tableRow(cells);
//     page.endTable();
//     page.closing(summary);
//     PageLayout layout = page.finish();
//
// Each text run is measured with the font it is printed in and fits its box: a longer
// text is wrapped (addresses, a table's free-width column) or shortened with "…" (a
// particular or a cell too long for its box). A table row that does not fit on the page
// goes on to the next, under the column headings again; later pages begin with the
// company and "<title> <number> (continued)".
#pragma once

#include <QFontMetricsF>
#include <QImage>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "print/PageLayout.h"
#include "print/ReportRows.h"

namespace keltro::print {

inline QString qtText(const std::string& text) { return QString::fromStdString(text); }

// "A/R Receipt RC-26-00001": the title and the number, as the footer and the PDF name it.
QString documentName(const PrintoutHeading& heading);

// A column of a table of lines. The one column of width 0 takes the width the others
// leave and wraps its text; the others show one line each.
struct TableColumn {
    const char* heading;
    double width;
    bool amount;  // right-aligned
};

class Table {
public:
    explicit Table(std::vector<TableColumn> columns);

    std::size_t size() const { return m_columns.size(); }
    const TableColumn& column(std::size_t c) const { return m_columns[c]; }
    double left(std::size_t c) const { return m_lefts[c]; }
    double width(std::size_t c) const { return m_widths[c]; }
    bool wraps(std::size_t c) const { return m_columns[c].width == 0; }

private:
    std::vector<TableColumn> m_columns;
    std::vector<double> m_lefts;
    std::vector<double> m_widths;
};

// A caption and its value, "DUE DATE  14/02/2026"; the caption prints in capitals.
using Particular = std::pair<std::string, std::string>;

// The particulars a document shows: `always`, then those of `optional` that have a value.
std::vector<Particular> particularsShown(std::vector<Particular> always, const std::vector<Particular>& optional);

// An amount of the closing summary and what it is.
struct SummaryRow {
    QString label;
    double amount = 0;
};

// What closes a document under its lines: a breakdown on the left under its caption
// ("TAX BY AUTHORITY"), the subtotals on the right, then a rule and the total in bold, and
// the remark below everything.
struct Summary {
    QString breakdownCaption;
    std::vector<SummaryRow> breakdown;  // nothing on the left when empty
    std::vector<SummaryRow> subtotals;
    SummaryRow total;
    QString remark;
};

class PageComposer {
public:
    // The company, the title and "No. <number>" open the first page; the company and the
    // document's name head the later ones and every footer.
    explicit PageComposer(const PrintoutHeading& heading);

    // The page's width split into three blocks side by side: the left edge of block
    // 0, 1 or 2, and the width of each.
    static double blockLeft(int block);
    static double blockWidth();

    // The company's name and the title across the top of the first page.
    void firstPageHeading();

    // Under `caption`, `name` in bold and `body` below it, both wrapped to the block's
    // width, from the current position down; gives the bottom.
    double captionedBlock(double x, const char* caption, const QString& name, const QString& body);

    // One particular a row from the current position down, the caption on the left and the
    // value on the right of the block; gives the bottom.
    double particulars(double x, const std::vector<Particular>& rows);

    // Continues `gap` points below `bottom`.
    void moveBelow(double bottom, double gap = 18);

    // A table: its headings now, its rows one by one, `endTable` after the last.
    void beginTable(Table table);
    void tableRow(const std::vector<QString>& cells);
    void endTable();

    // The summary, its amounts under the last column of the table; on a new page when it
    // does not fit under the lines.
    void closing(const Summary& summary);

    // The footers of every page, and the layout.
    PageLayout finish();

    static QString amount(double value);

private:
    const QFontMetricsF& metrics(TextStyle style);
    double step(TextStyle style) { return metrics(style).height() * kLineSpacing; }
    void text(const QRectF& box, const QString& value, TextStyle style,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    double paragraph(double x, double y, double width, const QString& value, TextStyle style,
                     Qt::Alignment align = Qt::AlignLeft);
    std::vector<QString> wrap(const QString& value, TextStyle style, double width);
    void rule(double y, double from, double to, double width, const QColor& colour);
    void rule(double y);
    void continuationHeading();
    void newPage();
    void tableHeadings();

    static constexpr double kLineSpacing = 1.2;

    QString m_company;
    QString m_title;
    QString m_number;
    QString m_documentName;
    QImage m_device{1, 1, QImage::Format_RGB32};
    std::array<std::optional<QFontMetricsF>, 7> m_metrics;
    std::optional<Table> m_table;
    PageLayout m_layout;
    int m_page = 0;
    double m_y = 0;
};

}  // namespace keltro::print
