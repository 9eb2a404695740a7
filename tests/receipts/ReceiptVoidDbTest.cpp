// Voiding a receipt: the documents get back what it took, the receipt and its unapplied
// cash are marked void, the journal is reversed in its own period or in a new journal,
// and the void is refused while a later receipt uses the unapplied cash.
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using ::testing::ElementsAre;

class ReceiptVoidTest : public ReceiptScreenTest {
protected:
    // A saved cash receipt of `amount` applying `applied` to the first row (its open
    // amount less the discount available when empty).
    ARform_receipt& saveReceipt(const std::string& docno, const std::string& amount,
                                const std::string& applied = "", const std::string& date = "") {
        auto& screen = receiptFor(docno);
        if (!date.empty()) screen.enter("txtrcdate", date);
        cash(screen, amount);
        if (applied.empty())
            screen.clickCell("dbgrid1", 0, "applied amount");
        else
            apply(screen, 0, "applied amount", applied);
        screen.run("&Save");
        EXPECT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());
        return screen;
    }

    void voidShown(ARform_receipt& screen, bool yes = true) {
        ui.clear();
        ui.queueAnswer(yes);
        screen.run("&Void Receipt");
    }

    std::int64_t lineCount(const std::string& fkey) {
        return count("SELECT COUNT(*) FROM GL_transaction_table WHERE fkey = ?", {fkey});
    }
};

TEST_F(ReceiptVoidTest, inItsOwnPeriodTheReversalIsAppendedToTheReceiptJournal) {
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}});
    auto& screen = saveReceipt(invoice, "100");
    const std::string receipt = screen.field("txtdocno").value;
    const std::string journal = screen.field("txtglfkey").value;
    const std::string unappliedNo = screen.field("txtunapplied_docno").value;
    ASSERT_FALSE(unappliedNo.empty()) << "2.00 over";

    voidShown(screen, false);
    EXPECT_THAT(ui.texts(), ElementsAre("Are you sure to void this receipt?"));
    EXPECT_EQ(lineCount(journal), 3) << "No: nothing happens to the three lines";

    voidShown(screen);
    EXPECT_THAT(ui.texts(), ElementsAre("Are you sure to void this receipt?",
                                        "Receipt " + receipt + " is void."));
    EXPECT_EQ(screen.field("chkvoid").value, "1");
    EXPECT_EQ(lineCount(journal), 6);
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 2) << "no new journal";
    const auto gl = db().queryOne("SELECT * FROM GL_header_table WHERE fkey = ?", {journal});
    EXPECT_EQ((*gl)["Description"].textOr(), "Void receipt " + receipt);
    EXPECT_TRUE((*gl)["Reverse"].booleanOr(false));
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_transaction_table WHERE docno = ? "
                    "AND paid_amount = 0 AND discount_taken = 0", {invoice}), 1);
    const auto header = db().queryOne("SELECT * FROM Receipt_header_table");
    EXPECT_TRUE((*header)["void"].booleanOr(false));
    EXPECT_EQ((*header)["void_date"].date(), kToday);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_transaction_table WHERE void = TRUE"), 1);
    EXPECT_TRUE(scalar("SELECT void FROM AR_transaction_table WHERE docno = ?", {unappliedNo})
                    .booleanOr(false));

    voidShown(screen);
    EXPECT_THAT(ui.texts(), ElementsAre(receipt + " was void.")) << "asked nothing";
    expectCleanBooks();
}

// Voided in a later period, a receipt gets a reversing journal of its own (its date,
// period and remarks are JournalReversalDbTest's); a document partly paid by another
// receipt stays paid by that one.
TEST_F(ReceiptVoidTest, inALaterPeriodANewJournalReversesItAndOtherReceiptsStayApplied) {
    const std::string invoice = addDocument({.date = {2026, 11, 2}});
    auto& screen = saveReceipt(invoice, "100", "100", "25/11/2026");
    const std::string receipt = screen.field("txtdocno").value;
    const std::string journal = screen.field("txtglfkey").value;
    EXPECT_EQ(text("SELECT period FROM GL_header_table WHERE fkey = ?", {journal}), "11");

    voidShown(screen);
    ASSERT_EQ(lastSaid(), "Receipt " + receipt + " is void.");
    EXPECT_EQ(lineCount(journal), 2);
    const auto reversing = db().queryOne(
        "SELECT * FROM GL_header_table WHERE fkey <> ? AND source_docno = ?", {journal, receipt});
    ASSERT_TRUE(reversing);
    EXPECT_EQ((*reversing)["Description"].textOr(), "void receipt " + receipt);
    EXPECT_EQ(lineCount((*reversing)["fkey"].textOr()), 2);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));

    saveReceipt(invoice, "40", "40");
    auto& second = saveReceipt(invoice, "60", "60");
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    voidShown(second);
    EXPECT_EQ(paidState(invoice), (DocumentState{60, false, true, false}));
    expectCleanBooks();
}

TEST_F(ReceiptVoidTest, theUnappliedCashOfAReceiptKeepsItUntilItsUserIsVoided) {
    const std::string first = addDocument({});
    auto& deposit = saveReceipt(first, "130", "100");
    const std::string depositNo = deposit.field("txtdocno").value;
    const std::string unappliedNo = deposit.field("txtunapplied_docno").value;

    const std::string second = addDocument({.lines = {50}});
    auto& user = receiptFor(second);  // the invoice, then the unapplied cash
    apply(user, 0, "applied amount", "50");
    apply(user, 1, "applied amount", "-30");
    cash(user, "20");
    user.enter("txtrcno", "Counter 9");
    user.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(unappliedNo), (DocumentState{0, true, true, true}));

    auto& screen = open();
    arclass.ARform_receipt_goto_docno(depositNo);
    ASSERT_EQ(screen.field("txtdocno").value, depositNo);
    voidShown(screen);
    EXPECT_THAT(ui.texts(), ElementsAre("Receipt no Counter 9 refer to this unapplied document",
                                        "please void it before proceeding"));
    EXPECT_FALSE(scalar("SELECT void FROM Receipt_header_table WHERE docno = ?", {depositNo})
                     .booleanOr(true));

    voidShown(user);
    ASSERT_EQ(lastSaid(), "Receipt " + user.field("txtdocno").value + " is void.");
    EXPECT_EQ(paidState(unappliedNo), (DocumentState{-30, false, false, false}));
    voidShown(screen);
    ASSERT_EQ(lastSaid(), "Receipt " + depositNo + " is void.");
    EXPECT_EQ(paidState(first), (DocumentState{100, false, false, false}));
    EXPECT_TRUE(
        scalar("SELECT void FROM AR_header_table WHERE docno = ?", {unappliedNo}).booleanOr(false));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
