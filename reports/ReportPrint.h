// Printing a report screen's grid to a PDF file for the host to show.
//
// The same run serves every report screen; only its titles differ:
//
//     ReportTitles titles{"CUSTOMER INVOICES AGING", "customer_invoice_aging",
//                         "Preview Customer Invoice Aging"};
//     if (auto files = PrintReport(context(), className(), layoutForm, grid, titles))
//         raiseNotification(files->viewerRequest(), files->pdf, titles.previewTitle);
//
// The user's page format for the screen decides the page (without one nothing prints);
// the "Print" ticks of the grid's stored layout decide the columns. The file goes under
// the installation folder, "<KELTRO_PATH>/User report/<base><hhmmss>.pdf", and a landscape
// report also gets "<base><hhmmss>_L.pdf", the same pages turned a quarter onto portrait
// paper. Painting the file is the printing library's: it installs its writer once at
// start-up (`InstallReportPdfWriter`); without one nothing is written.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/HostContext.h"
#include "framework/ScreenParts.h"
#include "reports/PrintedReport.h"

namespace keltro::reports {

struct ReportTitles {
    std::string title;         // the title block's line
    std::string fileBase;      // the file name's start
    std::string previewTitle;  // what the host's viewer is asked to show
};

// Paints the report into a PDF file at `path`; `turned` puts each page a quarter turned on
// portrait paper. `progress(done, total)` follows the rows. False when the file cannot be
// written.
using ReportPdfWriter = std::function<bool(const PrintedReport& report, const std::string& path,
                                           bool turned, const std::function<void(long, long)>& progress)>;

void InstallReportPdfWriter(ReportPdfWriter writer);
const ReportPdfWriter& InstalledReportPdfWriter();

// The print-column list: each column of the stored layout with its "Print" tick, in order.
struct PrintColumn {
    std::string caption;
    bool print = false;
};
std::vector<PrintColumn> ReadPrintColumns(db::Database& db, const std::string& layoutForm,
                                          const std::string& gridName);
void WritePrintFlag(db::Database& db, const std::string& layoutForm, const std::string& gridName,
                    const std::string& caption, bool print);

// "<KELTRO_PATH>/User report/", with "/" for any "\" of the host's path.
std::string ReportFolder(const std::string& keltroPath);

// The report laid out in the user's format for `formName`; nullopt when the user has none.
std::optional<PrintedReport> PrepareReport(const framework::HostContext& context,
                                           const std::string& formName,
                                           const std::string& layoutForm,
                                           const framework::Grid& grid, const std::string& title);

struct PrintedFiles {
    std::string pdf;
    std::optional<std::string> turnedPdf;  // landscape only

    // "pdf viewer", or "pdf viewer landscape".
    std::string viewerRequest() const { return turnedPdf ? "pdf viewer landscape" : "pdf viewer"; }
};

// The whole run; nullopt when nothing was printed (no format, no writer, a file that could
// not be written: the progress bar is reset and the host is not asked).
std::optional<PrintedFiles> PrintReport(const framework::HostContext& context,
                                        const std::string& formName, const std::string& layoutForm,
                                        const framework::Grid& grid, const ReportTitles& titles);

}  // namespace keltro::reports
