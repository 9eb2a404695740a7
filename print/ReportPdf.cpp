#include "print/ReportPdf.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <vector>

#include "reports/ReportPrint.h"

namespace keltro::print {

namespace {

using reports::CellAlignment;
using reports::PrintedReport;

constexpr double kCellPadding = 2;
const QColor kRuleColour(0, 0, 0);

QColor colourOf(const reports::PrintColour& c) { return QColor(c.red, c.green, c.blue); }

QFont fontOf(const reports::PrintFont& f) {
    QFont font(QString::fromStdString(f.name));
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    // Plain letters, no ligatures: the file's text reads as the grid's ("fi", not "ﬁ").
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

int flagsOf(CellAlignment alignment) {
    const int horizontal = alignment == CellAlignment::Right    ? Qt::AlignRight
                           : alignment == CellAlignment::Centre ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter | Qt::TextSingleLine;
}

// A font made once, with its colour and measures.
struct Ink {
    explicit Ink(const reports::PrintFont& f) : font(fontOf(f)), colour(colourOf(f.colour)), metrics(font) {}
    QFont font;
    QColor colour;
    QFontMetricsF metrics;
};

// The report's inks: the title's, the headings', one per column.
struct Inks {
    explicit Inks(const PrintedReport& r) : title(r.titleFont), header(r.headerFont) {
        for (const auto& column : r.columns) columns.emplace_back(column.font);
    }
    Ink title;
    Ink header;
    std::vector<Ink> columns;
};

// The value inside the box, shortened with "…" when it is too long for it.
void text(QPainter& painter, const QRectF& box, const std::string& value, const Ink& ink,
          CellAlignment alignment) {
    if (value.empty()) return;
    painter.setFont(ink.font);
    painter.setPen(ink.colour);
    const QRectF inner = box.adjusted(kCellPadding, 0, -kCellPadding, 0);
    QString shown = QString::fromStdString(value);
    if (ink.metrics.horizontalAdvance(shown) > inner.width())
        shown = ink.metrics.elidedText(shown, Qt::ElideRight, inner.width());
    painter.drawText(inner, flagsOf(alignment), shown);
}

void rule(QPainter& painter, double x1, double y1, double x2, double y2) {
    painter.setPen(QPen(kRuleColour, 0.5));
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void paintTitleBlock(QPainter& painter, const PrintedReport& r, const Inks& inks) {
    for (int line = 0; line < 2; ++line) {
        const QRectF box(r.left, r.top + line * r.titleLineHeight, r.usableWidth(), r.titleLineHeight);
        const Ink& font = line == 0 ? inks.title : inks.header;
        text(painter, box, r.titleLines[line].left, font, CellAlignment::Left);
        text(painter, box, r.titleLines[line].centre, font, CellAlignment::Centre);
        text(painter, box, r.titleLines[line].right, font, CellAlignment::Right);
    }
}

void paintHeader(QPainter& painter, const PrintedReport& r, const Inks& inks) {
    const double y = r.headerTop();
    rule(painter, r.left, y, r.right, y);
    for (const auto& column : r.columns)
        text(painter, QRectF(column.left, y, column.width, r.rowHeight), column.caption, inks.header,
             column.alignment);
    rule(painter, r.left, y + r.rowHeight, r.right, y + r.rowHeight);
}

void paintRow(QPainter& painter, const PrintedReport& r, const Inks& inks, std::size_t row) {
    const double y = r.rowTop(row);
    if (r.shaded(row)) painter.fillRect(QRectF(r.left, y, r.usableWidth(), r.rowHeight), colourOf(*r.evenRowFill));
    for (std::size_t c = 0; c < r.columns.size(); ++c) {
        const auto& column = r.columns[c];
        text(painter, QRectF(column.left, y, column.width, r.rowHeight), r.rows[row][c], inks.columns[c],
             column.alignment);
    }
}

void paintDividers(QPainter& painter, const PrintedReport& r, double bottom) {
    if (!r.columnDivider || r.columns.empty()) return;
    for (const auto& column : r.columns) rule(painter, column.left, r.headerTop(), column.left, bottom);
    const auto& last = r.columns.back();
    rule(painter, last.left + last.width, r.headerTop(), last.left + last.width, bottom);
}

QPageLayout layoutOf(const PrintedReport& r, bool turned) {
    const double shortSide = std::min(r.page.width, r.page.height);
    const double longSide = std::max(r.page.width, r.page.height);
    const QPageSize size(QSizeF(shortSide, longSide), QPageSize::Point, QString(), QPageSize::ExactMatch);
    const bool wide = r.page.width > r.page.height && !turned;
    return QPageLayout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

}  // namespace

bool WriteReportPdf(const PrintedReport& r, const QString& path, bool turned,
                    const std::function<void(long, long)>& progress) {
    QPdfWriter writer(path);
    writer.setPageLayout(layoutOf(r, turned));
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("Keltro A/R"));
    writer.setTitle(QString::fromStdString(r.titleLines[1].centre));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const long total = static_cast<long>(r.rows.size());
    const Inks inks(r);
    for (std::size_t page = 0; page < r.pageCount(); ++page) {
        if (page > 0) writer.newPage();
        painter.resetTransform();
        if (turned && r.page.width > r.page.height) {
            // The wide page a quarter turn onto the portrait sheet.
            painter.translate(r.page.height, 0);
            painter.rotate(90);
        }
        paintTitleBlock(painter, r, inks);
        paintHeader(painter, r, inks);
        const std::size_t first = page * r.rowsPerPage;
        const std::size_t last = std::min(r.rows.size(), first + r.rowsPerPage);
        for (std::size_t row = first; row < last; ++row) {
            paintRow(painter, r, inks, row);
            if (progress && (row % 256 == 0 || row + 1 == last)) progress(static_cast<long>(row + 1), total);
        }
        paintDividers(painter, r, last > first ? r.rowTop(last - 1) + r.rowHeight : r.firstRowTop());
    }
    return painter.end();
}

void InstallReportPdfOutput() {
    reports::InstallReportPdfWriter([](const PrintedReport& report, const std::string& path, bool turned,
                                       const std::function<void(long, long)>& progress) {
        return WriteReportPdf(report, QString::fromStdString(path), turned, progress);
    });
}

}  // namespace keltro::print
