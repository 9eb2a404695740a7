// What the host receives with an "ActiveReport" request, read for a printout: the title
// argument ("A/R Invoice,INV-26-00001,0") and the columns of the query's rows by name,
// without regard to case. A column the query did not select reads blank (or 0), so the
// same rows come out the same way on both engines.
#pragma once

#include <string>

#include "db/Row.h"

namespace keltro::print {

// The title argument of an "ActiveReport" request, split at its commas.
struct ReportTitle {
    std::string title;   // "A/R Invoice"
    std::string number;  // "INV-26-00001"
    std::string flag;    // "0" or "1"
};

ReportTitle parseReportTitle(const std::string& argument);

// The column's text; "" when the row has no such column or it is Null.
std::string columnText(const db::Row& row, const char* column);

// The column's number; 0 when the row has no such column or it is Null.
double columnNumber(const db::Row& row, const char* column);

// What every printout is headed with: whose document it is, what, which, and for whom.
struct PrintoutHeading {
    std::string companyName;
    std::string title;   // "A/R Invoice"
    std::string number;  // "INV-26-00001"
    std::string customerNo;
    std::string customerName;
};

// The heading of the rows: the title's, with the number of the first row's `docno` when it
// carries one, and its `customer_no` and `customer_name`.
PrintoutHeading headingOf(const db::Rows& rows, const ReportTitle& title, const std::string& companyName);

}  // namespace keltro::print
