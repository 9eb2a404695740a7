// Entering and saving receipts on the demo company: what the grid offers, what a save
// writes to the documents it pays, the unapplied cash it leaves, and every check that
// refuses a save before anything is written.
#include "receipts/ReceiptScreenFixture.h"

namespace keltro::receipts::testing {
namespace {

using framework::ScreenError;
using ::testing::ElementsAre;

class ReceiptEntryTest : public ReceiptScreenTest {
protected:
    // The unapplied-cash document of the receipt: its number and open amount.
    std::pair<std::string, double> unapplied(const std::string& receiptNo) {
        const auto row = db().queryOne(
            "SELECT h.Unapplied_DOCNO, h.Unapplied_amount, l.open_amount, l.receipt_no "
            "FROM Receipt_header_table h LEFT JOIN AR_transaction_table l "
            "ON l.docno = h.Unapplied_DOCNO WHERE h.docno = ?",
            {receiptNo});
        if ((*row)["Unapplied_DOCNO"].isNull()) return {"", 0};
        EXPECT_EQ((*row)["receipt_no"].textOr(), receiptNo);
        EXPECT_DOUBLE_EQ((*row)["Unapplied_amount"].numberOr(), -(*row)["open_amount"].numberOr());
        return {(*row)["Unapplied_DOCNO"].textOr(), (*row)["open_amount"].numberOr()};
    }

    // Each named field shows its value.
    static void expectFields(const ARform_receipt& screen,
                             const std::vector<std::pair<std::string, std::string>>& fields) {
        for (const auto& [name, value] : fields) EXPECT_EQ(screen.field(name).value, value) << name;
    }

    // Saves; true when the screen says the receipt was added.
    bool saved(ARform_receipt& screen) {
        screen.run("&Save");
        return lastSaid() == "Add new Receipt complete";
    }

    // The row takes its open amount, the cash received is `amount`, and the receipt is saved.
    bool paidInFull(ARform_receipt& screen, std::size_t row, const std::string& amount) {
        screen.clickCell("dbgrid1", row, "applied amount");
        cash(screen, amount);
        return saved(screen);
    }
};

TEST_F(ReceiptEntryTest, theInvoiceToPayComesFirstAndItsCurrencyWithTheLatestRate) {
    const std::string first = addDocument({.customer = "1003", .currency = "EUR", .rate = 1.09});
    const std::string second =
        addDocument({.customer = "1003", .lines = {40, 60}, .currency = "EUR", .rate = 1.1});
    auto& screen = receiptFor(second, "1003");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 3u);
    EXPECT_EQ(cell(screen, 0, "invoice no"), second);
    EXPECT_EQ(cell(screen, 1, "invoice no"), second);
    EXPECT_EQ(cell(screen, 2, "invoice no"), first);
    EXPECT_EQ(cell(screen, 0, "invoice exch rate"), "1.1");
    EXPECT_EQ(screen.invoiceToPay(), "") << "the marker is cleared once offered";
    expectFields(screen, {{"cmbcustname", "Café Müller GmbH"}, {"cmbcurrency", "EUR"},
                          {"cmbexrate", "1.1012"}, {"txtratedate", "05/12/2026"}});
    screen.enter("txtrcamount", "1,000");
    expectFields(screen, {{"txtrcamount", "1,000.00"}, {"txtreceipt_base", "1,101.20"}});

    addDocument({.customer = "1003", .currency = "GBP", .rate = 1.27});
    screen.enter("cmbcustno", "1003");
    EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 4u);
    EXPECT_EQ(screen.field("cmbcurrency").value, "EUR") << "the customer's, the lines differ";
    screen.enter("cmbinvoice_currency", "GBP");
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 1u);
    EXPECT_EQ(cell(screen, 0, "currency"), "GBP");
    screen.enter("cmbinvoice_currency", "*");
    EXPECT_EQ(screen.grid("dbgrid1").rows.size(), 4u);
    screen.pick("cmbexrate", 1);
    expectFields(screen, {{"cmbexrate", "1.0987"}, {"txtratedate", "29/11/2026"},
                          {"txtreceipt_base", "1,098.70"}});
    screen.enter("cmbcurrency", "USD");
    expectFields(screen, {{"cmbexrate", ""}, {"txtreceipt_base", "1,000.00"}});
    EXPECT_THROW(apply(screen, 4, "applied amount", "1"), ScreenError) << "no new rows";

    screen.enter("cmbcustname", "O'Brien Hardware");
    EXPECT_EQ(screen.field("cmbcustno").value, "1002");
    EXPECT_TRUE(screen.grid("dbgrid1").rows.empty());
}

TEST_F(ReceiptEntryTest, anExactReceiptLeavesNoUnappliedCashOneCentMoreLeavesOne) {
    struct Case {
        const char* amount;
        double unappliedOpen;
    };
    const Case cases[] = {{"100.00", 0}, {"100.01", -0.01}};
    for (const auto& c : cases) {
        const std::string invoice = addDocument({});
        auto& screen = receiptFor(invoice);
        cash(screen, c.amount);
        screen.clickCell("dbgrid1", 0, "applied amount");
        EXPECT_EQ(cell(screen, 0, "applied amount"), "100.00");
        ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
        const std::string receiptNo = screen.field("txtdocno").value;
        const auto [docno, open] = unapplied(receiptNo);
        EXPECT_EQ(docno.empty(), c.unappliedOpen == 0) << c.amount;
        EXPECT_DOUBLE_EQ(open, c.unappliedOpen) << c.amount;
        EXPECT_EQ(screen.field("txtunapplied_docno").value, docno);
        EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    }
    EXPECT_EQ(text("SELECT doctype FROM AR_header_table WHERE docno = 'UA-26-00001'"), "ua");
    expectCleanBooks();
}

TEST_F(ReceiptEntryTest, creditNoteRowsTakeOnlyNegativeAmounts) {
    const std::string invoice = addDocument({.lines = {100}});
    const std::string credit = addDocument({.doctype = "cn", .lines = {40}});
    auto& screen = receiptFor(credit);
    ASSERT_EQ(cell(screen, 0, "invoice no"), credit);
    EXPECT_EQ(cell(screen, 0, "document type"), "Credit Note");
    EXPECT_EQ(cell(screen, 0, "open amount"), "-40.00");
    apply(screen, 0, "applied amount", "40");
    EXPECT_EQ(lastSaid(), "applied amount is invalid.");
    EXPECT_EQ(cell(screen, 0, "applied amount"), "");
    apply(screen, 0, "applied amount", "-40");
    cash(screen, "60");
    screen.run("&Save");
    EXPECT_EQ(lastSaid(), "Total amount must >= 0") << "the credit note alone";

    apply(screen, 1, "applied amount", "100");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(invoice), (DocumentState{0, true, true, true}));
    EXPECT_EQ(paidState(credit), (DocumentState{0, true, true, true}));
    EXPECT_DOUBLE_EQ(
        number("SELECT paid_amount FROM AR_transaction_table WHERE docno = ?", {credit}), -40);
    EXPECT_DOUBLE_EQ(number("SELECT SUM(amount) FROM GL_transaction_table WHERE accno = '1000'"),
                     60);
    expectCleanBooks();
}

TEST_F(ReceiptEntryTest, aDiscountOnlyRowReducesTheOpenAmountByTheDiscount) {
    const std::string invoice =
        addDocument({.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}});
    auto& screen = receiptFor(invoice);
    EXPECT_EQ(cell(screen, 0, "discount available"), "2.00");
    apply(screen, 0, "discount taken", "2");
    EXPECT_EQ(cell(screen, 0, "applied amount"), "98.00");
    EXPECT_EQ(cell(screen, 0, "discount account"), "6100;Discounts Allowed") << "the module's";
    apply(screen, 0, "applied amount", "0");
    EXPECT_EQ(cell(screen, 0, "net balance"), "98.00");
    cash(screen, "10");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(invoice), (DocumentState{98, false, true, false}));
    const auto line = db().queryOne("SELECT * FROM Receipt_transaction_table");
    EXPECT_DOUBLE_EQ((*line)["applied_amount"].numberOr(-1), 0);
    EXPECT_DOUBLE_EQ((*line)["discount_taken"].numberOr(), 2);
    EXPECT_EQ((*line)["discount_accno"].textOr(), "6100");
    EXPECT_DOUBLE_EQ((*line)["invoice_balance"].numberOr(), 98);
    EXPECT_DOUBLE_EQ(
        number("SELECT discount_taken FROM AR_transaction_table WHERE docno = ?", {invoice}), 2);
    EXPECT_DOUBLE_EQ(number("SELECT SUM(amount) FROM GL_transaction_table WHERE accno = '6100'"),
                     2);
    EXPECT_EQ(unapplied(screen.field("txtdocno").value).second, -10);
    expectCleanBooks();
}

// Two pay items paid by two receipts dated after the discount date, which is past: the
// discount is judged by today, not by the receipt date. "&New" keeps the receipt date,
// while the host's receipt takes today.
TEST_F(ReceiptEntryTest, twoPayItemsPaidByEarlierReceiptsAfterTheDiscountDate) {
    const std::string invoice =
        addDocument({.lines = {100, 50}, .date = {2026, 11, 20}, .earlyDiscount = 2.0,
                     .discountDate = db::Date{2026, 11, 30}});
    auto& screen = receiptFor(invoice);
    screen.enter("txtrcdate", "25/11/2026");
    EXPECT_EQ(screen.field("cmbperiod").value, "11");
    screen.enter("cmbcustno", "1002");
    EXPECT_EQ(cell(screen, 0, "discount available"), "0.00");
    screen.clickCell("dbgrid1", 0, "applied amount");
    EXPECT_EQ(cell(screen, 0, "applied amount"), "100.00");
    EXPECT_EQ(cell(screen, 0, "discount taken"), "0.00");
    cash(screen, "100");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(invoice, "1"), (DocumentState{0, true, true, false}));
    EXPECT_EQ(paidState(invoice, "2"), (DocumentState{50, false, true, false}));

    screen.run("&New");
    expectFields(screen, {{"txtrcdate", "25/11/2026"}, {"cmbperiod", "11"},
                          {"txtrcamount", "0.00"}, {"txtrcno", ""}});
    ASSERT_EQ(screen.grid("dbgrid1").rows.size(), 1u) << "a paid line is no longer offered";
    EXPECT_EQ(cell(screen, 0, "pay item"), "2");
    ASSERT_TRUE(paidInFull(screen, 0, "50")) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(paidState(invoice, "2"), (DocumentState{0, true, true, true}));
    expectCleanBooks();
    expectFields(receiptFor(invoice), {{"txtrcdate", "06/12/2026"}, {"cmbperiod", "12"}});
}

TEST_F(ReceiptEntryTest, everyCheckRefusesBeforeAnythingIsWrittenAsDoesAMissingRight) {
    const std::string invoice = addDocument({});
    using Typed = std::vector<std::pair<std::string, std::string>>;
    const auto check = [](const char* bank, const char* no, const char* date) {
        return Typed{{"cmbpayby", "Check"}, {"cmbcash", ""}, {"cmbbank", bank}, {"txtcheck", no},
                     {"txtcheckdate", date}};
    };
    const auto eur = [](const char* rate) {
        return Typed{{"cmbcurrency", "EUR"}, {"cmbexrate", rate}};
    };
    const std::pair<Typed, std::string> cases[] = {
        {{{"cmbcurrency", ""}}, "please specify currency"},
        {{{"cmbcurrency", "CHF"}}, "CHF is invalid"},
        {eur(""), "please specify exchange rate"},
        {eur("0"), "exchange rate is invalid"},
        {eur("-1.1"), "exchange rate is invalid"},
        {eur("abc"), "exchange rate is invalid"},
        {{{"txtrcamount", ""}}, "please specify receipt amount"},
        {{{"txtrcamount", "0"}}, "please specify receipt amount"},
        {{{"txtrcamount", "ten"}}, "receipt amount is invalid"},
        {{{"txtrcamount", "-5"}}, "receipt amount must be positive"},
        {{{"txtrcamount", "99.99"}}, "Receipt amount cannot less than Total amount."},
        {{{"txtrcdate", ""}}, "please specify receipt date"},
        {{{"cmbcustno", ""}}, "please specify customer"},
        {{{"cmbpayby", ""}}, "please specify pay by"},
        {{{"cmbcash", ""}}, "please specify cash account or bank code"},
        {check("", "", ""), "please specify bank code"},
        {check("FNB", "", ""), "please specify check number"},
        {check("FNB", "881", ""), "please specify check date"},
        {check("XYZ", "881", "01/12/2026"), "Bank code XYZ is invalid."},
        {check("BDP", "881", "01/12/2026"), "This Bank code does not accept this currency (USD)"},
        {{{"cmbpayby", "AMEX"}},
         "No Asset Account for AMEX.\nCheck its setting in Credit card master."},
        {{{"cmbcustno", "7777"}}, "customer_no invalid value"},
        {{{"cmbperiod", ""}}, "please specify period"},
        {{{"cmbfyear", ""}}, "please specify fiscal year"},
        {{{"txtrcdate", "04/01/2027"}}, "Fiscal period/year is out of working period."},
    };
    for (const auto& [typed, message] : cases) {
        auto& screen = receiptFor(invoice);
        cash(screen, "100");
        screen.clickCell("dbgrid1", 0, "applied amount");
        for (const auto& [name, text] : typed) screen.enter(name, text);
        ui.clear();
        screen.run("&Save");
        EXPECT_THAT(ui.texts(), ElementsAre(message));
        EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_header_table"), 0);
    EXPECT_EQ(paidState(invoice), (DocumentState{100, false, false, false}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 1) << "the invoice's";

    // Without the update right the host cannot even start a receipt.
    db().execute("UPDATE User_right_table SET [Update] = FALSE WHERE userid = 'admin' "
                 "AND form = 'ARform_receipt'");
    auto& screen = receiptFor(invoice);
    EXPECT_EQ(screen.mode(), framework::Mode::Browse);
    EXPECT_TRUE(screen.grid("dbgrid1").rows.empty());
    EXPECT_THROW(screen.enter("txtrcamount", "100"), ScreenError);
}

// A card receipt in the base currency posts neither exchange nor rounding line; two rows
// on one discount account make one line.
TEST_F(ReceiptEntryTest, aCardReceiptPostsNoExchangeLineAndOneDiscountAccountOneLine) {
    auto& screen = receiptFor(addDocument({.lines = {250}}));
    screen.enter("cmbpayby", "VISA");
    screen.enter("txtrcamount", "250");
    screen.clickCell("dbgrid1", 0, "applied amount");
    ASSERT_TRUE(saved(screen)) << ::testing::PrintToString(ui.texts());
    const std::string journal = screen.field("txtglfkey").value;
    ASSERT_FALSE(journal.empty());
    EXPECT_THAT(journalLines(journal),
                ElementsAre("1040 USD 250.00 250.00 A ", "1100 USD -250.00 -250.00 A "));
    const auto header = db().queryOne("SELECT * FROM Receipt_header_table");
    EXPECT_EQ((*header)["payby"].textOr(), "VISA");
    EXPECT_TRUE((*header)["bank_code"].isNull());
    EXPECT_TRUE((*header)["exchange_rate"].isNull());
    EXPECT_EQ((*header)["GLFKEY"].textOr(), journal);
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = ?", {journal}),
              "receipt no. " + screen.field("txtdocno").value);

    const DocumentToPay withDiscount{.earlyDiscount = 2.0, .discountDate = db::Date{2026, 12, 16}};
    const std::string first = addDocument(withDiscount);
    addDocument(withDiscount);
    auto& both = receiptFor(first);
    both.clickCell("dbgrid1", 0, "applied amount");
    both.clickCell("dbgrid1", 1, "applied amount");
    EXPECT_EQ(both.field("txttotal").value, "196.00");
    cash(both, "196");
    ASSERT_TRUE(saved(both)) << ::testing::PrintToString(ui.texts());
    const auto rows = db().query("SELECT amount FROM GL_transaction_table WHERE accno = '6100'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(rows[0]["amount"].numberOr(), 4);
    expectCleanBooks();
}

TEST_F(ReceiptEntryTest, aSalesInvoiceSetsTheSalesModulesFlagsToo) {
    const std::string invoice =
        addDocument({.doctype = "inv", .lines = {60, 40}, .sourceForm = "Sales Invoice Entry"});
    const std::string fkey = text("SELECT fkey FROM AR_header_table WHERE docno = ?", {invoice});
    db().execute(
        "INSERT INTO SO_header_table (company, doctype, docno, fkey, customer_no, paid, "
        "fully_paid) VALUES (1, 'inv', ?, ?, '1002', FALSE, FALSE)",
        {invoice, fkey});
    const auto salesFlags = [&] {
        const auto row = db().queryOne("SELECT paid, fully_paid FROM SO_header_table");
        return std::pair{(*row)["paid"].booleanOr(false), (*row)["fully_paid"].booleanOr(false)};
    };
    auto& screen = receiptFor(invoice);
    EXPECT_EQ(cell(screen, 0, "sales invoice"), "1");
    ASSERT_TRUE(paidInFull(screen, 0, "60"));
    EXPECT_EQ(salesFlags(), std::pair(true, false));
    screen.run("&New");
    ASSERT_TRUE(paidInFull(screen, 0, "40"));
    EXPECT_EQ(salesFlags(), std::pair(true, true));
}

}  // namespace
}  // namespace keltro::receipts::testing
