// What a save of the invoice screen writes: the document's rows with their tax groups and
// signs, its journal and balances; edits that repost, voids that reverse, and the credit
// limit. After every save the books audit finds nothing.
#include "invoice/InvoiceScreenFixture.h"
#include "store/ArDocument.h"

namespace keltro::invoice::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

struct JournalRow {
    std::string accno;
    double amount;
    double baseAmount;
    std::string ledger;
    std::string currency;

    bool operator==(const JournalRow&) const = default;
};

void PrintTo(const JournalRow& r, std::ostream* os) {
    *os << r.accno << " " << r.amount << "/" << r.baseAmount << " " << r.ledger << " "
        << r.currency;
}

class InvoicePostingTest : public InvoiceScreenTest {
protected:
    std::vector<JournalRow> journal(const std::string& glKey) {
        std::vector<JournalRow> rows;
        for (const auto& row : db().query("SELECT * FROM GL_transaction_table WHERE fkey = ? "
                                          "ORDER BY lineno",
                                          {glKey}))
            rows.push_back({row["accno"].textOr(), row["amount"].numberOr(),
                            row["base_amount"].numberOr(), row["ledgertype"].textOr(),
                            row["Currency"].textOr()});
        return rows;
    }

    std::string glKeyOf(const std::string& fkey) {
        return text("SELECT GLFKEY FROM AR_header_table WHERE fkey = ?", {fkey});
    }

    // A tax code of the given authorities (rate, min, taxable flag), all owed to 2200.
    void addTaxCode(const std::string& code,
                    const std::vector<std::tuple<double, double, bool>>& authorities) {
        db().execute("INSERT INTO Tax_code_table (tax_code, description, transaction_type, "
                     "[default]) VALUES (?, ?, 'sales', FALSE)",
                     {code, code});
        int item = 0;
        for (const auto& [rate, minimum, taxable] : authorities) {
            const std::string authority = code + "-" + std::to_string(++item);
            db().execute("INSERT INTO Tax_authority_table (tax_authority, Rate, min_charged, "
                         "acc_liability) VALUES (?, ?, ?, '2200')",
                         {authority, rate, minimum > 0 ? db::Value(minimum) : db::Value()});
            db().execute("INSERT INTO Tax_code_details_table (tax_code, item_no, tax_authority, "
                         "transaction_type, taxable) VALUES (?, ?, ?, 'sales', ?)",
                         {code, item, authority, taxable});
        }
    }
};

TEST_F(InvoicePostingTest, anInvoicePostsReceivableSalesAndTax) {
    auto& screen = open();
    enterAndSave(screen, "1001",
                 {{"Copier paper", "100"},
                  {"Binders", "50"},
                  {"Gift basket", "200", "LX", "4090"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(screen.field("txtdocno").value, "INV-26-00001");
    EXPECT_EQ(screen.field("txtfkey").value, "1ar-1");
    EXPECT_EQ(screen.field("txtglfkey").value, "1gl-1");
    EXPECT_EQ(screen.field("txttotal").value, "379.00");

    // Receivable +gross, sales +taxable (one line for both paper lines), tax per
    // authority; the bundle's account spreads 70/30.
    EXPECT_THAT(journal("1gl-1"),
                ElementsAre(JournalRow{"1100", 379, 379, "A", "USD"},
                            JournalRow{"4000", 150, 150, "A", "USD"},
                            JournalRow{"2200", 9, 9, "A", "USD"},
                            JournalRow{"4090", 200, 200, "A", "USD"},
                            JournalRow{"4090", -200, -200, "A", "USD"},
                            JournalRow{"4000", 140, 140, "A", "USD"},
                            JournalRow{"4020", 60, 60, "A", "USD"},
                            JournalRow{"2220", 20, 20, "A", "USD"}));
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = '1gl-1'"), "");
    EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = '1gl-1'"), "AR-INVOICE");
    const auto document = store::loadDocument(db(), "1ar-1");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->header.glFkey, "1gl-1");
    EXPECT_EQ(document->header.created.user, "admin");
    EXPECT_EQ(document->header.term.paymentTerm, "30");
    EXPECT_EQ(document->header.term.duedays, 30);
    const auto& line = document->lines.at(0);
    EXPECT_EQ(line.payItem, "1");
    EXPECT_EQ(line.grossAmount, 106);
    EXPECT_EQ(line.openAmount, 106);
    EXPECT_EQ(line.arAccno, "1100");
    ASSERT_EQ(line.taxes.size(), 1u);
    EXPECT_EQ(line.taxes[0].authority, "STATE");
    EXPECT_EQ(line.taxes[0].taxAmount, 6);
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1001'"), 379);
    expectCleanBooks();
}

// The tax examples typed through the grid (rounding is InvoiceTaxTest's).
TEST_F(InvoicePostingTest, taxPerAuthorityInBothEntryModes) {
    addTaxCode("T10", {{10, 0, false}});
    addTaxCode("C58", {{5, 0, true}, {8, 0, false}});
    addTaxCode("M1", {{1, 2, false}});
    struct Case {
        TypedLine line;
        const char* gross;
        const char* taxable;
        const char* tax;
        std::vector<double> authorityTax;
    };
    const Case cases[] = {
        {{"taxable 10 %", "100", "T10"}, "110.00", "100.00", "10.00", {10}},
        {{"gross 10 %", "110", "T10", "4000", true}, "110.00", "100.00", "10.00", {10}},
        {{"compound", "100", "C58"}, "113.40", "100.00", "13.40", {5, 8.4}},
        {{"minimum", "50", "M1"}, "52.00", "50.00", "2.00", {2}},
        {{"upper bound", "6000", "LX"}, "6,500.00", "6,000.00", "500.00", {500}},
    };
    auto& screen = open();
    startDocument(screen, "1001");
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const auto& c = cases[row];
        typeLine(screen, row, c.line);
        SCOPED_TRACE(c.line.description);
        EXPECT_EQ(cell(screen, row, "gross amount"), c.gross);
        EXPECT_EQ(cell(screen, row, "taxable amount"), c.taxable);
        EXPECT_EQ(cell(screen, row, "tax amount"), c.tax);
        std::vector<double> taxes;
        for (const auto& tax : screen.taxTable().rowsOf(std::to_string(row + 1)))
            taxes.push_back(tax.taxAmount);
        EXPECT_EQ(taxes, c.authorityTax);
    }
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, aTaxCodeOfSixAuthoritiesStoresFiveAndPostsSix) {
    addTaxCode("SIX", {{1, 0, false}, {1, 0, false}, {1, 0, false}, {1, 0, false},
                       {1, 0, false}, {1, 0, false}});
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Six taxes", "100", "SIX"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(text("SELECT tax_authority5 FROM AR_transaction_table"), "SIX-5");
    EXPECT_EQ(number("SELECT tax_amount FROM AR_transaction_table"), 6);
    EXPECT_EQ(number("SELECT amount FROM GL_transaction_table WHERE accno = '2200'"), 6);
    EXPECT_EQ(screen.grid("grid_tax").rows.size(), 5u);  // as stored
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, taxDetailsEditsRecomputeTheLineAndTotals) {
    addTaxCode("C58", {{5, 0, true}, {8, 0, false}});
    auto& screen = open();
    startDocument(screen, "1001");
    typeLine(screen, 0, {"Compound", "100", "C58"});
    screen.run("Tax &Details");
    EXPECT_TRUE(screen.isWindowOpen("Tax Details Window"));
    EXPECT_FALSE(screen.isWindowOpen("Tax Summary Window"));
    screen.enterCell("grid_tax", 1, "rate", "10");  // 10 % of 105
    EXPECT_EQ(screen.grid("grid_tax").rows[1].at("tax amount"), "10.50");
    EXPECT_EQ(cell(screen, 0, "tax amount"), "15.50");
    EXPECT_EQ(cell(screen, 0, "gross amount"), "115.50");
    screen.enterCell("grid_tax", 0, "tax amount", "4.00");
    EXPECT_EQ(screen.field("txttax").value, "14.50");
    EXPECT_EQ(screen.field("txttotal").value, "114.50");
    screen.enterCell("grid_tax", 0, "rate", "-1");
    EXPECT_EQ(lastSaid(), "please input numeric data");
    EXPECT_EQ(screen.grid("grid_tax_summary").rows.size(), 2u);
    screen.run("&Save");
    EXPECT_EQ(number("SELECT gross_amount FROM AR_transaction_table"), 114.5);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, aCreditNoteIsStoredNegativeShownAndPrintedPositive) {
    auto& screen = open(std::string("cn"));
    enterAndSave(screen, "1002", {{"Returned chairs", "100"}});
    EXPECT_EQ(lastSaid(), "Add new Credit Note complete");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Credit Note");
    EXPECT_EQ(cell(screen, 0, "gross amount"), "106.00");
    EXPECT_EQ(screen.field("txttotal").value, "106.00");
    EXPECT_EQ(number("SELECT gross_amount FROM AR_transaction_table"), -106);
    EXPECT_EQ(number("SELECT open_amount FROM AR_transaction_table"), -106);
    EXPECT_EQ(number("SELECT tax_amount1 FROM AR_transaction_table"), -6);
    EXPECT_EQ(text("SELECT Source FROM AR_transaction_table"), "AR-INVOICE");
    EXPECT_EQ(text("SELECT [User] FROM AR_transaction_table"), "admin");
    EXPECT_EQ(text("SELECT user_created FROM AR_transaction_table"), "");
    EXPECT_EQ(text("SELECT remark FROM GL_header_table"), "Credit Note no. CN-26-00001");
    EXPECT_THAT(journal("1gl-1"), ElementsAre(JournalRow{"1100", -106, -106, "A", "USD"},
                                              JournalRow{"4000", -100, -100, "A", "USD"},
                                              JournalRow{"2200", -6, -6, "A", "USD"}));
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1002'"), 0);

    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].formx, "ActiveReport");
    EXPECT_EQ(notifications[0].docnox, "A/R Credit Note,CN-26-00001,0");
    const auto printed = db().query(notifications[0].arg2);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0]["customer_name"].textOr(), "O'Brien Hardware");
    EXPECT_EQ(printed[0]["gross_amount"].numberOr(), 106);
    EXPECT_EQ(printed[0]["tax_amount"].numberOr(), 6);
    EXPECT_EQ(printed[0]["invoice_date"].textOr(), "06/12/2026");
    EXPECT_EQ(printed[0]["sales_accno"].textOr(), "4000");
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, withoutThePrintRightThereIsNoPrintout) {
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Paper", "10"}});
    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].docnox, "A/R Invoice,INV-26-00001,0");
    db().execute("UPDATE User_right_table SET Print = FALSE WHERE userid = 'admin'");
    notifications.clear();
    auto& again = open();
    again.run("&Preview");
    EXPECT_TRUE(notifications.empty());
}

// 10.12 at 6 %: tax 0.61, gross 10.73; at 1.1012 the base amounts are 11.82 against
// 11.14 + 0.67, so the journal needs 0.01 on the realized gain account.
TEST_F(InvoicePostingTest, aForeignInvoiceGetsARoundingLine) {
    auto& screen = open();
    enterAndSave(screen, "1003", {{"Espresso cups", "10.12"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_THAT(journal("1gl-1"), ElementsAre(JournalRow{"1110", 10.73, 11.82, "F", "EUR"},
                                              JournalRow{"4000", 10.12, 11.14, "F", "EUR"},
                                              JournalRow{"2200", 0.61, 0.67, "F", "EUR"},
                                              JournalRow{"7000", 0.01, 0.01, "A", "USD"}));
    EXPECT_EQ(text("SELECT customer_no FROM GL_transaction_table WHERE accno = '7000'"), "1003");
    EXPECT_EQ(number("SELECT exchange_rate FROM AR_header_table"), 1.1012);
    EXPECT_EQ(number("SELECT exchange_rate FROM GL_header_table"), 1.1012);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, anEditRepostsOnlyWhenLinesRateOrPeriodChange) {
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Copier paper", "100"}});
    const auto journals = [&] { return count("SELECT COUNT(*) FROM GL_header_table"); };

    screen.run("&Edit mode");
    ASSERT_EQ(screen.mode(), Mode::Edit);
    EXPECT_TRUE(screen.field("cmbcustno").locked);
    EXPECT_TRUE(screen.field("txtinvdate").locked);
    EXPECT_FALSE(screen.field("txtremark").locked);
    screen.enter("txtremark", "Deliver to the back door");
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Update Invoice complete");
    EXPECT_EQ(journals(), 1);
    EXPECT_EQ(text("SELECT remark FROM AR_header_table"), "Deliver to the back door");

    screen.run("&Edit mode");
    screen.enterCell("dbgrid1", 0, "taxable amount", "200");
    ui.queueAnswer(true);
    screen.run("&Edit mode");  // leaving: "Do you want to save editing?"
    EXPECT_EQ(lastSaid(), "Update Invoice complete");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_EQ(journals(), 3);  // the reversal and the new journal
    EXPECT_EQ(glKeyOf("1ar-1"), "1gl-3");
    EXPECT_EQ(text("SELECT Description FROM GL_header_table WHERE fkey = '1gl-1'"),
              "Edit invoice INV-26-00001");
    EXPECT_TRUE(db().queryOne("SELECT Reverse FROM GL_header_table WHERE fkey = '1gl-1'")
                    ->at(0).booleanOr(false));
    EXPECT_EQ(number("SELECT gross_amount FROM AR_transaction_table"), 212);
    EXPECT_EQ(text("SELECT user_updated FROM AR_transaction_table"), "admin");
    EXPECT_EQ(number("SELECT amount FROM Balance_table WHERE accno = '1100' AND "
                     "ledgertype = 'A'"),
              212);

    screen.run("&Edit mode");
    screen.enter("cmbperiod", "11");
    screen.run("&Save");
    EXPECT_EQ(journals(), 5);
    EXPECT_EQ(number("SELECT period FROM AR_transaction_table"), 11);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, aFailedEditKeepsWhatWasTypedAndTheBooks) {
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Copier paper", "100"}});
    screen.run("&Edit mode");
    screen.enterCell("dbgrid1", 0, "sales account", "");
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ::testing::IsSupersetOf({std::string("please specify sales account"),
                                                     std::string("Update invoice failed")}));
    EXPECT_EQ(screen.mode(), Mode::Edit);
    EXPECT_EQ(cell(screen, 0, "sales account"), "");
    EXPECT_EQ(text("SELECT sales_accno FROM AR_transaction_table"), "4000");
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 1);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, voidOrPaidDocumentsCannotBeEdited) {
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Copier paper", "100"}});
    store::setPaidState(db(), "1ar-1", store::PaidState::PartlyPaid);
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), "INV-26-00001 was paid.");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_FALSE(screen.command("&Edit mode").checked);
    EXPECT_TRUE(screen.field("txtremark").locked);

    store::setPaidState(db(), "1ar-1", store::PaidState::Unpaid);
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Void invoice complete");
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), "INV-26-00001 was void.");
    EXPECT_TRUE(screen.field("txtremark").locked);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
}

TEST_F(InvoicePostingTest, voidRefusesInItsOrderThenReversesEverything) {
    auto& screen = open();
    enterAndSave(screen, "1002", {{"Desk", "1000", "S1", "4010"}});
    store::ArDocument sales{};
    sales.header.doctype = "inv";
    sales.header.fkey = "1inv-1";
    sales.header.docno = "SI-26-00001";
    sales.header.customerNo = "1001";
    sales.header.source = "SO-INVOICE";
    sales.header.paid = true;
    store::insertDocument(db(), sales);
    db().execute("UPDATE Next_number_fkey_table SET fkeyno = 2 WHERE doctype = 'inv'");

    arclass.ARform_invoice_goto_fkey("1inv-1");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Sale Invoice");
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Cannot void this document. Original source is Sales Order");

    screen.run("View &Invoice");
    const struct {
        store::PaidState state;
        const char* said;
    } refusals[] = {{store::PaidState::PartlyPaid, "Invoice was partially paid."},
                    {store::PaidState::FullyPaid, "Invoice was paid."}};
    for (const auto& r : refusals) {
        store::setPaidState(db(), "1ar-1", r.state);
        screen.run("&Void Invoice");
        EXPECT_EQ(lastSaid(), r.said);
    }
    store::setPaidState(db(), "1ar-1", store::PaidState::Unpaid);
    const double owing =
        number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1002'");
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Void invoice complete");
    EXPECT_EQ(screen.field("chkvoid").value, "1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_transaction_table WHERE void = TRUE"), 1);
    EXPECT_EQ(text("SELECT Description FROM GL_header_table WHERE fkey = '1gl-1'"),
              "Void invoice INV-26-00001");
    EXPECT_EQ(number("SELECT amount FROM Balance_table WHERE accno = '1100' AND ledgertype = 'A'"),
              0);
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1002'"), owing);
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Invoice was void");
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 2);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, theCreditLimitRefusesAndOwingBalanceFollows) {
    auto& screen = open();
    enterAndSave(screen, "1002", {{"Conference table", "5000", "S1", "4010"}});  // 5,300.00
    EXPECT_THAT(ui.texts(), ElementsAre("Credit sales amount exceeds credit limit",
                                        "Add new invoice failed"));
    EXPECT_EQ(screen.statusText(), "Credit limit = 5,000 : Balance owing = 0.00");
    EXPECT_EQ(screen.mode(), Mode::New);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 0);
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1002'"), 0);

    screen.enterCell("dbgrid1", 0, "taxable amount", "4000");  // 4,240.00
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1002'"), 4240);

    ui.clear();
    enterAndSave(screen, "1002", {{"Chair", "800", "S1", "4010"}});  // 848.00: 5,088.00
    EXPECT_EQ(screen.statusText(), "Credit limit = 5,000 : Balance owing = 4,240.00");
    EXPECT_EQ(lastSaid(), "Add new invoice failed");
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::invoice::testing
