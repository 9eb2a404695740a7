// A report grid made ready for paper, as plain data: the page, its edges, the title block,
// the printed columns with their widths, alignments and fonts, the rows' texts and where
// the pages break. `print/ReportPdf` paints it; nothing here knows how.
//
// Every measure is in points (1/72 inch) from the page's top left corner. The printed
// columns share the width between the left and right margins in proportion to their grid
// widths: round(grid width × usable width / total of the printed grid widths). At most 21
// columns print; a tick beyond the 21st is passed over. Trailing rows whose first two
// cells are both empty do not print. Every page repeats the title block and the header.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/ScreenParts.h"
#include "reports/ReportFormat.h"

namespace keltro::reports {

inline constexpr std::size_t kMostPrintedColumns = 21;

// A colour number (0xBBGGRR) split into its parts, 0 to 255 each.
struct PrintColour {
    int red = 0, green = 0, blue = 0;
    bool operator==(const PrintColour&) const = default;
};
PrintColour ColourOfNumber(long colour);

struct PrintFont {
    std::string name;
    double size = 10;
    bool bold = false, italic = false, underline = false;
    PrintColour colour;
};

enum class CellAlignment { Left, Right, Centre };

struct PrintedColumn {
    std::string caption;
    double left = 0;
    double width = 0;
    CellAlignment alignment = CellAlignment::Left;
    PrintFont font;
};

// The title block: two lines, each with a left, a centre and a right slot.
struct TitleLine {
    std::string left, centre, right;
};

struct PrintedReport {
    PageSize page;             // as the reader sees it: wider than high when landscape
    bool landscape = false;
    double top = 0, bottom = 0, left = 0, right = 0;  // the edges inside the margins
    TitleLine titleLines[2];
    PrintFont titleFont;       // the first line's; the second prints in `headerFont`
    PrintFont headerFont;
    std::vector<PrintedColumn> columns;
    std::vector<std::vector<std::string>> rows;  // one text per printed column
    double titleLineHeight = 0;
    double rowHeight = 20;
    std::optional<PrintColour> evenRowFill;  // none: rows are not shaded
    bool columnDivider = false;
    std::size_t rowsPerPage = 1;

    double usableWidth() const { return right - left; }
    double headerTop() const { return top + 2 * titleLineHeight + 4; }
    double firstRowTop() const { return headerTop() + rowHeight; }
    std::size_t pageCount() const;
    // The page a row prints on, and its top on that page.
    std::size_t pageOfRow(std::size_t row) const { return row / rowsPerPage; }
    double rowTop(std::size_t row) const {
        return firstRowTop() + static_cast<double>(row % rowsPerPage) * rowHeight;
    }
    // Which rows are shaded: the second, fourth … of each page.
    bool shaded(std::size_t row) const { return evenRowFill && row % rowsPerPage % 2 == 1; }
};

// The printed widths of columns of these grid widths over `usableWidth` points.
std::vector<double> PrintedWidths(const std::vector<double>& gridWidths, double usableWidth);

// What the title block says.
struct ReportHeading {
    std::string company;
    std::string title;      // "CUSTOMER INVOICES AGING"
    std::string printedOn;  // the day in the user's date format
};

// The grid printed in the format: the ticked captions (in their stored order) that the
// grid shows, its rows, the heading. Nothing to print (no ticked column the grid shows)
// gives a report without columns.
PrintedReport LayOutReport(const ReportFormat& format, const framework::Grid& grid,
                           const std::vector<std::string>& printedCaptions,
                           const ReportHeading& heading);

}  // namespace keltro::reports
