// Printing rows that are no invoice and no receipt — a miscellaneous receipt, a fast
// receipt batch — as they come: one column a field the query selected, captioned with its
// name, one row a row, on landscape A4 under the company and the title with its number.
//
//     TablePrintout printout = tablePrintoutFromRows(rows, parseReportTitle(title), company, "06/12/2026");
//     renderPdf(printout, path);
//
// Numbers with a fraction show as money ("1,038.80"), right aligned; dates as stored.
#pragma once

#include <QString>
#include <string>

#include "db/Row.h"
#include "print/ReportRows.h"
#include "reports/PrintedReport.h"

namespace keltro::print {

struct TablePrintout : PrintoutHeading {
    reports::PrintedReport report;
};

TablePrintout tablePrintoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                    const std::string& companyName, const std::string& printedOn);

// Writes the printout as a PDF; false when the file cannot be written.
bool renderPdf(const TablePrintout& printout, const QString& pdfPath);

}  // namespace keltro::print
