#include "print/TablePrintout.h"

#include <variant>

#include "print/ReportPdf.h"
#include "services/DateFormat.h"

namespace keltro::print {

namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

bool isAmount(const db::Value& value) { return std::holds_alternative<double>(value.storage()); }

std::string cellText(const db::Value& value) {
    if (isAmount(value)) return services::FormatAmount(value.numberOr());
    return value.textOr();
}

reports::ReportFormat landscapeA4() {
    reports::ReportFormat format;
    format.orientation = 2;
    format.paperSize = "A4 (210x297 mm)";
    format.topMargin = format.bottomMargin = format.leftMargin = format.rightMargin = 10;
    format.fontSize = 9;
    format.rowHeight = 16;
    return format;
}

}  // namespace

TablePrintout tablePrintoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                    const std::string& companyName, const std::string& printedOn) {
    TablePrintout printout;
    static_cast<PrintoutHeading&>(printout) = headingOf(rows, title, companyName);
    framework::Grid grid;
    if (!rows.empty()) {
        const auto& names = rows.front().columnNames();
        for (std::size_t c = 0; c < names.size(); ++c)
            grid.columns.push_back({.caption = names[c],
                                    .alignment = isAmount(rows.front().at(c)) ? kRight : kLeft});
    }
    std::vector<std::string> captions;
    for (const auto& column : grid.columns) captions.push_back(column.caption);
    for (const auto& row : rows) {
        framework::GridRow cells;
        for (std::size_t c = 0; c < row.size(); ++c) cells[captions[c]] = cellText(row.at(c));
        grid.rows.push_back(std::move(cells));
    }
    printout.report = reports::LayOutReport(
        landscapeA4(), grid, captions,
        {companyName, printout.title + " " + printout.number, printedOn});
    return printout;
}

bool renderPdf(const TablePrintout& printout, const QString& pdfPath) {
    return WriteReportPdf(printout.report, pdfPath);
}

}  // namespace keltro::print
