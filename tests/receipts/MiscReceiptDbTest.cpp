// The miscellaneous receipt screen: money that settles no A/R document, debited where it
// arrived and credited line by line to the accounts the person chose.
#include "receipts/ARform_misc_receipt.h"
#include "support/ScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

class MiscReceiptTest : public test::ScreenFixture {
protected:
    ARform_misc_receipt& open() {
        arclass.showform_ARform_misc();
        return dynamic_cast<ARform_misc_receipt&>(*arclass.referencedScreen("ARform_misc_receipt"));
    }

    // A new receipt of 150.00 in petty cash: interest of 100.00 and a rent refund of 50.00.
    ARform_misc_receipt& entered() {
        auto& screen = open();
        screen.run("&New");
        screen.enter("txtrcno", "BANK-INT-11");
        screen.enter("txtpayer", "First National Bank");
        screen.enter("cmbpayby", "Cash");
        screen.enter("cmbcash", "1000");
        screen.enter("txtamount", "150");
        line(screen, 0, "7100", "100");
        line(screen, 1, "6000", "50");
        return screen;
    }

    static void line(ARform_misc_receipt& screen, std::size_t row, const std::string& accno,
                     const std::string& amount) {
        screen.enterCell("dbgrid1", row, "account no", accno);
        screen.enterCell("dbgrid1", row, "amount", amount);
    }

    std::vector<std::string> save(ARform_misc_receipt& screen) {
        ui.clear();
        screen.run("&Save");
        return ui.texts();
    }

    std::int64_t receipts() { return count("SELECT COUNT(*) FROM Receipt_misc_header_table"); }
};

TEST_F(MiscReceiptTest, aReceiptDebitsWhereTheMoneyWentAndCreditsEachLine) {
    auto& screen = entered();
    EXPECT_EQ(screen.field("txtunbalance").value, "0.00");
    screen.enterCell("dbgrid1", 2, "description", "a note without account");
    EXPECT_THAT(save(screen), ElementsAre("Receipt complete"));

    EXPECT_EQ(screen.mode(), Mode::Browse);
    const auto& shown = *screen.shownReceipt();
    EXPECT_EQ(shown.docno, screen.field("txtdocno").value);
    EXPECT_EQ(shown.cashAccno, "1000");
    EXPECT_EQ(shown.receiptAmount, 150);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_misc_transaction_table"), 2)
        << "a row without account is not stored";
    EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 2u);
    EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = ?", {shown.glFkey}), "AR-MISC");
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = ?", {shown.glFkey}),
              "receipt no. " + shown.docno);
    // The rent refund is a credit on an expense account: it lowers it.
    EXPECT_THAT(journalLines(shown.glFkey),
                ElementsAre("1000 USD 150.00 150.00 A ", "7100 USD 100.00 100.00 A ",
                            "6000 USD -50.00 -50.00 A "));
    expectCleanBooks();
}

TEST_F(MiscReceiptTest, theChecksStopTheSaveInOrderAndWriteNothing) {
    struct Case {
        std::function<void(ARform_misc_receipt&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](auto& s) { s.enter("txtamount", "160"); }, "Transaction is unbalance"},
        {[](auto& s) { s.enter("txtamount", "140"); }, "Transaction is unbalance"},
        {[](auto& s) { s.enter("txtrcdate", ""); }, "please specify receipt date"},
        {[](auto& s) { s.enter("cmbpayby", ""); }, "please specify pay by"},
        {[](auto& s) { s.enter("cmbcash", ""); }, "please specify cash account or bank code"},
        {[](auto& s) { s.enter("cmbpayby", "Check"); }, "please specify bank code"},
        {[](auto& s) {
             s.enter("cmbpayby", "Check");
             s.enter("cmbbank", "FNB");
         },
         "please specify check number"},
        {[](auto& s) {
             s.enter("cmbpayby", "Check");
             s.enter("cmbbank", "FNB");
             s.enter("txtcheck", "881");
         },
         "please specify check date"},
        {[](auto& s) {
             s.enter("cmbcash", "");
             s.enter("cmbbank", "O'Neil Bank");
         },
         "Bank code O'Neil Bank is invalid."},
        {[](auto& s) {
             s.enter("cmbcash", "");
             s.enter("cmbbank", "BDP");
         },
         "This Bank code does not accept this currency (USD)"},
        {[](auto& s) { s.enter("cmbpayby", "Diners"); },
         "No Account Payable account for Diners.\nCheck its setting in Credit card master."},
        {[](auto& s) { s.enter("cmbperiod", ""); }, "please specify period"},
    };
    const auto before = books();
    for (const auto& c : cases) {
        auto& screen = entered();
        c.change(screen);
        EXPECT_THAT(save(screen), ElementsAre(c.message));
        EXPECT_EQ(screen.mode(), Mode::New) << c.message;
        EXPECT_EQ(receipts(), 0) << c.message;
        EXPECT_EQ(books(), before) << c.message;
        screen.run("&New");
    }
}

TEST_F(MiscReceiptTest, cellsRefuseUnknownAccountsAndAmountsThatAreNotPositive) {
    auto& screen = open();
    screen.run("&New");
    screen.enter("txtamount", "75");
    const std::vector<std::pair<std::pair<std::string, std::string>, std::string>> refusals = {
        {{"account no", "9999"}, "Invalid account no"},
        {{"amount", "ten"}, "please input numeric data"},
        {{"amount", "-5"}, "input must be positive"},
    };
    for (const auto& [typed, message] : refusals) {
        ui.clear();
        screen.enterCell("dbgrid1", 0, typed.first, typed.second);
        EXPECT_THAT(ui.texts(), ElementsAre(message));
    }
    EXPECT_TRUE(screen.grid("dbgrid1").rows.empty());
    line(screen, 0, "7100;Interest Income", "25.5");
    const auto& row = screen.grid("dbgrid1").rows.at(0);
    EXPECT_EQ(row.at("account no"), "7100");
    EXPECT_EQ(row.at("account name"), "Interest Income");
    EXPECT_EQ(row.at("amount"), "25.50");
    EXPECT_EQ(screen.field("txtunbalance").value, "49.50");
}

TEST_F(MiscReceiptTest, aForeignReceiptPostsItsLinesAtTheReceiptRate) {
    auto& screen = open();
    screen.run("&New");
    screen.enter("cmbpayby", "Cash");
    screen.enter("cmbbank", "BDP");
    screen.enter("cmbcurrency", "EUR");
    screen.enter("cmbexrate", "1.0833");
    screen.enter("txtamount", "100.01");
    line(screen, 0, "4000", "60.01");
    line(screen, 1, "4010", "40");
    EXPECT_THAT(save(screen), ElementsAre("Receipt complete"));
    const auto& shown = *screen.shownReceipt();
    EXPECT_EQ(shown.exchangeRate, 1.0833);
    // 100.01 × 1.0833 = 108.34 against 65.01 (60.01) and 43.33 (40.00): 'F' lines, each
    // in the receipt's currency at the rate its own amounts imply.
    std::vector<std::string> lines;
    for (const auto& row : db().query("SELECT accno, Currency, amount, base_amount, ledgertype "
                                      "FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
                                      {shown.glFkey}))
        lines.push_back(row["accno"].textOr() + " " + row["Currency"].textOr() + " " +
                        services::FormatAmount(row["amount"].numberOr()) + " " +
                        services::FormatAmount(row["base_amount"].numberOr()) + " " +
                        row["ledgertype"].textOr());
    EXPECT_THAT(lines, ElementsAre("1020 EUR 100.01 108.34 F", "4000 EUR 60.01 65.01 F",
                                   "4010 EUR 40.00 43.33 F"));
    expectCleanBooks();
}

TEST_F(MiscReceiptTest, editModeRewritesTheReferencesAndAVoidReversesTheJournal) {
    auto& screen = entered();
    ASSERT_THAT(save(screen), ElementsAre("Receipt complete"));
    const std::string fkey = screen.shownReceipt()->fkey;
    screen.run("&Edit mode");
    EXPECT_THROW(screen.enter("txtamount", "1"), framework::ScreenError);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    screen.enter("txtpayer", "O'Brien Hardware");
    screen.enter("txtremark", "interest for November");
    EXPECT_THAT(save(screen), ElementsAre("Update receipt complete"));
    EXPECT_EQ(text("SELECT payer FROM Receipt_misc_header_table WHERE fkey = ?", {fkey}),
              "O'Brien Hardware");

    ui.queueAnswer(true);
    ui.clear();
    screen.run("&Void Receipt");
    EXPECT_THAT(ui.texts(), ElementsAre("Are you sure to void this receipt?",
                                        "Receipt " + screen.shownReceipt()->docno + " is void."));
    EXPECT_EQ(number("SELECT SUM(base_amount) FROM GL_transaction_table WHERE fkey = ? "
                     "AND accno = '1000'",
                     {screen.shownReceipt()->glFkey}),
              0);
    EXPECT_EQ(screen.field("chkvoid").value, "1");
    expectCleanBooks();

    ui.clear();
    screen.run("&Edit mode");
    EXPECT_THAT(ui.texts(), ElementsAre(screen.shownReceipt()->docno + " was void."));
    EXPECT_EQ(screen.mode(), Mode::Browse);
}

// Walking by the order of saving, going to a number, leaving "&Edit mode", and the links.
TEST_F(MiscReceiptTest, savedReceiptsAreWalkedFoundAndLinked) {
    auto& first = entered();
    ASSERT_THAT(save(first), ElementsAre("Receipt complete"));
    auto& screen = entered();
    screen.enter("txtrcno", "BANK-INT-12");
    ASSERT_THAT(save(screen), ElementsAre("Receipt complete"));
    const auto number = [&] { return screen.field("txtdocno").value; };
    EXPECT_EQ(number(), "MR-26-00002");
    const std::vector<std::pair<std::string, std::string>> walk = {
        {"&Previous record", "MR-26-00001"}, {"&Previous record", "MR-26-00001"},
        {"&Next record", "MR-26-00002"},     {"&Next record", "MR-26-00002"},
        {"&Previous record", "MR-26-00001"}, {"&Last record", "MR-26-00002"}};
    for (const auto& [caption, expected] : walk) {
        screen.run(caption);
        EXPECT_EQ(number(), expected) << caption;
    }

    // Moving away from an edit asks first; Yes saves it.
    screen.run("&Edit mode");
    screen.enter("txtremark", "December interest");
    ui.queueAnswer(true);
    ui.clear();
    screen.run("&Previous record");
    EXPECT_THAT(ui.texts(), ElementsAre("Do you want to save editing?", "Update receipt complete"));
    EXPECT_EQ(number(), "MR-26-00001");
    EXPECT_EQ(text("SELECT remark FROM Receipt_misc_header_table WHERE docno = 'MR-26-00002'"),
              "December interest");

    arclass.ARform_misc_goto_docno("MR-26-00002");
    EXPECT_EQ(screen.shownReceipt()->receiptNo, "BANK-INT-12");
    ui.clear();
    arclass.ARform_misc_goto_docno("MR-26-00009");
    EXPECT_THAT(ui.texts(), ElementsAre("Document no. MR-26-00009 not found"));

    notifications.clear();
    screen.run("&G/L Record");
    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 2u);
    EXPECT_EQ(notifications[0].formx, "G/L Ledger Review");
    EXPECT_EQ(notifications[0].docnox, screen.shownReceipt()->glFkey);
    EXPECT_EQ(notifications[1].docnox, "A/R Miscellaneous Receipt,MR-26-00002,0");
}

TEST_F(MiscReceiptTest, aFailedSaveLeavesNothingAndKeepsWhatWasTyped) {
    const int failures = expectAllOrNothing(
        {"Receipt_misc_header_table", "Receipt_misc_transaction_table", "GL_header_table",
         "GL_transaction_table", "Balance_table", "Balance_period_table",
         "Next_number_fkey_table", "Docno_master_table"},
        [&] {
            auto& screen = entered();
            screen.run("&Save");
            if (lastSaid() != "Add new receipt failed") return;
            EXPECT_EQ(screen.field("txtdocno").value, "** New **");
            EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 2u);
            EXPECT_EQ(screen.field("txtamount").value, "150.00");
        },
        "Add new receipt failed", "Receipt complete");
    EXPECT_GT(failures, 5);
    EXPECT_EQ(receipts(), 1);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
