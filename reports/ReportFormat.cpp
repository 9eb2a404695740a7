#include "reports/ReportFormat.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace keltro::reports {

namespace {

constexpr const char* kFormatRow =
    "SELECT * FROM Report_format_table WHERE [user] = ? AND form_name = ?";

// The columns a format writes, in the order `formatValues` gives them.
const std::vector<std::string>& formatColumns() {
    static const std::vector<std::string> columns = {
        "font_name",    "font_size",     "font_color",  "evenrow_color",
        "row_height",   "top_margin",    "bottom_margin", "left_margin",
        "right_margin", "disabled_evenrow_color", "Bold", "use_grid_font",
        "column_divider", "split_page",  "Orientation", "PaperSize",
        "Width",        "Height",        "unit"};
    return columns;
}

db::Params formatValues(const ReportFormat& f) {
    return {f.fontName,     f.fontSize,     f.fontColor,   f.evenRowColor,
            f.rowHeight,    f.topMargin,    f.bottomMargin, f.leftMargin,
            f.rightMargin,  f.disabledEvenRowColor, f.bold, f.useGridFont,
            f.columnDivider, f.splitPage,   f.orientation, f.paperSize,
            f.width,        f.height,       f.unit};
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

struct NamedPage {
    const char* name;
    PageSize size;
};

// The media a PDF names, in points; B5 as the list gives it (182 x 257 mm).
constexpr NamedPage kNamedPages[] = {{"A4", {595, 842}},     {"A5", {420, 595}},
                                     {"LETTER", {612, 792}}, {"LEGAL", {612, 1008}},
                                     {"B5", {516, 729}}};
constexpr PageSize kDefaultPage{612, 792};

}  // namespace

std::optional<ReportFormat> ReadReportFormat(db::Database& db, const std::string& user,
                                             const std::string& formName) {
    const auto row = db.queryOne(kFormatRow, {user, formName});
    if (!row) return std::nullopt;
    const db::Row& r = *row;
    ReportFormat f;
    f.fontName = r["font_name"].text();
    f.fontSize = r["font_size"].numberOr(f.fontSize);
    f.fontColor = static_cast<long>(r["font_color"].integerOr(f.fontColor));
    f.evenRowColor = static_cast<long>(r["evenrow_color"].integerOr(f.evenRowColor));
    f.rowHeight = r["row_height"].numberOr(f.rowHeight);
    f.topMargin = r["top_margin"].numberOr(0);
    f.bottomMargin = r["bottom_margin"].numberOr(0);
    f.leftMargin = r["left_margin"].numberOr(0);
    f.rightMargin = r["right_margin"].numberOr(0);
    f.disabledEvenRowColor = r["disabled_evenrow_color"].booleanOr(false);
    f.bold = r["Bold"].booleanOr(false);
    f.useGridFont = r["use_grid_font"].booleanOr(false);
    f.columnDivider = r["column_divider"].booleanOr(false);
    f.splitPage = static_cast<int>(r["split_page"].integerOr(1));
    if (const auto o = r["Orientation"].integer()) f.orientation = static_cast<int>(*o);
    f.paperSize = r["PaperSize"].text();
    f.width = r["Width"].number();
    f.height = r["Height"].number();
    f.unit = r["unit"].text();
    return f;
}

void SaveReportFormat(db::Database& db, const std::string& user, const std::string& formName,
                      const ReportFormat& format) {
    const auto& columns = formatColumns();
    db::Params params = formatValues(format);
    params.emplace_back(user);
    params.emplace_back(formName);
    db::Transaction tx(db);
    if (db.queryOne(kFormatRow, {user, formName})) {
        std::string sql = "UPDATE Report_format_table SET ";
        for (std::size_t i = 0; i < columns.size(); ++i)
            sql += (i ? ", [" : "[") + columns[i] + "] = ?";
        db.execute(sql + " WHERE [user] = ? AND form_name = ?", params);
    } else {
        std::string names;
        for (const auto& c : columns) names += "[" + c + "], ";
        db.execute("INSERT INTO Report_format_table (" + names + "[user], form_name) VALUES " +
                       db::placeholders(params.size()),
                   params);
    }
    tx.commit();
}

const std::vector<Paper>& paperList() {
    static const std::vector<Paper> papers = {
        {"A4 (210x297 mm)", "210", "297", "mm"},      {"A5 (148x210 mm)", "148", "210", "mm"},
        {"LETTER (8.5x11 in.)", "8.5", "11", "inch"}, {"LEGAL (8.5x14 in.)", "8.5", "14", "inch"},
        {"B5 (182x257 mm)", "182", "257", "mm"},      {kUserDefinedPaper, "", "", ""}};
    return papers;
}

const Paper* findPaper(const std::string& name) {
    for (const auto& paper : paperList())
        if (name == paper.name) return &paper;
    return nullptr;
}

double MillimetresToPoints(double mm) { return mm * 72.0 / 25.4; }

PageSize PageSizeOf(const ReportFormat& format) {
    if (!format.paperSize) return kDefaultPage;
    if (*format.paperSize == kUserDefinedPaper) {
        if (!format.width || !format.height || !format.unit) return kDefaultPage;
        const bool inches = *format.unit == "inch";
        const auto points = [&](double v) { return std::round(inches ? v * 72.0 : MillimetresToPoints(v)); };
        return {points(*format.width), points(*format.height)};
    }
    const std::string name = upper(format.paperSize->substr(0, format.paperSize->find(' ')));
    for (const auto& page : kNamedPages)
        if (name == page.name) return page.size;
    return kDefaultPage;
}

}  // namespace keltro::reports
