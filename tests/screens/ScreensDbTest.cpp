// Every screen as the host opens it on the demo company: its grids agree with the stored
// layouts, its menus answer to the captions people and scripts use, closing keeps the
// layouts, and the host's entry methods leave the screen where they promise.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "host/ARclass.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using framework::Mode;
using ::testing::Contains;
using Texts = std::vector<std::string>;

const Texts kReceiptMenus = {"&Save", "&Preview", "&New", "&Edit mode", "&Void", "&Void Receipt", "&Next record",
                             "&Previous record", "&Last record", "&Refresh record", "&Show Text below Icon"};

Texts plus(Texts captions, const Texts& more) {
    captions.insert(captions.end(), more.begin(), more.end());
    return captions;
}

// The menu and toolbar captions people and scripts use on the entry screens, "&Exit" and
// the help captions (the help test runs those) left out. The other screens run every
// caption of theirs, and the host closes them with "frm_" + their name + "_Exit".
const std::map<std::string, Texts> kEntryCaptions = {
    {"ARform_invoice",
     {"&Save", "Save", "&Preview", "&New", "&Edit mode", "Edit mode", "&Insert Line", "&Delete Line",
      "&Bill-To/Ship-To Address", "Address", "View &Invoice", "View Invoice from &Sales", "View &Credit Note",
      "View &Debit Note", "View &Recurring", "&View All", "&Open Invoice Only", "Tax &Details", "Tax &Summary",
      "&Void Invoice", "&Recurring Configuration", "&Receipt this invoice", "Receipt &History (this invoice)",
      "&Next record", "Next", "&Previous record", "Previous", "&Last record", "&Refresh record", "Refresh",
      "&G/L Record", "Origin Document", "Origin", "&Show Text below Icon", "cmdprepay"}},
    {"ARform_receipt", plus(kReceiptMenus, {"Save", "Preview", "New", "Edit mode", "Next", "Previous",
                                            "Last record", "Refresh", "&G/L Record", "G/L", "&A/R Record", "A/R"})},
    {"ARform_fast_receipt",
     plus(kReceiptMenus, {"&Insert Line", "&Delete Line", "&Generate actual receipt", "&Actual receipt"})},
    {"ARform_misc_receipt", plus(kReceiptMenus, {"&G/L Record"})},
};

Texts shownCaptions(const framework::Grid& grid) {
    Texts captions;
    for (const auto& column : grid.columns) captions.push_back(column.caption);
    return captions;
}

std::vector<Texts> layoutOf(const framework::Screen& screen) {
    std::vector<Texts> layout;
    for (const auto& grid : screen.grids()) layout.push_back(shownCaptions(grid));
    return layout;
}

class ScreensTest : public ::testing::Test {
protected:
    framework::Screen& open(const std::string& className) {
        for (const auto& [show, name] : test::kShowMethods)
            if (name == className) return desk.call(show, className);
        throw std::invalid_argument(className + " is not a screen");
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    test::HeadlessDesk desk{database.db()};
    host::ARclass& arclass = desk.arclass;
};

// Each screen's grids show the columns it works with; every caption and toolbar caption
// reaches its own command and runs; "&Exit" closes, the host's exit after it is harmless,
// and the screen opened again shows the layout it was closed with.
TEST_F(ScreensTest, everyScreenShowsItsColumnsRunsItsCaptionsAndKeepsItsLayout) {
    for (const auto& [show, className] : test::kShowMethods) {
        SCOPED_TRACE(className);
        const auto entry = kEntryCaptions.find(className);
        const bool hasExit = entry == kEntryCaptions.end();
        auto& screen = desk.call(show, className);
        ASSERT_FALSE(screen.grids().empty());
        for (const auto& grid : screen.grids()) {
            EXPECT_EQ(shownCaptions(grid), grid.declaredCaptions) << grid.name;
            for (const auto& [caption, listColumns] : grid.lookupColumns)
                EXPECT_THAT(grid.declaredCaptions, Contains(caption)) << grid.name;
        }
        Texts captions = hasExit ? Texts{} : entry->second;
        for (const auto& c : screen.commands()) {
            EXPECT_EQ(&screen.command(c.caption), &c) << c.caption;
            if (!c.toolbar.empty()) {
                EXPECT_EQ(&screen.command(c.toolbar), &c) << c.toolbar;
            }
            if (hasExit && c.caption != "&Exit") captions.push_back(c.caption);
        }
        for (const auto& caption : captions) EXPECT_NO_THROW(screen.run(caption)) << caption;
        EXPECT_FALSE(screen.isClosed());
        EXPECT_THROW(screen.run("&Receipt This Invoice"), framework::ScreenError);
        const auto layout = layoutOf(screen);
        screen.run("&Exit");
        EXPECT_TRUE(screen.isClosed());
        if (!hasExit) continue;
        EXPECT_TRUE(arclass.call("frm_" + className.substr(className.find('_') + 1) + "_Exit", {}));
        EXPECT_EQ(layoutOf(desk.call(show, className)), layout);
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
            desk.notifications.clear();
            screen.run(name == file ? caption : name.c_str());
            ASSERT_EQ(desk.notifications.size(), 1u);
            const auto& n = desk.notifications[0];
            EXPECT_EQ(Texts({n.formx, n.docnox, n.arg2}),
                      Texts({"pdf viewer", "C:/Keltro/Help/" + name + ".pdf", name}));
        }
    }
}

// The kind the host asks for when it opens the invoice screen, and when it switches the
// open screen: a switch to the kind already on screen leaves the document alone.
TEST_F(ScreensTest, theInvoiceScreenShowsTheKindTheHostAsksFor) {
    struct Case {
        Texts args;
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
    const auto expectShown = [](const framework::Screen& screen, const Texts& expected) {
        EXPECT_EQ(Texts({screen.field("cmbdoctype").value, screen.field("txtdoctype").value,
                         screen.field("txtdocno").value}), expected);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
        auto& screen = desk.call("showform_ARform_invoice", "ARform_invoice", c.args);
        expectShown(screen, {c.kind, c.doctype, c.docno});
        EXPECT_EQ(screen.mode(), c.mode);
    }

    auto& screen = open("ARform_invoice");
    arclass.switch_ARform_invoice("dn");
    expectShown(screen, {"Debit Note", "dn", "** New **"});
    EXPECT_EQ(screen.mode(), Mode::New);
    screen.enter("txtremark", "typed before the second switch");
    screen.enter("txtdocno", "DN-0001");
    arclass.switch_ARform_invoice("dn");
    EXPECT_EQ(screen.field("txtremark").value, "typed before the second switch");
    EXPECT_EQ(screen.field("txtdocno").value, "DN-0001");
    arclass.switch_ARform_invoice("anything");
    expectShown(screen, {"Invoice", "ar", "** New **"});
}

TEST_F(ScreensTest, goToMethodsPutTheirValueWhereTheScreenLooksForIt) {
    // Screen, method, control. The invoice's jumps by number and key and the receipt's are
    // followed to the documents they find where those screens are tested.
    const char* const cases[][3] = {
        {"ARform_invoice", "ARform_invoice_recurring_goto_docno", "txtdocno"},
        {"ARform_fast_receipt", "ARform_fastreceipt_goto_docno", "txtdocno"},
        {"ARform_misc_receipt", "ARform_misc_goto_docno", "txtdocno"},
        {"ARform_prepayment", "ARform_prepayment_goto_fkey", "txtfkey"},
        {"ARform_prepayment", "ARform_prepayment_goto_docno", "txtdocno"},
        {"ARform_matching", "ARform_matching_goto_docno", "txtdocno"},
        {"ARform_revalue", "ARform_revalue_goto_docno", "txtdocno"},
    };
    for (const auto& [className, method, control] : cases) {
        auto& screen = open(className);
        desk.call(method, className, {"X-0042"});
        EXPECT_EQ(screen.field(control).value, "X-0042") << method;
    }
    EXPECT_EQ(arclass.referencedScreen("ARform_invoice")->field("chkrecur").value, "1");
    auto& history = desk.call("showform_ARreport_invoice_receipt_history", "ARreport_invoice_receipt_history",
                              {"INV-26-00001"});
    EXPECT_EQ(history.field("txtdocno").value, "INV-26-00001");
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
