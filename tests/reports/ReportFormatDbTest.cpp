// The page format dialog and the print run of the report screens: the save rule and its
// messages, what a user without a format sees and prints, the paper list, the print-column
// pane, and the files and request a preview gives the host.
#include <filesystem>

#include "reports/ARreport_aging.h"
#include "reports/ReportFixture.h"
#include "reports/ReportPrint.h"

namespace keltro::test {
namespace {

using ::testing::ElementsAre;

// Records what would be painted instead of painting it.
struct RecordingWriter {
    struct Call {
        std::string path;
        bool turned;
        std::vector<std::string> captions;
        std::size_t rows;
    };
    std::vector<Call> calls;
    bool succeed = true;

    RecordingWriter() {
        reports::InstallReportPdfWriter([this](const reports::PrintedReport& r, const std::string& path, bool turned,
                                               const std::function<void(long, long)>&) {
            std::vector<std::string> captions;
            for (const auto& c : r.columns) captions.push_back(c.caption);
            calls.push_back({path, turned, captions, r.rows.size()});
            return succeed;
        });
    }
    ~RecordingWriter() { reports::InstallReportPdfWriter({}); }
};

class ReportFormatScreen : public ReportFixture {
protected:
    reports::Form_report_format& pageSetup(framework::Screen& report) {
        report.run("Page Set&up");
        return *dynamic_cast<reports::ReportScreen&>(report).pageSetup();
    }
    std::int64_t formats(const std::string& user) {
        return count("SELECT COUNT(*) FROM Report_format_table WHERE [user] = ?", {user});
    }
};

TEST_F(ReportFormatScreen, RowHeightMustExceedTheFontSize) {
    arclass.KELTRO_USER = "clerk";
    auto& dialog = pageSetup(open("ARreport_aging"));
    // A user without a row sees the initial values.
    EXPECT_EQ(dialog.field("cmbitfont_print").value, "Arial");
    EXPECT_EQ(dialog.field("cmbrow_hi").value, "20");
    struct Case {
        std::string fontSize, rowHeight, said;
        std::int64_t rows;
    };
    const std::vector<Case> cases = {
        {"12", "12", "row height must > font size", 0},
        {"24", "20", "row height must > font size", 0},
        {"12", "14", "Save format complete", 1},
        {"", "", "Save format complete", 1},  // 10 and 20
    };
    for (const auto& c : cases) {
        dialog.enter("cmbfont_size_print", c.fontSize);
        dialog.enter("cmbrow_hi", c.rowHeight);
        dialog.run("&Save");
        EXPECT_EQ(lastSaid(), c.said) << c.fontSize << " / " << c.rowHeight;
        EXPECT_EQ(formats("clerk"), c.rows);
    }
    EXPECT_EQ(number("SELECT row_height FROM Report_format_table WHERE [user] = 'clerk'"), 20);
    EXPECT_EQ(number("SELECT font_size FROM Report_format_table WHERE [user] = 'clerk'"), 10);
}

TEST_F(ReportFormatScreen, SavedFormatComesBackAsStored) {
    arclass.KELTRO_USER = "clerk";
    auto& dialog = pageSetup(open("ARreport_inquiry"));
    dialog.enter("cmbpaper", "B5 (182x257 mm)");
    EXPECT_EQ(dialog.field("txtwidth").value + " " + dialog.field("txtheight").value + " " +
                  dialog.field("cmbunit").value,
              "182 257 mm");
    dialog.enter("cmborient", "Landscape");
    dialog.enter("cmbfont_color", "000080");
    dialog.enter("cmbback_color", "e6e6fa");
    dialog.enter("chkcoldivider", "1");
    dialog.enter("txtleft", "15.5");
    dialog.run("&Save");
    EXPECT_EQ(number("SELECT font_color FROM Report_format_table WHERE [user] = 'clerk'"), 0x800000);
    EXPECT_EQ(number("SELECT evenrow_color FROM Report_format_table WHERE [user] = 'clerk'"), 0xFAE6E6);
    EXPECT_EQ(number("SELECT Orientation FROM Report_format_table WHERE [user] = 'clerk'"), 2);

    auto& again = pageSetup(open("ARreport_inquiry"));
    for (const auto& [control, shown] : std::vector<std::pair<std::string, std::string>>{
             {"cmbpaper", "B5 (182x257 mm)"}, {"cmborient", "Landscape"}, {"cmbfont_color", "000080"},
             {"cmbback_color", "e6e6fa"}, {"chkcoldivider", "1"}, {"txtleft", "15.5"}, {"cmbunit", "mm"}})
        EXPECT_EQ(again.field(control).value, shown) << control;

    // Stored without orientation or paper: landscape on Letter.
    db().execute("UPDATE Report_format_table SET Orientation = NULL, PaperSize = NULL WHERE [user] = 'clerk'");
    auto& bare = pageSetup(open("ARreport_inquiry"));
    EXPECT_EQ(bare.field("cmborient").value, "Landscape");
    EXPECT_EQ(bare.field("cmbpaper").value + " " + bare.field("txtwidth").value + " " + bare.field("cmbunit").value,
              "Letter (8.5x11 in.) 8.5 inch");
}

TEST_F(ReportFormatScreen, PreviewWritesUnderTheInstallationFolderAndAsksTheHost) {
    RecordingWriter writer;
    const auto folder = std::filesystem::temp_directory_path() / ("keltro_reports_" + std::to_string(getpid()));
    arclass.KELTRO_PATH = folder.string();
    addItem({.customer = "1002", .docno = "INV1", .payItem = "1", .open = 200, .daysOverdue = 45});
    // A portrait report first: one file.
    db().execute("UPDATE Report_format_table SET Orientation = 1 WHERE form_name = 'ARreport_aging'");

    auto& aging = open("ARreport_aging");
    aging.run("&Find");
    aging.run("&Preview");
    ASSERT_EQ(writer.calls.size(), 1u);
    const std::string expectedStart = (folder / "User report" / "customer_invoice_aging").string();
    EXPECT_EQ(writer.calls[0].path.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(writer.calls[0].path.size(), expectedStart.size() + 10) << "hhmmss.pdf";
    // The customer's total closes the grid with its first two cells empty: not printed.
    EXPECT_EQ(writer.calls[0].rows, 1u);
    EXPECT_TRUE(std::filesystem::is_directory(folder / "User report"));
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].formx, "pdf viewer");
    EXPECT_EQ(notifications[0].docnox, writer.calls[0].path);
    EXPECT_EQ(notifications[0].arg2, "Preview Customer Invoice Aging");

    // Unticking a column in the print-column pane leaves it out of the next print.
    aging.run("Print &Column");
    EXPECT_TRUE(aging.isWindowOpen("Print Column"));
    const auto& list = aging.grid("grid_sel").rows;
    ASSERT_EQ(list.size(), 11u);
    EXPECT_EQ(list[0].at("caption") + "=" + list[0].at("Print"), "customer=1");
    aging.enterCell("grid_sel", 0, "Print", "0");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Grid_property WHERE form_name = 'ARreport_aging' AND [Print] = TRUE"), 10);
    aging.run("&Preview");
    EXPECT_EQ(writer.calls.back().captions.front(), "invoice no");

    // A landscape report: the file and its turned copy, and the landscape viewer.
    auto& history = open("ARreport_invoice_receipt_history");
    history.run("&Preview");
    ASSERT_EQ(writer.calls.size(), 4u);
    EXPECT_FALSE(writer.calls[2].turned);
    EXPECT_TRUE(writer.calls[3].turned);
    EXPECT_EQ(writer.calls[3].path, writer.calls[2].path.substr(0, writer.calls[2].path.size() - 4) + "_L.pdf");
    EXPECT_EQ(notifications.back().formx, "pdf viewer landscape");
    EXPECT_EQ(notifications.back().docnox, writer.calls[2].path);
    std::filesystem::remove_all(folder);
}

TEST_F(ReportFormatScreen, NothingPrintsWithoutAFormatOrWhenTheFileFails) {
    RecordingWriter writer;
    arclass.KELTRO_PATH = std::filesystem::temp_directory_path().string();
    arclass.KELTRO_USER = "clerk";
    open("ARreport_aging").run("&Preview");
    EXPECT_TRUE(writer.calls.empty());

    arclass.KELTRO_USER = "admin";
    writer.succeed = false;
    open("ARreport_aging").run("&Preview");
    EXPECT_EQ(writer.calls.size(), 1u);
    EXPECT_TRUE(notifications.empty());
    EXPECT_EQ(ui.lastProgress(), (std::pair<long, long>{0, 0})) << "the progress bar is reset";
}

}  // namespace
}  // namespace keltro::test
