// How a user prints one report: the `Report_format_table` row kept per user and report
// screen, and the paper sizes the page format offers.
//
// Margins are millimetres; the font and even-row colours are colour numbers as the suite
// stores colours (0xBBGGRR); `Orientation` is 1 for portrait, anything else landscape. A
// report is printed only for a user who has a row.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::reports {

struct ReportFormat {
    std::optional<std::string> fontName;
    double fontSize = 10;
    long fontColor = 0;
    long evenRowColor = 0xF0F0F0;
    double rowHeight = 20;
    double topMargin = 0, bottomMargin = 0, leftMargin = 0, rightMargin = 0;
    bool disabledEvenRowColor = false;
    bool bold = false;
    bool useGridFont = false;
    bool columnDivider = false;
    int splitPage = 1;
    std::optional<int> orientation;  // 1 portrait, 2 landscape; null reads as landscape
    std::optional<std::string> paperSize;
    std::optional<double> width, height;
    std::optional<std::string> unit;  // "mm" or "inch"

    bool portrait() const { return orientation && *orientation == 1; }
};

// The user's row for the report screen; nullopt when there is none.
std::optional<ReportFormat> ReadReportFormat(db::Database& db, const std::string& user,
                                             const std::string& formName);

// Adds or replaces the user's row for the report screen.
void SaveReportFormat(db::Database& db, const std::string& user, const std::string& formName,
                      const ReportFormat& format);

// A paper of the page format's list and the sizes choosing it puts in the fields.
struct Paper {
    const char* name;  // "A4 (210x297 mm)"
    const char* width;
    const char* height;
    const char* unit;  // "mm" or "inch"
};

inline constexpr const char* kUserDefinedPaper = "User defined paper size";

// The list, "User defined paper size" last (its sizes are as typed).
const std::vector<Paper>& paperList();
const Paper* findPaper(const std::string& name);

// A page's size in points.
struct PageSize {
    double width = 0;
    double height = 0;
};

// The page a format prints on: a named paper by the word before the first blank of its
// name ("A4", "LETTER"); a user-defined size from width, height and unit (inches times 72,
// millimetres times 72 / 25.4, each rounded to whole points); Letter without a paper.
PageSize PageSizeOf(const ReportFormat& format);

// Millimetres in points.
double MillimetresToPoints(double mm);

}  // namespace keltro::reports
