#include "reports/ReportPrint.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "framework/FieldText.h"

namespace keltro::reports {

namespace {

ReportPdfWriter& installedWriter() {
    static ReportPdfWriter writer;
    return writer;
}

// "14:03:27" as "140327".
std::string compactTime(std::string timeOfDay) {
    timeOfDay.erase(std::remove(timeOfDay.begin(), timeOfDay.end(), ':'), timeOfDay.end());
    return timeOfDay;
}

std::function<void(long, long)> progressOf(services::Ui* ui) {
    if (!ui) return {};
    return [ui](long done, long total) {
        ui->progress(done, total);
        ui->pumpEvents();
    };
}

}  // namespace

void InstallReportPdfWriter(ReportPdfWriter writer) { installedWriter() = std::move(writer); }

const ReportPdfWriter& InstalledReportPdfWriter() { return installedWriter(); }

std::vector<PrintColumn> ReadPrintColumns(db::Database& db, const std::string& layoutForm,
                                          const std::string& gridName) {
    std::vector<PrintColumn> columns;
    for (const auto& row : db.query("SELECT * FROM [Grid_property] WHERE [form_name] = ? "
                                     "AND [grid_name] = ? ORDER BY [col_order]",
                                     {layoutForm, gridName}))
        columns.push_back({row["Caption"].textOr(), row["Print"].booleanOr(false)});
    return columns;
}

void WritePrintFlag(db::Database& db, const std::string& layoutForm, const std::string& gridName,
                    const std::string& caption, bool print) {
    db.execute("UPDATE [Grid_property] SET [Print] = ? WHERE [form_name] = ? AND [grid_name] = ? "
               "AND [Caption] = ?",
               {print, layoutForm, gridName, caption});
}

std::string ReportFolder(const std::string& keltroPath) {
    std::string folder = keltroPath;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder + "/User report/";
}

std::optional<PrintedReport> PrepareReport(const framework::HostContext& context,
                                           const std::string& formName,
                                           const std::string& layoutForm,
                                           const framework::Grid& grid, const std::string& title) {
    db::Database& db = *context.abcdb;
    const auto format = ReadReportFormat(db, context.KELTRO_USER, formName);
    if (!format) return std::nullopt;
    std::vector<std::string> ticked;
    for (const auto& column : ReadPrintColumns(db, layoutForm, grid.name))
        if (column.print) ticked.push_back(column.caption);
    const std::string printedOn =
        context.clock ? framework::dateText(context.clock->today(), context.KELTRO_DATE_FORMAT) : "";
    return LayOutReport(*format, grid, ticked, {context.KELTRO_COMPANY_NAME, title, printedOn});
}

std::optional<PrintedFiles> PrintReport(const framework::HostContext& context,
                                        const std::string& formName, const std::string& layoutForm,
                                        const framework::Grid& grid, const ReportTitles& titles) {
    const auto progress = progressOf(context.ui);
    try {
        const auto report = PrepareReport(context, formName, layoutForm, grid, titles.title);
        const ReportPdfWriter& write = InstalledReportPdfWriter();
        if (!report || !write) return std::nullopt;
        const std::string folder = ReportFolder(context.KELTRO_PATH);
        std::filesystem::create_directories(folder);
        const std::string name = folder + titles.fileBase +
                                 compactTime(context.clock ? context.clock->timeOfDay() : "000000");
        PrintedFiles files{name + ".pdf", std::nullopt};
        if (!write(*report, files.pdf, false, progress)) throw std::runtime_error("not written");
        if (report->landscape) {
            files.turnedPdf = name + "_L.pdf";
            if (!write(*report, *files.turnedPdf, true, progress)) throw std::runtime_error("not written");
        }
        if (progress) progress(0, 0);
        return files;
    } catch (const std::exception&) {
        // A file that cannot be written, a folder that cannot be made: nothing is shown.
        if (progress) progress(0, 0);
        return std::nullopt;
    }
}

}  // namespace keltro::reports
