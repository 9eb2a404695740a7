// The receipt journal as a saved receipt writes it: the worked example in euros, the
// excess of a foreign receipt kept in its currency, and the cent a foreign receipt's
// rounding leaves.
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using ::testing::ElementsAre;

class ReceiptPostingTest : public ReceiptScreenTest {
protected:
    // A euro document of `amount` for Café Müller at `documentRate`, and its receipt of
    // `received` into the euro cash account at `rate`, which its row takes too.
    ARform_receipt& euroReceipt(double documentRate, double amount, const std::string& rate,
                                const std::string& received) {
        invoice = addDocument(
            {.customer = "1003", .lines = {amount}, .currency = "EUR", .rate = documentRate});
        auto& screen = receiptFor(invoice, "1003");
        for (const auto& [name, value] : {std::pair{"cmbexrate", rate}, {"cmbpayby", "Cash"},
                                          {"cmbcash", "1020"}, {"txtrcamount", received}})
            screen.enter(name, value);
        apply(screen, 0, "receipt exch rate", rate);
        return screen;
    }

    std::string invoice;
};

TEST_F(ReceiptPostingTest, theWorkedExampleIsPostedAsItStands) {
    auto& screen = euroReceipt(1.5, 100, "1.4", "98");
    EXPECT_EQ(screen.field("txtreceipt_base").value, "137.20");
    apply(screen, 0, "discount taken", "2");
    EXPECT_EQ(screen.field("txttotal_base").value, "137.20");
    EXPECT_EQ(screen.field("label_total_currency").value, "EUR");
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());

    EXPECT_THAT(journalLines(screen.field("txtglfkey").value),
                ElementsAre("1020 EUR 98.00 137.20 F 1.4", "6100 EUR 2.00 2.80 F 1.4",
                            "1110 EUR -100.00 -150.00 F 1.5", "7010 USD 10.00 10.00 A "));
    const auto header = db().queryOne("SELECT * FROM Receipt_header_table");
    EXPECT_DOUBLE_EQ((*header)["exchange_rate"].numberOr(), 1.4);
    EXPECT_DOUBLE_EQ((*header)["receipt_base_amount"].numberOr(), 137.20);
    EXPECT_TRUE((*header)["Unapplied_DOCNO"].isNull());
    const auto line = db().queryOne("SELECT * FROM Receipt_transaction_table");
    EXPECT_DOUBLE_EQ((*line)["invoice_exchange_rate"].numberOr(), 1.5);
    EXPECT_DOUBLE_EQ((*line)["receipt_exchange_rate"].numberOr(), 1.4);
    EXPECT_DOUBLE_EQ((*line)["applied_base_amount"].numberOr(), 137.20);
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    expectCleanBooks();
}

TEST_F(ReceiptPostingTest, aForeignExcessIsKeptInTheReceiptCurrencyAndOfferedLater) {
    auto& screen = euroReceipt(1.5, 100, "1.4", "100");
    apply(screen, 0, "discount taken", "2");
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete");
    EXPECT_EQ(screen.field("txtunapplied_amount").value, "2.00");
    const auto deposit = db().queryOne("SELECT * FROM AR_transaction_table WHERE doctype = 'ua'");
    EXPECT_DOUBLE_EQ((*deposit)["open_amount"].numberOr(), -2.0);
    EXPECT_DOUBLE_EQ((*deposit)["exchange_rate"].numberOr(), 1.4);
    EXPECT_EQ((*deposit)["Currency"].textOr(), "EUR");
    EXPECT_EQ((*deposit)["Source"].textOr(), "AR-RECEIPT");
    EXPECT_EQ((*deposit)["User"].textOr(), "admin");

    screen.run("&New");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 1u);
    EXPECT_EQ(cell(screen, 0, "document type"), "Unapplied cash");
    EXPECT_EQ(cell(screen, 0, "deposit"), "1");
    EXPECT_EQ(cell(screen, 0, "invoice exch rate"), "1.4");
    expectCleanBooks();
}

// 33.33 received at 1.2222 on a document at 1.1111: each amount rounds on its own and the
// journal is a cent out, which one rounding line puts right.
TEST_F(ReceiptPostingTest, aForeignReceiptACentOutGetsOneRoundingLine) {
    auto& screen = euroReceipt(1.1111, 33.33, "1.2222", "33.33");
    screen.clickCell("dbgrid1", 0, "applied amount");
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());
    EXPECT_THAT(journalLines(screen.field("txtglfkey").value),
                ElementsAre("1020 EUR 33.33 40.74 F 1.2223222", "1110 EUR -33.33 -37.03 F 1.111",
                            "7000 USD 3.70 3.70 A ", "7000 USD 0.01 0.01 A 1.2222"));
    expectCleanBooks();
}

// An invoice and a credit note of one currency, booked at 1.5 and 1.4 and applied
// together, net to nothing in euros on the receivable while its base amount moves by
// -10.00: that entry is written with amount 0, or the journal would not balance.
TEST_F(ReceiptPostingTest, aReceivableNettingToNothingInItsCurrencyKeepsItsBaseAmount) {
    auto& screen = euroReceipt(1.5, 100, "1.4", "10");
    const std::string credit =
        addDocument({.customer = "1003", .doctype = "cn", .lines = {100}, .currency = "EUR",
                     .rate = 1.4});
    screen.enter("cmbcustno", "1003");
    screen.enter("cmbexrate", "1.4");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 2u);
    for (std::size_t row = 0; row < 2; ++row) {
        apply(screen, row, "receipt exch rate", "1.4");
        screen.clickCell("dbgrid1", row, "applied amount");
    }
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new Receipt complete") << ::testing::PrintToString(ui.texts());
    EXPECT_THAT(journalLines(screen.field("txtglfkey").value),
                ElementsAre("1110 EUR 0.00 -10.00 F 1", "7010 USD 10.00 10.00 A "));
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    EXPECT_EQ(paidState(credit), (DocumentState{0, true, true, true}));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
