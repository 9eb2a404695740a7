// What a save of the invoice screen writes: the document's rows with their tax groups and
// signs, its journal and balances; edits that repost, voids that reverse, and the credit
// limit. After every save the books audit finds nothing.
#include <charconv>

#include "invoice/InvoiceScreenFixture.h"
#include "store/ArDocument.h"

namespace keltro::invoice::testing {
namespace {

using framework::Mode;
using ::testing::ElementsAre;

class InvoicePostingTest : public InvoiceScreenTest {
protected:
    // "accno amount base ledger currency" of each journal line; an amount is the shortest
    // text that reads back as the same number, so the comparison stays exact.
    std::vector<std::string> journal(const std::string& glKey) {
        const auto exact = [](double v) {
            char buf[32];
            char* end = std::to_chars(buf, std::end(buf), v, std::chars_format::fixed).ptr;
            return std::string(buf, end);
        };
        std::vector<std::string> lines;
        for (const auto& r : db().query(
                 "SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno", {glKey}))
            lines.push_back(r["accno"].textOr() + " " + exact(r["amount"].numberOr()) + " " +
                            exact(r["base_amount"].numberOr()) + " " + r["ledgertype"].textOr() +
                            " " + r["Currency"].textOr());
        return lines;
    }

    double owing(const std::string& customer) {
        return number("SELECT owing_balance FROM Customer_table WHERE customer_no = ?", {customer});
    }
    double receivableBalance() {
        return number("SELECT amount FROM Balance_table WHERE accno = '1100' AND ledgertype = 'A'");
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

// An invoice in the base currency, then one in euros whose journal needs a rounding line;
// without the print right, neither can be printed.
TEST_F(InvoicePostingTest, anInvoicePostsReceivableSalesAndTaxAForeignOneRoundsAndPrints) {
    auto& screen = open();
    enterAndSave(screen, "1001", {{"Copier paper", "100"}, {"Binders", "50"},
                                  {"Gift basket", "200", "LX", "4090"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    for (const auto& [name, value] : {std::pair{"txtdocno", "INV-26-00001"}, {"txtfkey", "1ar-1"},
                                      {"txtglfkey", "1gl-1"}, {"txttotal", "379.00"}})
        EXPECT_EQ(screen.field(name).value, value) << name;

    // Receivable +gross, sales +taxable (one line for both paper lines), tax per
    // authority; the bundle's account spreads 70/30.
    EXPECT_THAT(journal("1gl-1"),
                ElementsAre("1100 379 379 A USD", "4000 150 150 A USD", "2200 9 9 A USD",
                            "4090 200 200 A USD", "4090 -200 -200 A USD", "4000 140 140 A USD",
                            "4020 60 60 A USD", "2220 20 20 A USD"));
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = '1gl-1'"), "");
    EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = '1gl-1'"), "AR-INVOICE");
    const auto document = store::loadDocument(db(), "1ar-1");
    ASSERT_TRUE(document);
    const auto& h = document->header;
    EXPECT_EQ(std::tie(h.glFkey, h.created.user, h.term.paymentTerm),
              std::tuple("1gl-1", "admin", "30"));
    EXPECT_EQ(h.term.duedays, 30);
    const auto& l = document->lines.at(0);
    EXPECT_EQ(std::tie(l.payItem, l.grossAmount, l.openAmount, l.arAccno),
              std::tuple("1", 106.0, 106.0, "1100"));
    ASSERT_EQ(l.taxes.size(), 1u);
    EXPECT_EQ(std::tie(l.taxes[0].authority, l.taxes[0].taxAmount), std::tuple("STATE", 6.0));
    EXPECT_EQ(owing("1001"), 379);
    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].docnox, "A/R Invoice,INV-26-00001,0");

    // 10.12 at 6 %: tax 0.61, gross 10.73; at 1.1012 the base amounts are 11.82 against
    // 11.14 + 0.67, so the journal needs 0.01 on the realized gain account.
    enterAndSave(screen, "1003", {{"Espresso cups", "10.12"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_THAT(journal("1gl-2"), ElementsAre("1110 10.73 11.82 F EUR", "4000 10.12 11.14 F EUR",
                                              "2200 0.61 0.67 F EUR", "7000 0.01 0.01 A USD"));
    EXPECT_EQ(text("SELECT customer_no FROM GL_transaction_table WHERE accno = '7000'"), "1003");
    EXPECT_EQ(number("SELECT exchange_rate FROM AR_header_table WHERE fkey = ?", {"1ar-2"}),
              1.1012);
    EXPECT_EQ(number("SELECT exchange_rate FROM GL_header_table WHERE fkey = ?", {"1gl-2"}),
              1.1012);
    expectCleanBooks();

    db().execute("UPDATE User_right_table SET Print = FALSE WHERE userid = 'admin'");
    notifications.clear();
    open().run("&Preview");  // on the last invoice
    EXPECT_TRUE(notifications.empty()) << "without the print right";
}

// The tax examples typed through the grid (rounding is InvoiceTaxTest's), a code of six
// authorities, and the tax details window.
TEST_F(InvoicePostingTest, taxPerAuthorityInBothEntryModesUpToSixAuthoritiesAndItsDetails) {
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

    // A code of six authorities: the line stores five, the journal posts all six.
    addTaxCode("SIX", std::vector(6, std::tuple(1.0, 0.0, false)));
    enterAndSave(screen, "1001", {{"Six taxes", "100", "SIX"}});
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(text("SELECT tax_authority5 FROM AR_transaction_table WHERE fkey = ?", {"1ar-2"}),
              "SIX-5");
    EXPECT_EQ(number("SELECT tax_amount FROM AR_transaction_table WHERE fkey = ?", {"1ar-2"}), 6);
    EXPECT_EQ(number("SELECT amount FROM GL_transaction_table WHERE accno = '2200' AND fkey = ?",
                     {"1gl-2"}),
              6);
    EXPECT_EQ(screen.grid("grid_tax").rows.size(), 5u);  // as stored

    // Edits in the tax details recompute the line and the totals.
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
    EXPECT_EQ(number("SELECT gross_amount FROM AR_transaction_table WHERE fkey = ?", {"1ar-3"}),
              114.5);
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, aCreditNoteIsStoredNegativeShownAndPrintedPositive) {
    auto& screen = open(std::string("cn"));
    enterAndSave(screen, "1002", {{"Returned chairs", "100"}});
    EXPECT_EQ(lastSaid(), "Add new Credit Note complete");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Credit Note");
    EXPECT_EQ(cell(screen, 0, "gross amount"), "106.00");
    EXPECT_EQ(screen.field("txttotal").value, "106.00");
    const auto line = db().queryOne("SELECT * FROM AR_transaction_table");
    for (const auto& [column, amount] :
         {std::pair{"gross_amount", -106}, {"open_amount", -106}, {"tax_amount1", -6}})
        EXPECT_EQ((*line)[column].numberOr(), amount) << column;
    for (const auto& [column, value] :
         {std::pair{"Source", "AR-INVOICE"}, {"User", "admin"}, {"user_created", ""}})
        EXPECT_EQ((*line)[column].textOr(), value) << column;
    EXPECT_EQ(text("SELECT remark FROM GL_header_table"), "Credit Note no. CN-26-00001");
    EXPECT_THAT(journal("1gl-1"),
                ElementsAre("1100 -106 -106 A USD", "4000 -100 -100 A USD", "2200 -6 -6 A USD"));
    EXPECT_EQ(owing("1002"), 0);

    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].formx, "ActiveReport");
    EXPECT_EQ(notifications[0].docnox, "A/R Credit Note,CN-26-00001,0");
    const auto printed = db().query(notifications[0].arg2);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0]["gross_amount"].numberOr(), 106);
    EXPECT_EQ(printed[0]["tax_amount"].numberOr(), 6);
    for (const auto& [column, value] : {std::pair{"customer_name", "O'Brien Hardware"},
                                        {"invoice_date", "06/12/2026"}, {"sales_accno", "4000"}})
        EXPECT_EQ(printed[0][column].textOr(), value) << column;
    expectCleanBooks();
}

TEST_F(InvoicePostingTest, anEditRepostsOnlyWhenLinesRateOrPeriodChangeAndAFailedOneKeepsAll) {
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
    EXPECT_EQ(text("SELECT GLFKEY FROM AR_header_table WHERE fkey = ?", {"1ar-1"}), "1gl-3");
    EXPECT_EQ(text("SELECT Description FROM GL_header_table WHERE fkey = '1gl-1'"),
              "Edit invoice INV-26-00001");
    EXPECT_TRUE(
        scalar("SELECT Reverse FROM GL_header_table WHERE fkey = '1gl-1'").booleanOr(false));
    EXPECT_EQ(number("SELECT gross_amount FROM AR_transaction_table"), 212);
    EXPECT_EQ(text("SELECT user_updated FROM AR_transaction_table"), "admin");
    EXPECT_EQ(receivableBalance(), 212);

    screen.run("&Edit mode");
    screen.enter("cmbperiod", "11");
    screen.run("&Save");
    EXPECT_EQ(journals(), 5);
    EXPECT_EQ(number("SELECT period FROM AR_transaction_table"), 11);

    // A failed edit keeps what was typed, and the books.
    screen.run("&Edit mode");
    screen.enterCell("dbgrid1", 0, "sales account", "");
    screen.run("&Save");
    EXPECT_THAT(ui.texts(), ::testing::IsSupersetOf({std::string("please specify sales account"),
                                                     std::string("Update invoice failed")}));
    EXPECT_EQ(screen.mode(), Mode::Edit);
    EXPECT_EQ(cell(screen, 0, "sales account"), "");
    EXPECT_EQ(text("SELECT sales_accno FROM AR_transaction_table"), "4000");
    EXPECT_EQ(journals(), 5);
    expectCleanBooks();
}

// A paid or void document can be neither edited nor voided; a document of the sales
// module is voided there; a void reverses the journal, the balances and the owing balance.
TEST_F(InvoicePostingTest, paidVoidOrForeignDocumentsRefuseEditAndVoid) {
    auto& screen = open();
    enterAndSave(screen, "1002", {{"Desk", "1000", "S1", "4010"}});
    store::ArDocument sales{.header = {.doctype = "inv", .fkey = "1inv-1", .docno = "SI-26-00001",
                                       .customerNo = "1001", .source = "SO-INVOICE", .paid = true}};
    store::insertDocument(db(), sales);
    db().execute("UPDATE Next_number_fkey_table SET fkeyno = 2 WHERE doctype = 'inv'");

    arclass.ARform_invoice_goto_fkey("1inv-1");
    EXPECT_EQ(screen.field("cmbdoctype").value, "Sale Invoice");
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Cannot void this document. Original source is Sales Order");

    screen.run("View &Invoice");
    store::setPaidState(db(), "1ar-1", store::PaidState::PartlyPaid);
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), "INV-26-00001 was paid.");
    EXPECT_EQ(screen.mode(), Mode::Browse);
    EXPECT_FALSE(screen.command("&Edit mode").checked);
    EXPECT_TRUE(screen.field("txtremark").locked);
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
    const double owingBefore = owing("1002");
    screen.run("&Void Invoice");
    EXPECT_EQ(lastSaid(), "Void invoice complete");
    EXPECT_EQ(screen.field("chkvoid").value, "1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_transaction_table WHERE void = TRUE"), 1);
    EXPECT_EQ(text("SELECT Description FROM GL_header_table WHERE fkey = '1gl-1'"),
              "Void invoice INV-26-00001");
    EXPECT_EQ(receivableBalance(), 0);
    EXPECT_EQ(owing("1002"), owingBefore);
    screen.run("&Edit mode");
    EXPECT_EQ(lastSaid(), "INV-26-00001 was void.");
    EXPECT_TRUE(screen.field("txtremark").locked);
    EXPECT_TRUE(screen.grid("dbgrid1").locked);
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
    EXPECT_EQ(owing("1002"), 0);

    screen.enterCell("dbgrid1", 0, "taxable amount", "4000");  // 4,240.00
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Add new Invoice complete");
    EXPECT_EQ(owing("1002"), 4240);

    ui.clear();
    enterAndSave(screen, "1002", {{"Chair", "800", "S1", "4010"}});  // 848.00: 5,088.00
    EXPECT_EQ(screen.statusText(), "Credit limit = 5,000 : Balance owing = 4,240.00");
    EXPECT_EQ(lastSaid(), "Add new invoice failed");
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::invoice::testing
