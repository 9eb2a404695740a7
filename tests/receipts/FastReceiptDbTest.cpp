// The fast receipt screen: a day's payments into one bank, one journal per line when the
// batch is saved, and the real documents generated from the lines afterwards.
#include "receipts/ARform_fast_receipt.h"
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

// One grid row as a person types it; empty cells are left alone.
struct Row {
    std::string type;
    std::string by = "Cash";
    std::string amount;
    std::string customer;
    std::string invoice;
    std::string accno;
    std::string checkNo;
    std::string checkDate;
    std::string period;
    std::string fyear;
};

class FastReceiptTest : public ReceiptScreenTest {
protected:
    ARform_fast_receipt& fastScreen() {
        arclass.showform_ARform_fastreceipt();
        return dynamic_cast<ARform_fast_receipt&>(*arclass.referencedScreen("ARform_fast_receipt"));
    }

    static void type(ARform_fast_receipt& screen, std::size_t row, const Row& r) {
        const std::vector<std::pair<const char*, std::string>> cells = {
            {"transaction type", r.type}, {"receipt by", r.by},       {"customer no", r.customer},
            {"invoice no", r.invoice},    {"account no", r.accno},    {"check no", r.checkNo},
            {"check date", r.checkDate},  {"period", r.period},       {"fiscal year", r.fyear},
            {"amount", r.amount}};
        for (const auto& [column, text] : cells)
            if (!text.empty()) screen.enterCell("dbgrid1", row, column, text);
    }

    // A new batch into First National Bank with these rows.
    ARform_fast_receipt& batch(const std::string& amount, const std::vector<Row>& rows) {
        auto& screen = fastScreen();
        screen.run("&New");
        screen.enter("cmbbank", "FNB");
        screen.enter("txtrcamount", amount);
        for (std::size_t i = 0; i < rows.size(); ++i) type(screen, i, rows[i]);
        return screen;
    }

    std::vector<std::string> run(ARform_fast_receipt& screen, const std::string& caption) {
        ui.clear();
        screen.run(caption);
        return ui.texts();
    }

    double onAccount(const std::string& accno) {
        return number("SELECT COALESCE(SUM(base_amount), 0) FROM GL_transaction_table WHERE accno = ?",
                      {accno});
    }

    std::int64_t batches() { return count("SELECT COUNT(*) FROM AR_Fast_Receipt_header_table"); }

    // The four kinds of line, a deleted one and one without amount.
    std::vector<Row> fourKinds(const std::string& invoice) {
        return {{.type = "Receipt", .by = "Check", .amount = "98", .customer = "1002",
                 .invoice = invoice, .checkNo = "5521", .checkDate = "05/12/2026"},
                {.type = "Unapplied cash", .amount = "200", .customer = "1002"},
                {.type = "Prepayment", .amount = "300", .customer = "1002"},
                {.type = "Miscellaneous receipt", .amount = "402", .accno = "7100"},
                {.type = "Receipt", .amount = "50", .customer = "1002", .invoice = invoice},
                {.type = "Receipt", .customer = "1002", .invoice = invoice}};
    }

    const DocumentToPay kDiscounted{.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}};
};

TEST_F(FastReceiptTest, aSavedBatchPostsOneJournalPerLineAndSkipsDeletedAndEmptyRows) {
    const std::string invoice = addDocument({});
    auto& screen = batch("1,000", fourKinds(invoice));
    screen.clickCell("dbgrid1", 4, "amount");
    screen.run("&Delete Line");
    EXPECT_EQ(screen.grid("dbgrid1").rows.at(4).at("deleted"), "TRUE");
    EXPECT_THAT(run(screen, "&Save"), ElementsAre("Add new Fast Receipt complete"));

    EXPECT_EQ(screen.mode(), Mode::Browse);
    const auto lines = fastReceiptLines(db(), screen.shownBatch()->fkey);
    ASSERT_EQ(lines.size(), 4u);
    // The bank debited; the receivable (a debit account) lowered, the prepayment liability
    // and the interest income (credit accounts) raised.
    const std::vector<std::vector<std::string>> journals = {
        {"1010 USD 98.00 98.00 A ", "1100 USD -98.00 -98.00 A "},
        {"1010 USD 200.00 200.00 A ", "1100 USD -200.00 -200.00 A "},
        {"1010 USD 300.00 300.00 A ", "2100 USD 300.00 300.00 A "},
        {"1010 USD 402.00 402.00 A ", "7100 USD 402.00 402.00 A "}};
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(journalLines(lines[i].glFkey), journals[i]) << "line " << lines[i].lineno;
    EXPECT_EQ(text("SELECT Description FROM GL_header_table WHERE fkey = ?", {lines[0].glFkey}),
              "O'Brien Hardware Pay Check no 5521");
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = ?", {lines[1].glFkey}),
              "Fast receipt no. " + screen.shownBatch()->docno);
    EXPECT_DOUBLE_EQ(onAccount("1010"), 1000);
    expectCleanBooks();
}

TEST_F(FastReceiptTest, theHeaderChecksStopTheSaveInOrder) {
    struct Case {
        std::function<void(ARform_fast_receipt&)> change;
        std::string message;
    };
    const std::vector<Case> cases = {
        {[](auto& s) { s.enter("txtrcamount", ""); }, "please specify receipt amount"},
        {[](auto& s) { s.enter("txtrcamount", "a lot"); }, "receipt amount is invalid"},
        {[](auto& s) { s.enter("txtrcamount", "-98"); }, "receipt amount must be positive"},
        {[](auto& s) { s.enter("txtrcdate", ""); }, "please specify receipt date"},
        {[](auto& s) { s.enter("cmbbank", ""); }, "Please specify Bank code"},
        {[](auto& s) { s.enter("cmbcurrency", ""); }, "please specify currency"},
        {[](auto& s) {
             s.enter("cmbcurrency", "EUR");
             s.enter("cmbexrate", "");
         },
         "please specify exchange rate"},
        {[](auto& s) {
             s.enter("cmbcurrency", "EUR");
             s.enter("cmbexrate", "0");
         },
         "exchange rate is invalid"},
        {[](auto& s) { s.enter("cmbbank", "ZZZ"); }, "Bank code is invalid"},
        {[](auto& s) { s.enter("cmbbank", "BDP"); },
         "This Bank code does not accept this currency (USD)"},
    };
    const auto before = books();
    for (const auto& c : cases) {
        auto& screen = batch("98", {{.type = "Unapplied cash", .amount = "98", .customer = "1002"}});
        c.change(screen);
        EXPECT_THAT(run(screen, "&Save"), ElementsAre(c.message));
        EXPECT_EQ(screen.mode(), Mode::New);
        EXPECT_EQ(books(), before) << c.message;
        EXPECT_EQ(batches(), 0) << c.message;
    }
}

TEST_F(FastReceiptTest, aLineThatFailsStopsTheWholeSave) {
    struct Case {
        Row row;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{.type = "Receipt", .amount = "98", .customer = "1002"},
         "please specify invoice no for Transaction-type Receipt"},
        {{.type = "Refund", .amount = "98", .customer = "1002"}, "Transaction type is invalid"},
        {{.type = "Unapplied cash", .by = "Check", .amount = "98", .customer = "1002"},
         "please specify check date"},
        {{.type = "Unapplied cash", .by = "Check", .amount = "98", .customer = "1002",
          .checkDate = "31/02/2026"},
         "check date is invalid"},
        {{.type = "Miscellaneous receipt", .amount = "98"}, "please specify account for misc receipt"},
        {{.type = "Unapplied cash", .amount = "98", .customer = "1006"},
         "No Receiveable Account for customer : Lakeside Veterinary Group"},
        {{.type = "Prepayment", .amount = "98", .customer = "1006"},
         "No Prepayment Account for customer : Lakeside Veterinary Group"},
    };
    const auto before = books();
    for (const auto& c : cases) {
        // A good line first: it is rolled back with the rest.
        auto& screen = batch("196", {{.type = "Unapplied cash", .amount = "98", .customer = "1002"},
                                     c.row});
        EXPECT_THAT(run(screen, "&Save"), ElementsAre(c.message, "Add new Fast receipt failed"));
        EXPECT_EQ(screen.field("txtdocno").value, "** New **");
        EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 2u) << "what was typed stays";
        EXPECT_EQ(books(), before) << c.message;
        EXPECT_EQ(batches(), 0) << c.message;
    }
}

TEST_F(FastReceiptTest, aLinePostsInItsOwnPeriodOnlyWhenBothCellsAreFilled) {
    auto& screen = batch("300", {{.type = "Unapplied cash", .amount = "100", .customer = "1002",
                                  .period = "11", .fyear = "2026"},
                                 {.type = "Unapplied cash", .amount = "200", .customer = "1002",
                                  .period = "11"}});
    ASSERT_THAT(run(screen, "&Save"), ElementsAre("Add new Fast Receipt complete"));
    const auto lines = fastReceiptLines(db(), screen.shownBatch()->fkey);
    EXPECT_EQ(number("SELECT period FROM GL_header_table WHERE fkey = ?", {lines[0].glFkey}), 11);
    EXPECT_EQ(number("SELECT period FROM GL_header_table WHERE fkey = ?", {lines[1].glFkey}), 12);
    expectCleanBooks();
}

TEST_F(FastReceiptTest, generatingMakesFourDocumentsOnceAndPostsNothingMore) {
    const std::string invoice = addDocument({});
    auto rows = fourKinds(invoice);
    rows.resize(4);
    auto& screen = batch("1,000", rows);
    ASSERT_THAT(run(screen, "&Save"), ElementsAre("Add new Fast Receipt complete"));
    const auto journalsBefore = count("SELECT COUNT(*) FROM GL_header_table");
    EXPECT_THAT(run(screen, "&Generate actual receipt"), ElementsAre("Generate Receipts complete"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), journalsBefore);
    EXPECT_EQ(screen.field("chkcomplete").value, "1");

    const auto lines = fastReceiptLines(db(), screen.shownBatch()->fkey);
    std::vector<std::string> kinds;
    for (const auto& line : lines) kinds.push_back(line.realDoctype);
    EXPECT_THAT(kinds, ElementsAre("rc", "rc", "rpp", "mrc"));
    const auto receipt = findReceiptByDocno(db(), lines[0].realDocno);
    EXPECT_TRUE(receipt->newFromFast);
    EXPECT_EQ(receipt->fastApplyInvoiceNo, invoice);
    EXPECT_EQ(receipt->glFkey, lines[0].glFkey);
    const auto unapplied = findReceiptByDocno(db(), lines[1].realDocno);
    EXPECT_FALSE(unapplied->newFromFast);
    EXPECT_DOUBLE_EQ(*unapplied->unappliedAmount, 200);
    EXPECT_DOUBLE_EQ(number("SELECT open_amount FROM AR_transaction_table WHERE docno = ?",
                            {unapplied->unappliedDocno}),
                     -200);
    EXPECT_DOUBLE_EQ(number("SELECT open_amount FROM AR_transaction_table WHERE docno = ?",
                            {lines[2].realDocno}),
                     -300);
    EXPECT_EQ(text("SELECT accno FROM Receipt_misc_transaction_table WHERE docno = ?",
                   {lines[3].realDocno}),
              "7100");
    expectCleanBooks();

    const std::string refused = screen.shownBatch()->docno + " is complete.";
    EXPECT_THAT(run(screen, "&Generate actual receipt"), ElementsAre(refused));
    EXPECT_THAT(run(screen, "&Edit mode"), ElementsAre(refused));
    EXPECT_EQ(screen.mode(), Mode::Browse);

    screen.clickCell("dbgrid1", 2, "amount");
    notifications.clear();
    screen.run("&Actual receipt");
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].formx, "A/R Prepayment");
    EXPECT_EQ(notifications[0].docnox, lines[2].realDocno);
}

TEST_F(FastReceiptTest, aGeneratedReceiptIsCompletedWithoutDebitingTheBankTwice) {
    const std::string invoice = addDocument(kDiscounted);
    auto& fast = batch("98", {{.type = "Receipt", .by = "Check", .amount = "98",
                               .customer = "1002", .invoice = invoice, .checkNo = "5521",
                               .checkDate = "05/12/2026"}});
    ASSERT_THAT(run(fast, "&Save"), ElementsAre("Add new Fast Receipt complete"));
    ASSERT_THAT(run(fast, "&Generate actual receipt"), ElementsAre("Generate Receipts complete"));
    const std::string receipt = fastReceiptLines(db(), fast.shownBatch()->fkey)[0].realDocno;

    auto& screen = open();
    arclass.ARform_receipt_goto_docno(receipt);
    EXPECT_EQ(screen.mode(), Mode::New);
    screen.clickCell("dbgrid1", 0, "applied amount");
    ui.clear();
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ElementsAre("Add new Receipt complete"));
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    EXPECT_DOUBLE_EQ(onAccount("1010"), 98) << "the money is in the bank once";
    EXPECT_DOUBLE_EQ(onAccount("6100"), 2);
    EXPECT_DOUBLE_EQ(onAccount("1100"), 0) << "the invoice's 100.00 is settled in full";
    expectCleanBooks();
}

TEST_F(FastReceiptTest, anEditedBatchReversesItsJournalsAndPostsTheNewFigures) {
    const std::string invoice = addDocument({});
    auto& screen = batch("500", {{.type = "Receipt", .amount = "98", .customer = "1002",
                                  .invoice = invoice},
                                 {.type = "Miscellaneous receipt", .amount = "402",
                                  .accno = "7100"}});
    ASSERT_THAT(run(screen, "&Save"), ElementsAre("Add new Fast Receipt complete"));
    const auto before = fastReceiptLines(db(), screen.shownBatch()->fkey);

    screen.run("&Edit mode");
    EXPECT_THROW(screen.enter("txtrcdate", "01/12/2026"), framework::ScreenError);
    screen.clickCell("dbgrid1", 0, "amount");
    screen.run("&Delete Line");
    screen.enterCell("dbgrid1", 1, "amount", "400");
    screen.enterCell("dbgrid1", 2, "transaction type", "Unapplied cash");
    screen.enterCell("dbgrid1", 2, "customer no", "1002");
    screen.enterCell("dbgrid1", 2, "amount", "25");
    screen.enter("txtrcamount", "425");
    EXPECT_THAT(run(screen, "&Save"), ElementsAre("Update Fast Receipt complete"));

    const auto after = fastReceiptLines(db(), screen.shownBatch()->fkey);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].lineno, 2);
    EXPECT_DOUBLE_EQ(after[0].amount, 400);
    EXPECT_EQ(after[1].lineno, 3);
    for (const auto& line : before) {
        EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table WHERE fkey = ? AND Reverse = TRUE",
                        {line.glFkey}),
                  1);
        EXPECT_DOUBLE_EQ(number("SELECT SUM(base_amount) FROM GL_transaction_table WHERE fkey = ? "
                                "AND accno = '1010'",
                                {line.glFkey}),
                         0);
    }
    EXPECT_DOUBLE_EQ(onAccount("1010"), 425);
    EXPECT_DOUBLE_EQ(onAccount("7100"), 400);
    EXPECT_DOUBLE_EQ(number("SELECT receipt_amount FROM AR_Fast_Receipt_header_table"), 425);
    expectCleanBooks();
}

TEST_F(FastReceiptTest, aVoidedBatchGivesTheMoneyBackAndRefusesEverythingAfter) {
    auto& screen = batch("98", {{.type = "Unapplied cash", .amount = "98", .customer = "1002"}});
    ASSERT_THAT(run(screen, "&Save"), ElementsAre("Add new Fast Receipt complete"));
    const std::string docno = screen.shownBatch()->docno;
    ui.queueAnswer(true);
    EXPECT_THAT(run(screen, "&Void Receipt"),
                ElementsAre("Are you sure to void this receipt?", "Fast receipt " + docno + " is void."));
    EXPECT_DOUBLE_EQ(onAccount("1010"), 0);
    EXPECT_THAT(run(screen, "&Edit mode"), ElementsAre(docno + " was void."));
    EXPECT_THAT(run(screen, "&Generate actual receipt"), ElementsAre(docno + " was void."));
    expectCleanBooks();
}

TEST_F(FastReceiptTest, aFailedSaveOrGenerationLeavesNothing) {
    const std::string invoice = addDocument({});
    const std::vector<std::string> tables = {
        "AR_Fast_Receipt_header_table", "AR_Fast_Receipt_transaction_table", "GL_header_table",
        "GL_transaction_table", "Balance_table", "Balance_period_table", "Next_number_fkey_table",
        "Docno_master_table"};
    EXPECT_GT(expectAllOrNothing(
                  tables,
                  [&] {
                      auto& screen = batch("1,000", fourKinds(invoice));
                      screen.run("&Save");
                      if (lastSaid() == "Add new Fast receipt failed") {
                          EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 6u);
                      }
                  },
                  "Add new Fast receipt failed", "Add new Fast Receipt complete"),
              10);
    const std::string docno = text("SELECT docno FROM AR_Fast_Receipt_header_table");
    std::vector<std::string> generated = tables;
    for (const char* table : {"Receipt_header_table", "AR_header_table", "AR_transaction_table",
                              "Receipt_misc_header_table", "Receipt_misc_transaction_table"})
        generated.push_back(table);
    EXPECT_GT(expectAllOrNothing(
                  generated,
                  [&] {
                      auto& screen = fastScreen();
                      arclass.ARform_fastreceipt_goto_docno(docno);
                      screen.run("&Generate actual receipt");
                  },
                  "Generate receipt failed", "Generate Receipts complete"),
              8);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::receipts::testing
