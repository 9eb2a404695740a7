// A report grid made ready for paper (reports/PrintedReport.h) painted into a PDF file
// with QPdfWriter, one device unit to the point.
//
// Each page shows the title block (the company centred; the title centred and "print : "
// with the day on the right), the column headings between two rules, then its rows, every
// second one shaded when the format asks for it, with lines between the columns when it
// asks for those. A landscape report's pages are wider than high; the turned copy puts
// the same pages a quarter turn onto portrait paper.
#pragma once

#include <QString>
#include <functional>

#include "reports/PrintedReport.h"

namespace keltro::print {

// False when the file cannot be written.
bool WriteReportPdf(const reports::PrintedReport& report, const QString& path, bool turned = false,
                    const std::function<void(long, long)>& progress = {});

// Makes the report screens print through WriteReportPdf (once, at start-up; needs a
// QGuiApplication while printing).
void InstallReportPdfOutput();

}  // namespace keltro::print
