#include "reports/PrintedReport.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace keltro::reports {

namespace {

constexpr const char* kDefaultPrintFont = "Arial";

PrintFont formatFont(const ReportFormat& format) {
    return {.name = format.fontName.value_or(kDefaultPrintFont),
            .size = format.fontSize,
            .bold = format.bold,
            .colour = ColourOfNumber(format.fontColor)};
}

// The grid column's own font, the format's where the column leaves a part unset.
PrintFont gridFont(const framework::GridColumn& column, const PrintFont& fallback) {
    PrintFont font = fallback;
    if (!column.fontName.empty()) font.name = column.fontName;
    if (column.fontSize > 0) font.size = column.fontSize;
    font.bold = column.bold;
    font.italic = column.italic;
    font.underline = column.underline;
    if (column.fontColor) font.colour = ColourOfNumber(*column.fontColor);
    return font;
}

CellAlignment alignmentOf(int gridAlignment) {
    if (gridAlignment == 1) return CellAlignment::Right;
    if (gridAlignment == 2) return CellAlignment::Centre;
    return CellAlignment::Left;
}

const framework::GridColumn* shownColumn(const framework::Grid& grid, const std::string& caption) {
    for (const auto& column : grid.columns)
        if (column.caption == caption && column.visible) return &column;
    return nullptr;
}

std::string cellOf(const framework::GridRow& row, const std::string& caption) {
    const auto it = row.find(caption);
    return it == row.end() ? std::string() : it->second;
}

// The rows up to the last one that has something in either of the grid's first two cells.
std::size_t rowsToPrint(const framework::Grid& grid) {
    std::vector<std::string> firstTwo;
    for (std::size_t c = 0; c < grid.columns.size() && c < 2; ++c) firstTwo.push_back(grid.columns[c].caption);
    std::size_t count = grid.rows.size();
    while (count > 0) {
        const auto& row = grid.rows[count - 1];
        if (std::any_of(firstTwo.begin(), firstTwo.end(),
                        [&](const std::string& caption) { return !cellOf(row, caption).empty(); }))
            break;
        --count;
    }
    return count;
}

void placeColumns(PrintedReport& report, const ReportFormat& format, const framework::Grid& grid,
                  const std::vector<std::string>& printedCaptions, const PrintFont& font) {
    std::vector<const framework::GridColumn*> shown;
    for (const auto& caption : printedCaptions) {
        if (shown.size() == kMostPrintedColumns) break;
        if (const auto* column = shownColumn(grid, caption)) shown.push_back(column);
    }
    std::vector<double> gridWidths;
    for (const auto* column : shown) gridWidths.push_back(column->width);
    const auto widths = PrintedWidths(gridWidths, report.usableWidth());
    double left = report.left;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        report.columns.push_back({.caption = shown[i]->caption,
                                  .left = left,
                                  .width = widths[i],
                                  .alignment = alignmentOf(shown[i]->alignment),
                                  .font = format.useGridFont ? gridFont(*shown[i], font) : font});
        left += widths[i];
    }
}

}  // namespace

PrintColour ColourOfNumber(long colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

std::size_t PrintedReport::pageCount() const {
    return rows.empty() ? 1 : (rows.size() + rowsPerPage - 1) / rowsPerPage;
}

std::vector<double> PrintedWidths(const std::vector<double>& gridWidths, double usableWidth) {
    const double total = std::accumulate(gridWidths.begin(), gridWidths.end(), 0.0);
    std::vector<double> widths;
    for (const double width : gridWidths)
        widths.push_back(total > 0 ? std::round(width * usableWidth / total) : 0);
    return widths;
}

PrintedReport LayOutReport(const ReportFormat& format, const framework::Grid& grid,
                           const std::vector<std::string>& printedCaptions,
                           const ReportHeading& heading) {
    PrintedReport report;
    report.page = PageSizeOf(format);
    report.landscape = !format.portrait();
    if (report.landscape && report.page.height > report.page.width)
        std::swap(report.page.width, report.page.height);
    report.top = MillimetresToPoints(format.topMargin);
    report.bottom = report.page.height - MillimetresToPoints(format.bottomMargin);
    report.left = MillimetresToPoints(format.leftMargin);
    report.right = report.page.width - MillimetresToPoints(format.rightMargin);

    const PrintFont font = formatFont(format);
    report.headerFont = font;
    report.headerFont.bold = true;
    report.titleFont = report.headerFont;
    report.titleFont.size = font.size + 4;
    report.rowHeight = format.rowHeight;
    report.titleLineHeight = std::max(format.rowHeight, report.titleFont.size * 1.6);
    report.titleLines[0] = {"", heading.company, ""};
    report.titleLines[1] = {"", heading.title, "print : " + heading.printedOn};
    if (!format.disabledEvenRowColor) report.evenRowFill = ColourOfNumber(format.evenRowColor);
    report.columnDivider = format.columnDivider;

    placeColumns(report, format, grid, printedCaptions, font);
    const std::size_t count = rowsToPrint(grid);
    report.rows.reserve(count);
    for (std::size_t r = 0; r < count; ++r) {
        std::vector<std::string> cells;
        cells.reserve(report.columns.size());
        for (const auto& column : report.columns) cells.push_back(cellOf(grid.rows[r], column.caption));
        report.rows.push_back(std::move(cells));
    }
    const double room = report.bottom - report.firstRowTop();
    report.rowsPerPage = std::max<std::size_t>(1, static_cast<std::size_t>(std::floor(room / report.rowHeight)));
    return report;
}

}  // namespace keltro::reports
