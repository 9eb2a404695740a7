// Stored receipts on the screen: walking them, going to one by number, the few header
// fields "&Edit mode" may change (none once the receipt is void), and the requests the
// screen sends the host (G/L record, A/R record, the printout, whose query runs as it
// stands on the engine).
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::Mode;
using framework::ScreenError;
using ::testing::ElementsAre;

class ReceiptBrowseTest : public ReceiptScreenTest {
protected:
    // Two saved receipts for O'Brien Hardware, one per pay item of its invoice; gives the
    // screen opened afresh.
    ARform_receipt& twoReceipts() {
        auto& screen = receiptFor(addDocument({.lines = {100, 50}}));
        cash(screen, "100");
        apply(screen, 0, "applied amount", "100");
        screen.run("&Save");
        first = screen.field("txtdocno").value;
        screen.run("&New");
        cash(screen, "50");
        apply(screen, 0, "applied amount", "50");
        screen.run("&Save");
        second = screen.field("txtdocno").value;
        return open();
    }

    std::string first, second;
};

TEST_F(ReceiptBrowseTest, receiptsAreWalkedInTheOrderTheyWereAddedAndFoundByNumber) {
    auto& screen = twoReceipts();
    EXPECT_EQ(screen.field("txtdocno").value, second) << "opens on the last one";
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    for (const auto& [caption, shown] :
         {std::pair{"pay item", "2"}, {"net balance", "0.00"}, {"document type", "Invoice"}})
        EXPECT_EQ(cell(screen, 0, caption), shown) << caption;
    EXPECT_THROW(screen.enter("txtremark", "x"), ScreenError);

    const std::pair<const char*, std::string> steps[] = {
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

TEST_F(ReceiptBrowseTest, editModeChangesOnlyTheReferenceFieldsAsksWhenLeftAndNotOnceVoid) {
    auto& screen = twoReceipts();
    screen.run("&Edit mode");
    ASSERT_EQ(screen.mode(), Mode::Edit);
    EXPECT_THROW(screen.enter("txtrcamount", "1"), ScreenError);
    EXPECT_THROW(screen.enter("cmbcustno", "1001"), ScreenError);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    const std::pair<const char*, const char*> typed[] = {
        {"txtremark", "Paid at the counter"}, {"txtpayer", "Mrs O'Brien"}, {"cmbpayby", "Check"},
        {"txtcheck", "7731"}, {"txtcheckdate", "04/12/2026"}};
    for (const auto& [name, value] : typed) screen.enter(name, value);
    ui.clear();
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ElementsAre("Update receipt complete"));
    EXPECT_EQ(screen.mode(), Mode::Browse);
    const auto header =
        db().queryOne("SELECT * FROM Receipt_header_table WHERE docno = ?", {second});
    for (const auto& [column, value] : {std::pair{"remark", "Paid at the counter"},
                                        {"payer", "Mrs O'Brien"}, {"payby", "Check"},
                                        {"check_no", "7731"}})
        EXPECT_EQ((*header)[column].textOr(), value) << column;
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

    ui.queueAnswer(true);
    screen.run("&Void");
    ASSERT_EQ(lastSaid(), "Receipt " + first + " is void.");
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), first + " was void.");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_FALSE(screen.command("&Edit mode").checked);
    expectCleanBooks();
}

TEST_F(ReceiptBrowseTest, theScreenAsksTheHostForJournalDocumentAndPrintout) {
    auto& screen = twoReceipts();
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

    // The stored line, and what the printout reads besides it.
    const auto rows = db().query(notifications[2].arg2);
    ASSERT_EQ(rows.size(), 1u);
    for (const auto& [column, value] :
         {std::pair{"customer_name", "O'Brien Hardware"}, {"receipt_date", "06/12/2026"},
          {"invoice_no", "INV-26-00001"}, {"document_type", "ar"}, {"cash_accno", "1000"}})
        EXPECT_EQ(rows[0][column].textOr(), value) << column;
    EXPECT_DOUBLE_EQ(rows[0]["applied_amount"].numberOr(), 50);
    EXPECT_DOUBLE_EQ(rows[0]["receipt_amount"].numberOr(), 50);
    EXPECT_FALSE(rows[0]["void"].booleanOr(true));

    screen.run("&New");
    notifications.clear();
    screen.run("&G/L Record");
    screen.run("&Preview");
    EXPECT_TRUE(notifications.empty()) << "nothing for a new receipt";
}

}  // namespace
}  // namespace keltro::receipts::testing
