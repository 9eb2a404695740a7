// Every screen as the host opens it on the demo company: its grids agree with the stored
// layouts, its menus answer to the captions people and scripts use, closing keeps the
// layouts, and the host's entry methods leave the screen where they promise.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "host/ARclass.h"
#include "receipts/ARform_receipt.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using framework::Mode;
using ::testing::Contains;

struct ScreenKind {
    const char* show;
    const char* className;
    const char* exit = nullptr;  // the host's exit method, for the screens without entry
    // The menu and toolbar captions people and scripts use, "&Exit" left out.
    std::vector<std::string> captions = {};
};

const std::vector<std::string> kReceiptMenus = {
    "&Save", "&Preview", "&New", "&Edit mode", "&Void", "&Void Receipt", "&Next record",
    "&Previous record", "&Last record", "&Refresh record", "&Show Text below Icon",
    "Account Receivable Help"};

std::vector<std::string> plus(std::vector<std::string> captions,
                              const std::vector<std::string>& more) {
    captions.insert(captions.end(), more.begin(), more.end());
    return captions;
}

const std::vector<ScreenKind>& allScreens() {
    static const std::vector<ScreenKind> screens = {
        {"showform_ARform_invoice", "ARform_invoice", nullptr,
         {"&Save", "Save", "&Preview", "&New", "&Edit mode", "Edit mode", "&Insert Line",
          "&Delete Line", "&Bill-To/Ship-To Address", "Address", "View &Invoice",
          "View Invoice from &Sales", "View &Credit Note", "View &Debit Note", "View &Recurring",
          "&View All", "&Open Invoice Only", "Tax &Details", "Tax &Summary", "&Void Invoice",
          "&Recurring Configuration", "&Receipt this invoice", "Receipt &History (this invoice)",
          "&Next record", "Next", "&Previous record", "Previous", "&Last record",
          "&Refresh record", "Refresh", "&G/L Record", "Origin Document", "Origin",
          "&Show Text below Icon", "A/R Invoice Entry Help", "Account Receivable Help",
          "cmdprepay"}},
        {"showform_ARform_receipt", "ARform_receipt", nullptr,
         plus(kReceiptMenus, {"Save", "Preview", "New", "Edit mode", "Next", "Previous",
                              "Last record", "Refresh", "&G/L Record", "G/L", "&A/R Record",
                              "A/R", "A/R Receipt Entry Help"})},
        {"showform_ARform_fastreceipt", "ARform_fast_receipt", nullptr,
         plus(kReceiptMenus, {"&Insert Line", "&Delete Line", "&Generate actual receipt",
                              "&Actual receipt", "Fast Receipt Entry Help"})},
        {"showform_ARform_misc", "ARform_misc_receipt", nullptr,
         plus(kReceiptMenus, {"&G/L Record", "Miscellaneous Receipt Help"})},
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
    return screens;
}

std::vector<std::string> shownCaptions(const framework::Grid& grid) {
    std::vector<std::string> captions;
    for (const auto& column : grid.columns) captions.push_back(column.caption);
    return captions;
}

class ScreensTest : public ::testing::Test {
protected:
    framework::Screen& call(const std::string& method, const std::string& className,
                            const std::vector<std::string>& args = {}) {
        return desk.call(method, className, args);
    }
    framework::Screen& open(const std::string& className) {
        for (const auto& s : allScreens())
            if (className == s.className) return call(s.show, className);
        throw std::invalid_argument(className + " is not a screen");
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    host::ARclass& arclass = desk.arclass;
    std::vector<framework::Notification>& notifications = desk.notifications;
};

TEST_F(ScreensTest, gridsShowTheColumnsTheScreenWorksWith) {
    for (const auto& s : allScreens()) {
        const auto& screen = call(s.show, s.className);
        ASSERT_FALSE(screen.grids().empty()) << s.className;
        for (const auto& grid : screen.grids()) {
            SCOPED_TRACE(std::string(s.className) + "." + grid.name);
            EXPECT_EQ(shownCaptions(grid), grid.declaredCaptions);
            for (const auto& [caption, spec] : grid.lookupColumns)
                EXPECT_THAT(grid.declaredCaptions, Contains(caption));
        }
    }
}

TEST_F(ScreensTest, everyCaptionReachesItsOwnCommandAndRuns) {
    for (const auto& s : allScreens()) {
        SCOPED_TRACE(s.className);
        auto& screen = call(s.show, s.className);
        std::vector<std::string> captions = s.captions;
        for (const auto& c : screen.commands()) {
            EXPECT_EQ(&screen.command(c.caption), &c) << c.caption;
            if (!c.toolbar.empty()) {
                EXPECT_EQ(&screen.command(c.toolbar), &c) << c.toolbar;
            }
            if (s.exit && c.caption != "&Exit") captions.push_back(c.caption);
        }
        for (const auto& caption : captions) EXPECT_NO_THROW(screen.run(caption)) << caption;
        EXPECT_FALSE(screen.isClosed());
        EXPECT_THROW(screen.run("&Receipt This Invoice"), framework::ScreenError);
        screen.run("&Exit");
        EXPECT_TRUE(screen.isClosed());
    }
}

TEST_F(ScreensTest, exitKeepsTheLayoutAndTheHostsSecondExitIsHarmless) {
    for (const auto& s : allScreens()) {
        if (!s.exit) continue;
        std::vector<std::vector<std::string>> before, after;
        auto& screen = call(s.show, s.className);
        for (const auto& grid : screen.grids()) before.push_back(shownCaptions(grid));
        screen.run("&Exit");
        EXPECT_TRUE(screen.isClosed()) << s.className;
        EXPECT_NO_THROW(arclass.call(s.exit, {})) << s.exit;
        for (const auto& grid : call(s.show, s.className).grids())
            after.push_back(shownCaptions(grid));
        EXPECT_EQ(after, before) << s.className;
    }
}

TEST_F(ScreensTest, helpOpensItsFileInThePdfViewer) {
    // Screen, its help caption, its file; KELTRO_PATH without, then with its closing backslash.
    const char* const cases[][3] = {
        {"ARform_invoice", "A/R Invoice Entry Help", "AR Invoice Entry Help"},
        {"ARform_receipt", "A/R Receipt Entry Help", "AR Receipt Entry Help"},
        {"ARform_fast_receipt", "Fast Receipt Entry Help", "Fast Receipt Entry Help"},
        {"ARform_misc_receipt", "Miscellaneous Receipt Help", "Miscellaneous Receipt Help"},
        {"ARform_prepayment", "AR Prepayment Help", "AR Prepayment Help"},
        {"ARform_matching", "AR Matching Help", "AR Matching Help"},
        {"ARform_revalue", "AR Revalue Help", "AR Revalue Help"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [className, caption, file] = cases[i];
        arclass.KELTRO_PATH = i < 4 ? "C:\\Keltro" : "C:\\Keltro\\";
        auto& screen = open(className);
        for (const std::string name : {file, "Account Receivable Help"}) {
            SCOPED_TRACE(std::string(className) + ": " + name);
            notifications.clear();
            screen.run(name == file ? caption : name.c_str());
            ASSERT_EQ(notifications.size(), 1u);
            EXPECT_EQ(notifications[0].formx, "pdf viewer");
            EXPECT_EQ(notifications[0].docnox, "C:/Keltro/Help/" + name + ".pdf");
            EXPECT_EQ(notifications[0].arg2, name);
        }
    }
}

TEST_F(ScreensTest, theInvoiceOpensOnTheKindTheHostAsksFor) {
    struct Case {
        std::vector<std::string> args;
        const char* kind;
        const char* doctype;
        const char* docno;
        Mode mode;
    };
    const Case cases[] = {
        {{}, "Invoice", "ar", "", Mode::Browse},
        {{"cn"}, "Credit Note", "cn", "** New **", Mode::New},
        {{"dn"}, "Debit Note", "dn", "** New **", Mode::New},
        {{"invoice"}, "Invoice", "ar", "", Mode::Browse},
    };
    for (const auto& c : cases) {
        auto& screen = call("showform_ARform_invoice", "ARform_invoice", c.args);
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        EXPECT_EQ(screen.field("cmbdoctype").value, c.kind);
        EXPECT_EQ(screen.field("txtdoctype").value, c.doctype);
        EXPECT_EQ(screen.field("txtdocno").value, c.docno);
        EXPECT_EQ(screen.mode(), c.mode);
    }
}

TEST_F(ScreensTest, switchingToTheKindOnScreenLeavesTheDocumentAlone) {
    auto& screen = open("ARform_invoice");
    arclass.switch_ARform_invoice("dn");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Debit Note");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    EXPECT_EQ(screen.mode(), Mode::New);

    screen.enter("txtremark", "typed before the second switch");
    screen.enter("txtdocno", "DN-0001");
    arclass.switch_ARform_invoice("dn");
    EXPECT_EQ(screen.field("txtremark").value, "typed before the second switch");
    EXPECT_EQ(screen.field("txtdocno").value, "DN-0001");

    arclass.switch_ARform_invoice("anything");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Invoice");
    EXPECT_EQ(screen.field("txtdoctype").value, "ar");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
}

TEST_F(ScreensTest, goToMethodsPutTheirValueWhereTheScreenLooksForIt) {
    struct Case {
        const char* className;
        const char* method;
        const char* control;
    };
    const Case cases[] = {
        {"ARform_invoice", "ARform_invoice_goto_fkey", "txtfkey"},
        {"ARform_invoice", "ARform_invoice_goto_docno", "txtdocno"},
        {"ARform_invoice", "ARform_invoice_recurring_goto_docno", "txtdocno"},
        {"ARform_receipt", "ARform_receipt_goto_docno", "txtdocno"},
        {"ARform_fast_receipt", "ARform_fastreceipt_goto_docno", "txtdocno"},
        {"ARform_misc_receipt", "ARform_misc_goto_docno", "txtdocno"},
        {"ARform_prepayment", "ARform_prepayment_goto_fkey", "txtfkey"},
        {"ARform_prepayment", "ARform_prepayment_goto_docno", "txtdocno"},
        {"ARform_matching", "ARform_matching_goto_docno", "txtdocno"},
        {"ARform_revalue", "ARform_revalue_goto_docno", "txtdocno"},
    };
    for (const auto& c : cases) {
        auto& screen = open(c.className);
        call(c.method, c.className, {"X-0042"});
        EXPECT_EQ(screen.field(c.control).value, "X-0042") << c.method;
    }
    EXPECT_EQ(arclass.referencedScreen("ARform_invoice")->field("chkrecur").value, "1");
    auto& history = call("showform_ARreport_invoice_receipt_history",
                         "ARreport_invoice_receipt_history", {"INV-26-00001"});
    EXPECT_EQ(history.field("txtdocno").value, "INV-26-00001");
}

TEST_F(ScreensTest, receiptThisInvoiceStartsANewReceiptForTheCustomer) {
    auto& screen = open("ARform_receipt");
    arclass.ARform_receipt_this_invoice("INV-0007", "1001");
    EXPECT_EQ(screen.field("cmbcustno").value, "1001");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    EXPECT_EQ(screen.mode(), Mode::New);
    EXPECT_EQ(dynamic_cast<receipts::ARform_receipt&>(screen).invoiceToPay(), "INV-0007");
}

TEST_F(ScreensTest, aNewRevaluationStaysOnScreenWhenTheHostAsksForAnother) {
    auto& screen = open("ARform_revalue");
    screen.enter("txtdesc", "year-end run");
    screen.run("&New");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    EXPECT_EQ(screen.field("txtdesc").value, "");

    arclass.ARform_revalue_goto_docno("ARRE-26-00001");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
}

}  // namespace
}  // namespace keltro
