#include "print/ReportRows.h"

#include <iterator>
#include <utility>

#include "framework/FieldText.h"

namespace keltro::print {

using framework::trimmedText;

ReportTitle parseReportTitle(const std::string& argument) {
    ReportTitle parts;
    std::string* fields[] = {&parts.title, &parts.number, &parts.flag};
    std::size_t start = 0;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        // The flag takes whatever follows the second comma.
        const auto comma = i + 1 < std::size(fields) ? argument.find(',', start) : std::string::npos;
        *fields[i] = trimmedText(argument.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

std::string columnText(const db::Row& row, const char* column) {
    return row.has(column) ? row[column].textOr() : std::string();
}

double columnNumber(const db::Row& row, const char* column) {
    return row.has(column) ? row[column].numberOr() : 0.0;
}

PrintoutHeading headingOf(const db::Rows& rows, const ReportTitle& title, const std::string& companyName) {
    PrintoutHeading heading{companyName, title.title, title.number, {}, {}};
    if (rows.empty()) return heading;
    const db::Row& row = rows.front();
    if (std::string docno = trimmedText(columnText(row, "docno")); !docno.empty()) heading.number = std::move(docno);
    heading.customerNo = columnText(row, "customer_no");
    heading.customerName = columnText(row, "customer_name");
    return heading;
}

}  // namespace keltro::print
