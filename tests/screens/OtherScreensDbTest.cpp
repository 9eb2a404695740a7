// The prepayment, matching, revaluation and report screens as the host opens them on the
// demo company: their grids agree with the stored layouts, every menu and toolbar caption
// reaches its own command, closing keeps the layouts, and the host's entry methods leave
// the screen where they promise.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "db/Database.h"
#include "framework/Screen.h"
#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using ::testing::Contains;


struct OtherScreen {
    const char* show;
    const char* className;
    const char* exit;
};

constexpr OtherScreen kScreens[] = {
    {"showform_ARform_prepayment", "ARform_prepayment", "frm_prepayment_Exit"},
    {"showform_ARform_matching", "ARform_matching", "frm_matching_Exit"},
    {"showform_ARform_revalue", "ARform_revalue", "frm_revalue_Exit"},
    {"showform_ARreport_aging", "ARreport_aging", "frm_aging_Exit"},
    {"showform_ARreport_inquiry", "ARreport_inquiry", "frm_inquiry_Exit"},
    {"showform_ARreport_invoice_receipt_history", "ARreport_invoice_receipt_history",
     "frm_invoice_receipt_history_Exit"},
    {"showform_ARreport_receipt_check_history", "ARreport_receipt_check_history",
     "frm_receipt_check_history_Exit"},
    {"showform_ARreport_recur_inquiry", "ARreport_recur_inquiry", "frm_recur_inquiry_Exit"},
};

std::vector<std::string> shownCaptions(const framework::Grid& grid) {
    std::vector<std::string> captions;
    for (const auto& column : grid.columns) captions.push_back(column.caption);
    return captions;
}

class OtherScreensTest : public ::testing::Test {
protected:
    OtherScreensTest() { arclass.KELTRO_PATH = "C:\\Keltro\\"; }

    framework::Screen& call(const std::string& method, const std::string& className,
                            const std::vector<std::string>& args = {}) {
        return desk.call(method, className, args);
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    host::ARclass& arclass = desk.arclass;
    services::RecordingUi& ui = desk.ui;
    std::vector<framework::Notification>& notifications = desk.notifications;
};

TEST_F(OtherScreensTest, gridsShowTheColumnsTheScreenWorksWith) {
    for (const auto& s : kScreens) {
        const auto& screen = call(s.show, s.className);
        ASSERT_FALSE(screen.grids().empty()) << s.className;
        for (const auto& grid : screen.grids()) {
            const std::string where = std::string(s.className) + "." + grid.name;
            EXPECT_EQ(shownCaptions(grid), grid.declaredCaptions) << where;
            for (const auto& [caption, spec] : grid.lookupColumns)
                EXPECT_THAT(grid.declaredCaptions, Contains(caption)) << where;
        }
    }
}

TEST_F(OtherScreensTest, everyCaptionReachesItsOwnCommandAndRuns) {
    for (const auto& s : kScreens) {
        auto& screen = call(s.show, s.className);
        std::vector<std::string> captions;
        for (const auto& c : screen.commands()) {
            EXPECT_EQ(&screen.command(c.caption), &c) << s.className << ": " << c.caption;
            if (!c.toolbar.empty()) {
                EXPECT_EQ(&screen.command(c.toolbar), &c) << s.className << ": " << c.toolbar;
            }
            if (c.caption != "&Exit") captions.push_back(c.caption);
        }
        for (const auto& caption : captions)
            EXPECT_NO_THROW(screen.run(caption)) << s.className << ": " << caption;
        EXPECT_FALSE(screen.isClosed()) << s.className;
    }
}

TEST_F(OtherScreensTest, exitClosesKeepsTheLayoutAndTheHostsSecondExitIsHarmless) {
    for (const auto& s : kScreens) {
        auto& screen = call(s.show, s.className);
        std::vector<std::vector<std::string>> before;
        for (const auto& grid : screen.grids()) before.push_back(shownCaptions(grid));

        screen.run("&Exit");
        EXPECT_TRUE(screen.isClosed()) << s.className;
        EXPECT_NO_THROW(arclass.call(s.exit, {})) << s.exit;

        std::vector<std::vector<std::string>> after;
        for (const auto& grid : call(s.show, s.className).grids())
            after.push_back(shownCaptions(grid));
        EXPECT_EQ(after, before) << s.className;
    }
}

TEST_F(OtherScreensTest, helpOpensItsFileInThePdfViewer) {
    struct Case {
        const char* show;
        const char* className;
        const char* caption;
    };
    const Case cases[] = {
        {"showform_ARform_prepayment", "ARform_prepayment", "AR Prepayment Help"},
        {"showform_ARform_matching", "ARform_matching", "AR Matching Help"},
        {"showform_ARform_revalue", "ARform_revalue", "AR Revalue Help"},
        {"showform_ARform_revalue", "ARform_revalue", "Account Receivable Help"},
    };
    for (const auto& c : cases) {
        notifications.clear();
        call(c.show, c.className).run(c.caption);
        ASSERT_EQ(notifications.size(), 1u) << c.caption;
        EXPECT_EQ(notifications[0].formx, "pdf viewer");
        EXPECT_EQ(notifications[0].docnox, std::string("C:/Keltro/Help/") + c.caption + ".pdf");
        EXPECT_EQ(notifications[0].arg2, c.caption);
    }
}

TEST_F(OtherScreensTest, goToMethodsPutTheirValueWhereTheScreenLooksForIt) {
    struct Case {
        const char* show;
        const char* className;
        const char* method;
        const char* control;
    };
    const Case cases[] = {
        {"showform_ARform_prepayment", "ARform_prepayment", "ARform_prepayment_goto_fkey",
         "txtfkey"},
        {"showform_ARform_prepayment", "ARform_prepayment", "ARform_prepayment_goto_docno",
         "txtdocno"},
        {"showform_ARform_matching", "ARform_matching", "ARform_matching_goto_docno", "txtdocno"},
        {"showform_ARform_revalue", "ARform_revalue", "ARform_revalue_goto_docno", "txtdocno"},
    };
    for (const auto& c : cases) {
        auto& screen = call(c.show, c.className);
        call(c.method, c.className, {"X-0042"});
        EXPECT_EQ(screen.field(c.control).value, "X-0042") << c.method;
    }
    auto& history = call("showform_ARreport_invoice_receipt_history",
                         "ARreport_invoice_receipt_history", {"INV-26-00001"});
    EXPECT_EQ(history.field("txtdocno").value, "INV-26-00001");
}

TEST_F(OtherScreensTest, aNewRevaluationStaysOnScreenWhenTheHostAsksForAnother) {
    auto& screen = call("showform_ARform_revalue", "ARform_revalue");
    screen.enter("txtdesc", "year-end run");
    screen.run("&New");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    EXPECT_EQ(screen.field("txtdesc").value, "");

    arclass.ARform_revalue_goto_docno("ARRE-26-00001");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
}

}  // namespace
}  // namespace keltro
