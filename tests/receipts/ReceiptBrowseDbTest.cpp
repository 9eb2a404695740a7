// Stored receipts on the screen: walking them, going to one by number, the few header
// fields "&Edit mode" may change, and the requests the screen sends the host (G/L
// record, A/R record, the printout, whose query runs as it stands on the engine).
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::Mode;
using framework::ScreenError;
using ::testing::ElementsAre;

class ReceiptBrowseTest : public ReceiptScreenTest {
protected:
    // Two saved receipts for O'Brien Hardware; gives their numbers.
    std::pair<std::string, std::string> twoReceipts() {
        const std::string invoice = addDocument({.lines = {100, 50}});
        auto& screen = receiptFor(invoice);
        cash(screen, "100");
        apply(screen, 0, "applied amount", "100");
        screen.run("&Save");
        const std::string first = screen.field("txtdocno").value;
        screen.run("&New");
        cash(screen, "50");
        apply(screen, 0, "applied amount", "50");
        screen.run("&Save");
        return {first, screen.field("txtdocno").value};
    }
};

TEST_F(ReceiptBrowseTest, receiptsAreWalkedInTheOrderTheyWereAddedAndFoundByNumber) {
    const auto [first, second] = twoReceipts();
    auto& screen = open();
    EXPECT_EQ(screen.field("txtdocno").value, second) << "opens on the last one";
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    EXPECT_EQ(cell(screen, 0, "pay item"), "2");
    EXPECT_EQ(cell(screen, 0, "net balance"), "0.00");
    EXPECT_EQ(cell(screen, 0, "document type"), "Invoice");
    EXPECT_THROW(screen.enter("txtremark", "x"), ScreenError);

    const std::vector<std::pair<const char*, std::string>> steps = {
        {"&Previous record", first}, {"&Previous record", first}, {"&Next record", second},
        {"&Next record", second},    {"&Refresh record", second}, {"&Last record", second}};
    for (const auto& [caption, expected] : steps) {
        screen.run(caption);
        EXPECT_EQ(screen.field("txtdocno").value, expected) << caption;
    }
    screen.enter("txtdocno", first);
    EXPECT_EQ(screen.field("txtfkey").value, "1rc-1");
    ui.clear();
    arclass.ARform_receipt_goto_docno("RC-26-00099");
    EXPECT_THAT(ui.texts(), ElementsAre("Document no. RC-26-00099 not found"));
}

TEST_F(ReceiptBrowseTest, editModeChangesOnlyTheReferenceFieldsAndAsksWhenLeft) {
    const auto [first, second] = twoReceipts();
    auto& screen = open();
    screen.run("&Edit mode");
    ASSERT_EQ(screen.mode(), Mode::Edit);
    EXPECT_THROW(screen.enter("txtrcamount", "1"), ScreenError);
    EXPECT_THROW(screen.enter("cmbcustno", "1001"), ScreenError);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    screen.enter("txtremark", "Paid at the counter");
    screen.enter("txtpayer", "Mrs O'Brien");
    screen.enter("cmbpayby", "Check");
    screen.enter("txtcheck", "7731");
    screen.enter("txtcheckdate", "04/12/2026");
    ui.clear();
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ElementsAre("Update receipt complete"));
    EXPECT_EQ(screen.mode(), Mode::Browse);
    const auto header =
        db().queryOne("SELECT * FROM Receipt_header_table WHERE docno = ?", {second});
    EXPECT_EQ((*header)["remark"].textOr(), "Paid at the counter");
    EXPECT_EQ((*header)["payer"].textOr(), "Mrs O'Brien");
    EXPECT_EQ((*header)["payby"].textOr(), "Check");
    EXPECT_EQ((*header)["check_no"].textOr(), "7731");
    EXPECT_EQ((*header)["check_date"].date(), (db::Date{2026, 12, 4}));
    EXPECT_DOUBLE_EQ((*header)["receipt_amount"].numberOr(), 50);

    screen.run("&Edit mode");
    screen.enter("txtremark", "Changed my mind");
    ui.queueAnswer(false);
    screen.run("&Previous record");
    EXPECT_THAT(ui.said().back().text, "Do you want to save editing?");
    EXPECT_EQ(screen.field("txtdocno").value, first);
    EXPECT_EQ(text("SELECT remark FROM Receipt_header_table WHERE docno = ?", {second}),
              "Paid at the counter");
    expectCleanBooks();
}

TEST_F(ReceiptBrowseTest, theScreenAsksTheHostForJournalDocumentAndPrintout) {
    const auto [first, second] = twoReceipts();
    auto& screen = open();
    notifications.clear();
    screen.run("&G/L Record");
    screen.clickCell("dbgrid1", 0, "invoice no");
    screen.run("&A/R Record");
    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 3u);
    EXPECT_EQ(notifications[0].formx, "G/L Ledger Review");
    EXPECT_EQ(notifications[0].docnox, screen.field("txtglfkey").value);
    EXPECT_EQ(notifications[1].formx, "A/R Invoice Entry");
    EXPECT_EQ(notifications[1].docnox, "INV-26-00001");
    EXPECT_EQ(notifications[2].formx, "ActiveReport");
    EXPECT_EQ(notifications[2].docnox, "A/R Receipt," + second + ",0");

    const auto rows = db().query(notifications[2].arg2);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["customer_name"].textOr(), "O'Brien Hardware");
    EXPECT_EQ(rows[0]["receipt_date"].textOr(), "06/12/2026");
    EXPECT_EQ(rows[0]["invoice_no"].textOr(), "INV-26-00001");
    EXPECT_DOUBLE_EQ(rows[0]["applied_amount"].numberOr(), 50);
    // What the printout reads besides the stored lines.
    EXPECT_EQ(rows[0]["document_type"].textOr(), "ar");
    EXPECT_DOUBLE_EQ(rows[0]["receipt_amount"].numberOr(), 50);
    EXPECT_EQ(rows[0]["cash_accno"].textOr(), "1000");
    EXPECT_FALSE(rows[0]["void"].booleanOr(true));

    screen.run("&New");
    notifications.clear();
    screen.run("&G/L Record");
    screen.run("&Preview");
    EXPECT_TRUE(notifications.empty()) << "nothing for a new receipt";
}

TEST_F(ReceiptBrowseTest, aVoidReceiptCannotBeEdited) {
    const auto [first, second] = twoReceipts();
    auto& screen = open();
    ui.queueAnswer(true);
    screen.run("&Void");
    ASSERT_EQ(lastSaid(), "Receipt " + second + " is void.");
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), second + " was void.");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_FALSE(screen.command("&Edit mode").checked);
}

}  // namespace
}  // namespace keltro::receipts::testing
