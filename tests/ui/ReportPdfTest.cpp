// Report PDFs read back with poppler's tools as a reader would see them: page count and
// size, the title on every page, the rows' text, and the turned copy of a landscape report.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <string>

#include "print/ReportPdf.h"
#include "reports/PrintedReport.h"

namespace keltro {
namespace {

std::string output(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

std::string info(const QString& pdf, const std::string& field) {
    const std::string all = output("pdfinfo '" + pdf.toStdString() + "'");
    const auto at = all.find(field + ":");
    if (at == std::string::npos) return {};
    const auto start = all.find_first_not_of(' ', at + field.size() + 1);
    return all.substr(start, all.find('\n', start) - start);
}

std::string pageText(const QString& pdf, int page) {
    const std::string p = std::to_string(page);
    return output("pdftotext -layout -f " + p + " -l " + p + " '" + pdf.toStdString() + "' -");
}

reports::PrintedReport agingReport(const char* paper, int orientation, std::size_t rows) {
    reports::ReportFormat format;
    format.fontName = "DejaVu Sans";
    format.fontSize = 9;
    format.rowHeight = 16;
    format.topMargin = format.bottomMargin = format.leftMargin = format.rightMargin = 10;
    format.columnDivider = true;
    format.orientation = orientation;
    format.paperSize = paper;
    framework::Grid grid{.name = "dbgrid1"};
    grid.columns = {{.caption = "invoice no", .width = 1300}, {.caption = "open amount", .width = 1400, .alignment = 1}};
    for (std::size_t r = 0; r < rows; ++r)
        grid.rows.push_back({{"invoice no", "INV-" + std::to_string(1000 + r)}, {"open amount", "1,234.50"}});
    return reports::LayOutReport(format, grid, {"invoice no", "open amount"},
                                 {"Bluefield Office Supplies Inc.", "CUSTOMER INVOICES AGING", "06/12/2026"});
}

TEST(ReportPdf, PagesSizesAndTextReadBack) {
    QTemporaryDir dir;
    struct Case {
        const char* paper;
        int orientation;
        const char* size;
        const char* turnedSize;
    };
    const std::vector<Case> cases = {
        {"A4 (210x297 mm)", 1, "595 x 842 pts", nullptr},
        {"LETTER (8.5x11 in.)", 1, "612 x 792 pts", nullptr},
        {"LETTER (8.5x11 in.)", 2, "792 x 612 pts", "612 x 792 pts"},
    };
    for (const auto& c : cases) {
        const auto report = agingReport(c.paper, c.orientation, 120);
        ASSERT_GT(report.pageCount(), 2u);
        const QString pdf = dir.filePath(QString("report%1.pdf").arg(&c - cases.data()));
        ASSERT_TRUE(print::WriteReportPdf(report, pdf));
        EXPECT_EQ(info(pdf, "Pages"), std::to_string(report.pageCount())) << c.paper;
        EXPECT_EQ(info(pdf, "Page size").substr(0, 13), c.size) << c.paper;

        // Every page repeats the title block and the headings; the rows run on.
        for (int page = 1; page <= 2; ++page) {
            const std::string text = pageText(pdf, page);
            EXPECT_NE(text.find("CUSTOMER INVOICES AGING"), std::string::npos) << page;
            EXPECT_NE(text.find("Bluefield Office Supplies Inc."), std::string::npos) << page;
            EXPECT_NE(text.find("print : 06/12/2026"), std::string::npos) << page;
            EXPECT_NE(text.find("open amount"), std::string::npos) << page;
        }
        EXPECT_NE(pageText(pdf, 1).find("INV-1000"), std::string::npos);
        const std::string firstOfPage2 = "INV-" + std::to_string(1000 + report.rowsPerPage);
        EXPECT_EQ(pageText(pdf, 1).find(firstOfPage2), std::string::npos);
        EXPECT_NE(pageText(pdf, 2).find(firstOfPage2), std::string::npos);

        if (!c.turnedSize) continue;
        const QString turned = dir.filePath("turned.pdf");
        ASSERT_TRUE(print::WriteReportPdf(report, turned, true));
        EXPECT_EQ(info(turned, "Page size").substr(0, 13), c.turnedSize);
        EXPECT_EQ(info(turned, "Pages"), std::to_string(report.pageCount()));
    }
}

TEST(ReportPdf, AFileThatCannotBeWrittenIsRefused) {
    EXPECT_FALSE(print::WriteReportPdf(agingReport("A4 (210x297 mm)", 1, 3), "/nonexistent-folder/report.pdf"));
}

}  // namespace
}  // namespace keltro
