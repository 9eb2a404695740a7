// Matching on the demo company: credits settled against debits of one customer, what the
// documents and the journal show afterwards, the checks that refuse a save, and a save
// that fails part way leaving nothing behind.
#include "matching/ARform_matching.h"
#include "receipts/ReceiptScreenFixture.h"
#include "support/FailingDatabase.h"
#include "support/TableSnapshot.h"

namespace keltro::matching {
namespace {

using receipts::testing::DocumentState;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Pair;

class MatchingTest : public receipts::testing::ReceiptScreenTest {
protected:
    ARform_matching& openMatching() {
        arclass.showform_ARform_matching();
        return dynamic_cast<ARform_matching&>(*arclass.referencedScreen("ARform_matching"));
    }

    // A new matching for the customer.
    ARform_matching& newMatching(const std::string& customer) {
        auto& screen = openMatching();
        screen.run("&New");
        screen.enter("cmbcustno", customer);
        return screen;
    }

    static std::string cell(const ARform_matching& screen, std::size_t row,
                            const std::string& caption) {
        const auto& cells = screen.grid("dbgrid1").rows.at(row);
        const auto found = cells.find(caption);
        return found == cells.end() ? "" : found->second;
    }

    // The row showing the document.
    static std::size_t rowOf(const ARform_matching& screen, const std::string& docno) {
        const auto& rows = screen.grid("dbgrid1").rows;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].at("invoice no") == docno) return i;
        ADD_FAILURE() << docno << " is not offered";
        return 0;
    }

    void fill(ARform_matching& screen, const std::string& docno) {
        screen.clickCell("dbgrid1", rowOf(screen, docno), "applied amount");
    }

    void enterCell(ARform_matching& screen, const std::string& docno, const std::string& caption,
                   const std::string& text) {
        screen.enterCell("dbgrid1", rowOf(screen, docno), caption, text);
    }

    std::vector<std::string> totals(const ARform_matching& screen) {
        std::vector<std::string> shown;
        for (const char* name : {"txtua_amount", "txtinvoice_base", "txttotal", "label_total_currency"})
            shown.push_back(screen.field(name).value);
        return shown;
    }

    bool saved(ARform_matching& screen) {
        screen.run("&Save");
        return lastSaid() == "Add new Matching complete";
    }

    std::string journalOf(const ARform_matching& screen) { return screen.field("txtglfkey").value; }

    std::int64_t matchings() { return count("SELECT COUNT(*) FROM AR_matching_header_table"); }
};

// Both headers end "fully paid, not paid", as the matching's own statements set them.
TEST_F(MatchingTest, aCreditNoteAppliedInFullSettlesBothDocumentsAndPostsNothing) {
    const std::string invoice = addDocument({.lines = {100}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {100}});
    auto& screen = newMatching("1002");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 2u);
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "document type"), "Credit Note");
    fill(screen, invoice);
    fill(screen, credit);
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "applied amount"), "-100.00");
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "balance"), "0.00");
    EXPECT_EQ(totals(screen), (std::vector<std::string>{"100.00", "100.00", "100.00", "USD"}));
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());

    EXPECT_EQ(screen.field("txtdocno").value, "MC-26-00001");
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, false, true}));
    EXPECT_EQ(paidState(credit), (DocumentState{0, true, false, true}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_matching_transaction_table"), 2);
    EXPECT_DOUBLE_EQ(number("SELECT invoice_balance FROM AR_matching_transaction_table "
                            "WHERE matching_doctype = 'cn'"), 0);
    EXPECT_DOUBLE_EQ(number("SELECT paid_amount FROM AR_transaction_table WHERE docno = ?", {credit}),
                     -100);
    ASSERT_FALSE(journalOf(screen).empty());
    EXPECT_EQ(text("SELECT GLFKEY FROM AR_matching_header_table"), journalOf(screen));
    EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = ?", {journalOf(screen)}),
              "AR-MATCH");
    EXPECT_THAT(journalLines(journalOf(screen)), IsEmpty());
    expectCleanBooks();
}

// An applied amount of the wrong sign is refused; one larger than what the item has left is
// cut back to it, so that no open amount passes zero.
TEST_F(MatchingTest, appliedAmountsKeepTheirItemsSignAndStopAtZero) {
    const std::string invoice = addDocument({.lines = {100}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {40}});
    auto& screen = newMatching("1002");
    ui.clear();
    enterCell(screen, credit, "applied amount", "500");
    enterCell(screen, invoice, "applied amount", "-10");
    EXPECT_EQ(ui.texts(), (std::vector<std::string>(2, "applied amount is invalid.")));
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "applied amount"), "");
    enterCell(screen, credit, "applied amount", "-500");
    enterCell(screen, invoice, "applied amount", "90");
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "applied amount"), "-40.00");
    EXPECT_EQ(cell(screen, rowOf(screen, credit), "balance"), "0.00");
    enterCell(screen, invoice, "applied amount", "40");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_DOUBLE_EQ(number("SELECT open_amount FROM AR_transaction_table WHERE docno = ?", {credit}),
                     0);
    EXPECT_DOUBLE_EQ(
        number("SELECT open_amount FROM AR_transaction_table WHERE docno = ?", {invoice}), 60);
    expectCleanBooks();
}

// Unequal sides are refused and nothing is written; applying part of the invoice then
// leaves its header "paid, not fully paid".
TEST_F(MatchingTest, unequalSidesAreRefusedAndAPartialApplicationLeavesTheInvoiceOpen) {
    const std::string invoice = addDocument({.lines = {100}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {40}});
    auto& screen = newMatching("1002");
    fill(screen, invoice);
    fill(screen, credit);
    for (const char* applied : {"100", "40.01", "39.99"}) {
        enterCell(screen, invoice, "applied amount", applied);
        EXPECT_FALSE(saved(screen)) << applied;
        EXPECT_EQ(lastSaid(), "Unapplied amount must equal Invoice amount");
    }
    EXPECT_EQ(matchings(), 0);
    EXPECT_EQ(screen.field("txtdocno").value, "** New **");

    enterCell(screen, invoice, "applied amount", "40");
    EXPECT_EQ(cell(screen, rowOf(screen, invoice), "balance"), "60.00");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(invoice), (DocumentState{60, false, true, false}));
    EXPECT_EQ(paidState(credit), (DocumentState{0, true, false, true}));
    auto& again = newMatching("1002");
    ASSERT_EQ(again.grid("dbgrid1").rows.size(), 1u);
    EXPECT_EQ(cell(again, 0, "open amount"), "60.00");
    expectCleanBooks();
}

// A 2 % discount is offered while today is on or before its date; taken, it is charged
// to the module's discount account against the receivable.
TEST_F(MatchingTest, aDiscountIsOfferedOnlyUntilItsDateAndPostedWhenTaken) {
    struct Case {
        db::Date discountDate;
        const char* available;
    };
    for (const auto& c : {Case{{2026, 12, 6}, "2.00"}, Case{{2026, 12, 5}, "0.00"}}) {
        addDocument({.customer = "1005", .earlyDiscount = 2.0, .discountDate = c.discountDate});
        auto& screen = newMatching("1005");
        EXPECT_EQ(cell(screen, 0, "discount available"), c.available);
        db().execute("DELETE FROM AR_transaction_table WHERE customer_no = '1005'");
    }
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 6}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {98}});
    auto& screen = newMatching("1002");
    fill(screen, invoice);
    fill(screen, credit);
    EXPECT_EQ(cell(screen, rowOf(screen, invoice), "applied amount"), "98.00");
    EXPECT_EQ(cell(screen, rowOf(screen, invoice), "discount taken"), "2.00");
    EXPECT_EQ(cell(screen, rowOf(screen, invoice), "discount account"), "6100");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_THAT(journalLines(journalOf(screen)),
                ElementsAre("6100 USD 2.00 0.00 A ", "1100 USD -2.00 0.00 A "));
    EXPECT_EQ(text("SELECT userid FROM GL_transaction_table WHERE fkey = ? AND lineno = 1",
                   {journalOf(screen)}),
              "admin");
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, false, true}));
    EXPECT_DOUBLE_EQ(number("SELECT discount_taken FROM AR_transaction_table WHERE docno = ?",
                            {invoice}),
                     2);
    expectCleanBooks();
}

// Euro items taken at their own rate move no account; taken at another rate, the
// difference goes to the realized gain or loss account and the receivable.
TEST_F(MatchingTest, foreignItemsPostAnExchangeDifferenceOnlyWhenTheirRatesDiffer) {
    struct Case {
        double invoiceRate;
        double creditRate;
        std::vector<std::string> journal;
    };
    const Case cases[] = {
        {1.1012, 1.1012, {}},
        // The invoice at 1.5 received at 1.1012: a loss of 39.88 on 100 euros.
        {1.5, 1.1012, {"1110 USD -39.88 0.00 A ", "7010 USD 39.88 0.00 A "}},
        // The credit note at 1.2: the receipt rate is lower, a gain on a credit.
        {1.1012, 1.2, {"1110 USD 9.88 0.00 A ", "7000 USD 9.88 0.00 A "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.invoiceRate + c.creditRate);
        const std::string invoice =
            addDocument({.customer = "1003", .currency = "EUR", .rate = c.invoiceRate});
        const std::string credit = addDocument(
            {.customer = "1003", .doctype = "cn", .currency = "EUR", .rate = c.creditRate});
        auto& screen = newMatching("1003");
        EXPECT_EQ(cell(screen, rowOf(screen, invoice), "receipt exch rate"), "1.1012");
        fill(screen, invoice);
        fill(screen, credit);
        EXPECT_EQ(totals(screen), (std::vector<std::string>{"110.12", "110.12", "100.00", "EUR"}));
        ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
        EXPECT_EQ(journalLines(journalOf(screen)), c.journal);
        EXPECT_DOUBLE_EQ(number("SELECT receipt_exchange_rate FROM AR_matching_transaction_table "
                                "WHERE invoice_no = ?", {invoice}),
                         1.1012);
        EXPECT_EQ(paidState(credit), (DocumentState{0, true, false, true}));
        expectCleanBooks();
    }
}

// A write-off in euros: a base entry at the receipt rate (1.1012) and a euro entry, the
// receivable credited at the documents' rate (1.2012) and the exchange difference on
// everything settled.
TEST_F(MatchingTest, aForeignWriteOffPostsBaseAndCurrencyEntries) {
    const std::string invoice =
        addDocument({.customer = "1003", .currency = "EUR", .rate = 1.2012});
    const std::string credit = addDocument(
        {.customer = "1003", .doctype = "cn", .lines = {90}, .currency = "EUR", .rate = 1.2012});
    auto& screen = newMatching("1003");
    fill(screen, credit);
    enterCell(screen, invoice, "applied amount", "90");
    enterCell(screen, invoice, "write-off", "10");
    enterCell(screen, invoice, "write-off account", "6200");
    EXPECT_EQ(totals(screen), (std::vector<std::string>{"99.11", "99.11", "90.00", "EUR"}));
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    // Write-off 10 at 1.1012; the receivable -12.01 for it at 1.2012, then -9.00 and +9.00
    // for the applied amounts taken 0.10 below their rate; a loss of 10.00 on the
    // invoice's 100 settled and a gain of 9.00 on the credit note's -90.
    EXPECT_THAT(journalLines(journalOf(screen)),
                ElementsAre("6200 USD 11.01 0.00 A ", "1110 USD -12.01 0.00 A ",
                            "7010 USD 10.00 0.00 A ", "7000 USD 9.00 0.00 A ",
                            "6200 EUR 10.00 0.00 F ", "1110 EUR -10.00 0.00 F "));
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, false, true}));
    EXPECT_DOUBLE_EQ(number("SELECT writeoff FROM AR_transaction_table WHERE docno = ?", {invoice}),
                     10);
    expectCleanBooks();
}

// The checks in their order, each with its message; none writes anything.
TEST_F(MatchingTest, eachCheckRefusesTheSaveWithItsMessage) {
    const std::string invoice = addDocument({.lines = {100}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {100}});
    struct Case {
        std::vector<std::pair<std::string, std::string>> cells;  // of the invoice row
        const char* field;
        const char* message;
        const char* creditApplied = nullptr;  // the sides kept equal
    };
    const Case cases[] = {
        {{{"discount taken", "x"}}, nullptr, ": discount taken is invalid"},
        {{{"applied amount", "95"}, {"discount taken", "5"}, {"discount account", ""}}, nullptr,
         ": please specify discount account", "-95"},
        {{{"write-off", "y"}}, nullptr, ": write off is invalid"},
        {{{"applied amount", "97"}, {"write-off", "3"}}, nullptr,
         ": please specify write off account", "-97"},
        {{}, "txtdate", "please specify date"},
        {{}, "cmbcustno", "please specify customer"},
        {{}, "cmbperiod", "please specify period"},
        {{}, "cmbfyear", "please specify fiscal year"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto& screen = newMatching("1002");
        fill(screen, invoice);
        fill(screen, credit);
        for (const auto& [caption, value] : c.cells) enterCell(screen, invoice, caption, value);
        if (c.creditApplied) enterCell(screen, credit, "applied amount", c.creditApplied);
        if (c.field) screen.enter(c.field, "");
        EXPECT_FALSE(saved(screen));
        EXPECT_EQ(lastSaid(), c.field ? std::string(c.message) : invoice + c.message);
    }
    auto& screen = newMatching("1002");
    enterCell(screen, invoice, "applied amount", "abc");
    enterCell(screen, credit, "applied amount", "abc");
    EXPECT_FALSE(saved(screen));
    EXPECT_EQ(lastSaid(), invoice + ": applied amount is invalid");
    db().execute("UPDATE COA_config_table SET activate_working_period = TRUE, "
                 "working_start_fyear = '2027', working_start_period = 1, "
                 "working_end_fyear = '2027', working_end_period = 12");
    auto& outside = newMatching("1002");
    fill(outside, invoice);
    fill(outside, credit);
    EXPECT_FALSE(saved(outside));
    EXPECT_EQ(lastSaid(), "Fiscal period/year is out of working period.");
    EXPECT_EQ(matchings(), 0);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));
}

// Two matchings walked both ways, found by number, linked to their journal and documents.
TEST_F(MatchingTest, savedMatchingsAreWalkedFoundAndLinked) {
    std::vector<std::string> numbers;
    for (double amount : {30.0, 70.0}) {
        const std::string invoice = addDocument({.lines = {amount}});
        const std::string credit = addDocument({.doctype = "cn", .lines = {amount}});
        auto& screen = newMatching("1002");
        fill(screen, invoice);
        fill(screen, credit);
        ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
        numbers.push_back(screen.field("txtdocno").value);
    }
    auto& screen = openMatching();
    EXPECT_EQ(screen.field("txtdocno").value, numbers[1]);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
    screen.run("&Previous record");
    EXPECT_EQ(screen.field("txtdocno").value, numbers[0]);
    EXPECT_EQ(screen.field("txtua_amount").value, "30.00");
    screen.run("&Next record");
    EXPECT_EQ(screen.field("txtdocno").value, numbers[1]);
    arclass.ARform_matching_goto_docno(numbers[0]);
    EXPECT_EQ(screen.field("txtinvoice_base").value, "30.00");
    EXPECT_EQ(cell(screen, 0, "pay item"), "1");
    notifications.clear();
    screen.run("&G/L Record");
    screen.clickCell("dbgrid1", 0, "invoice no");
    screen.run("&A/R Record");
    screen.run("&Preview");
    std::vector<std::pair<std::string, std::string>> asked;
    for (const auto& n : notifications) asked.emplace_back(n.formx, n.docnox);
    EXPECT_THAT(asked, ElementsAre(Pair("G/L Ledger Review", screen.field("txtglfkey").value),
                                   Pair("A/R Invoice Entry", cell(screen, 0, "invoice no")),
                                   Pair("ActiveReport", "A/R Matching," + numbers[0] + ",0")));
    EXPECT_EQ(db().query(notifications.back().arg2).size(), 2u) << "the preview's lines";
    arclass.ARform_matching_goto_docno("MC-99");
    EXPECT_EQ(lastSaid(), "Document no. MC-99 not found");
}

// The database fails at the first, second … write of the save: each time the screen says
// so and every open item, journal, balance and number is as it was.
TEST_F(MatchingTest, aSaveThatFailsAnywhereLeavesEveryOpenItemUnchanged) {
    const std::string invoice = addDocument({.customer = "1003", .currency = "EUR", .rate = 1.5});
    const std::string credit = addDocument(
        {.customer = "1003", .doctype = "cn", .lines = {98}, .currency = "EUR", .rate = 1.4});
    const auto books = [&] {
        return test::tableRows(
            db(), {"AR_matching_header_table", "AR_matching_transaction_table", "AR_header_table",
                   "AR_transaction_table", "GL_header_table", "GL_transaction_table",
                   "Balance_table", "Balance_period_table", "Account_currency_table",
                   "Next_number_fkey_table", "Docno_master_table"});
    };
    const auto before = books();
    int failures = 0;
    for (int failAt = 1; failAt < 200; ++failAt, ++failures) {
        test::FailingDatabase failing(db(), failAt);
        useDatabase(failing);
        ui.clear();
        auto& screen = newMatching("1003");
        fill(screen, credit);
        enterCell(screen, invoice, "applied amount", "98");
        enterCell(screen, invoice, "write-off", "2");
        enterCell(screen, invoice, "write-off account", "6200");
        screen.run("&Save");
        useDatabase(db());
        if (lastSaid() == "Add new Matching complete") break;
        EXPECT_EQ(lastSaid(), "Add new Matching failed") << "write " << failAt;
        EXPECT_EQ(screen.field("txtdocno").value, "** New **");
        EXPECT_EQ(books(), before) << "write " << failAt;
    }
    EXPECT_GT(failures, 8) << "header, lines, open items, flags, journal and balances";
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, false, true}));
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::matching
