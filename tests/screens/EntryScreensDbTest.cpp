// The entry screens as the host opens them on the demo company: their grids agree with the
// stored layouts, their menus answer to the captions people and scripts use, and the host's
// entry methods leave the screen where they promise.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "db/Database.h"
#include "framework/Screen.h"
#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "receipts/ARform_receipt.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "support/HeadlessDesk.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using framework::Mode;
using framework::ScreenError;
using ::testing::Contains;


struct EntryScreen {
    const char* show;
    const char* className;
    std::vector<std::string> grids;
    const char* help;      // its own help command
    const char* helpFile;  // and the file it opens, without ".pdf"
    // Every menu and toolbar caption, "&Exit" left out (it closes the screen).
    std::vector<std::string> captions;
};

// The menus the three receipt screens share.
const std::vector<std::string> kReceiptMenus = {
    "&Save", "&Preview", "&New", "&Edit mode", "&Void", "&Void Receipt", "&Next record",
    "&Previous record", "&Last record", "&Refresh record", "&Show Text below Icon",
    "Account Receivable Help"};

std::vector<std::string> plus(std::vector<std::string> captions,
                              const std::vector<std::string>& more) {
    captions.insert(captions.end(), more.begin(), more.end());
    return captions;
}

const std::vector<EntryScreen>& entryScreens() {
    static const std::vector<EntryScreen> screens = {
        {"showform_ARform_invoice", "ARform_invoice", {"dbgrid1", "grid_tax", "grid_tax_summary"},
         "A/R Invoice Entry Help", "AR Invoice Entry Help",
         {"&Save", "Save", "&Preview", "&New", "&Edit mode", "Edit mode", "&Insert Line",
          "&Delete Line", "&Bill-To/Ship-To Address", "Address", "View &Invoice",
          "View Invoice from &Sales", "View &Credit Note", "View &Debit Note", "View &Recurring",
          "&View All", "&Open Invoice Only", "Tax &Details", "Tax &Summary", "&Void Invoice",
          "&Recurring Configuration", "&Receipt this invoice", "Receipt &History (this invoice)",
          "&Next record", "Next", "&Previous record", "Previous", "&Last record",
          "&Refresh record", "Refresh", "&G/L Record", "Origin Document", "Origin",
          "&Show Text below Icon", "A/R Invoice Entry Help", "Account Receivable Help",
          "cmdprepay"}},
        {"showform_ARform_receipt", "ARform_receipt", {"dbgrid1"}, "A/R Receipt Entry Help",
         "AR Receipt Entry Help",
         plus(kReceiptMenus, {"Save", "Preview", "New", "Edit mode", "Next", "Previous",
                              "Last record", "Refresh", "&G/L Record", "G/L", "&A/R Record",
                              "A/R", "A/R Receipt Entry Help"})},
        {"showform_ARform_fastreceipt", "ARform_fast_receipt", {"dbgrid1"},
         "Fast Receipt Entry Help", "Fast Receipt Entry Help",
         plus(kReceiptMenus, {"&Insert Line", "&Delete Line", "&Generate actual receipt",
                              "&Actual receipt", "Fast Receipt Entry Help"})},
        {"showform_ARform_misc", "ARform_misc_receipt", {"dbgrid1"},
         "Miscellaneous Receipt Help", "Miscellaneous Receipt Help",
         plus(kReceiptMenus, {"&G/L Record", "Miscellaneous Receipt Help"})},
    };
    return screens;
}

class EntryScreensTest : public ::testing::Test {
protected:
    // Shows the entry screen of `className` through its ARclass show method.
    framework::Screen& open(const std::string& className) {
        for (const auto& s : entryScreens())
            if (className == s.className) return desk.call(s.show, className);
        throw std::invalid_argument(className + " is not an entry screen");
    }
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

TEST_F(EntryScreensTest, gridsShowTheColumnsTheScreenWorksWith) {
    for (const auto& s : entryScreens()) {
        auto& screen = call(s.show, s.className);
        std::vector<std::string> names;
        for (const auto& grid : screen.grids()) {
            names.push_back(grid.name);
            std::vector<std::string> stored;
            for (const auto& column : grid.columns) stored.push_back(column.caption);
            EXPECT_EQ(stored, grid.declaredCaptions) << s.className << "." << grid.name;
            for (const auto& [caption, spec] : grid.lookupColumns)
                EXPECT_THAT(grid.declaredCaptions, Contains(caption)) << grid.name;
        }
        EXPECT_EQ(names, s.grids) << s.className;
    }
}

TEST_F(EntryScreensTest, everyMenuAndToolbarCaptionRunsAndExitCloses) {
    for (const auto& s : entryScreens()) {
        auto& screen = call(s.show, s.className);
        for (const auto& caption : s.captions)
            EXPECT_NO_THROW(screen.run(caption)) << s.className << ": " << caption;
        EXPECT_THROW(screen.run("&Receipt This Invoice"), ScreenError) << s.className;
        screen.run("&Exit");
        EXPECT_TRUE(screen.isClosed()) << s.className;
    }
}

TEST_F(EntryScreensTest, helpOpensItsFileInThePdfViewer) {
    for (const auto& s : entryScreens()) {
        auto& screen = call(s.show, s.className);
        const std::pair<std::string, std::string> helps[] = {
            {s.help, s.helpFile}, {"Account Receivable Help", "Account Receivable Help"}};
        for (const auto& [caption, file] : helps) {
            notifications.clear();
            screen.run(caption);
            ASSERT_EQ(notifications.size(), 1u) << s.className << ": " << file;
            EXPECT_EQ(notifications[0].formx, "pdf viewer");
            EXPECT_EQ(notifications[0].docnox, "C:/Keltro/Help/" + file + ".pdf");
            EXPECT_EQ(notifications[0].arg2, file);
        }
    }
}

TEST_F(EntryScreensTest, theInvoiceOpensOnTheKindTheHostAsksFor) {
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
        const std::string label = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(screen.field("cmbdoctype").value, c.kind) << label;
        EXPECT_EQ(screen.field("txtdoctype").value, c.doctype) << label;
        EXPECT_EQ(screen.field("txtdocno").value, c.docno) << label;
        EXPECT_EQ(screen.mode(), c.mode) << label;
    }
}

TEST_F(EntryScreensTest, switchingToTheKindOnScreenLeavesTheDocumentAlone) {
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

TEST_F(EntryScreensTest, goToMethodsPutTheirValueWhereTheScreenLooksForIt) {
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
    };
    for (const auto& c : cases) {
        auto& screen = open(c.className);
        call(c.method, c.className, {"X-0042"});
        EXPECT_EQ(screen.field(c.control).value, "X-0042") << c.method;
    }
    EXPECT_EQ(arclass.referencedScreen("ARform_invoice")->field("chkrecur").value, "1");
}

TEST_F(EntryScreensTest, receiptThisInvoiceStartsANewReceiptForTheCustomer) {
    auto& screen = open("ARform_receipt");
    arclass.ARform_receipt_this_invoice("INV-0007", "1001");
    EXPECT_EQ(screen.field("cmbcustno").value, "1001");
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    EXPECT_EQ(screen.mode(), Mode::New);
    EXPECT_EQ(dynamic_cast<receipts::ARform_receipt&>(screen).invoiceToPay(), "INV-0007");
}

}  // namespace
}  // namespace keltro
