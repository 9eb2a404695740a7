// The prepayment screen on the demo company, opened by ARclass as the host opens it, on
// 6 December 2026 (fiscal year 2026, period 12): its checks, what a save writes and posts,
// the void and its refusals, a save or void failing part way, walking and the links.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "matching/ARform_prepayment.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptRecords.h"
#include "services/DateFormat.h"
#include "support/ScreenFixture.h"

namespace keltro::matching {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Typed = std::vector<std::pair<std::string, std::string>>;

// Every table a prepayment's save or void may change.
const std::vector<std::string> kBooks = {
    "Receipt_header_table", "Receipt_transaction_table", "AR_header_table",
    "AR_transaction_table", "GL_header_table",           "GL_transaction_table",
    "Balance_table",        "Balance_period_table",      "Account_currency_table",
    "Next_number_fkey_table", "Docno_master_table",      "Customer_table"};

class PrepaymentTest : public test::ScreenFixture {
protected:
    ARform_prepayment& open() {
        arclass.showform_ARform_prepayment();
        return dynamic_cast<ARform_prepayment&>(*arclass.referencedScreen("ARform_prepayment"));
    }

    // A new entry: cash into petty cash from customer 1002, then `typed` over it.
    ARform_prepayment& enter(const Typed& typed, const std::string& amount = "250") {
        ARform_prepayment& screen = open();
        screen.run("&New");
        for (const auto& [name, text] :
             Typed{{"cmbcustno", "1002"}, {"cmbpayby", "Cash"}, {"cmbcash", "1000"},
                   {"txtrcamount", amount}})
            screen.enter(name, text);
        for (const auto& [name, text] : typed) screen.enter(name, text);
        return screen;
    }

    // Saves the entry; its number, or "" when it was not saved.
    std::string save(ARform_prepayment& screen) {
        ui.clear();
        screen.run("&Save");
        if (lastSaid() != "Add new Prepayment complete") return "";
        return screen.field("txtdocno").value;
    }

    std::string saved(const Typed& typed, const std::string& amount = "250") {
        auto& screen = enter(typed, amount);
        const std::string docno = save(screen);
        EXPECT_NE(docno, "") << ::testing::PrintToString(ui.texts());
        return docno;
    }

    std::optional<receipts::ReceiptHeader> header(const std::string& docno) {
        return receipts::findReceiptByDocno(db(), docno, "rpp");
    }

    // "gross open currency void" of the prepayment's open credit line.
    std::string openCredit(const std::string& fkey) {
        const auto row = db().queryOne(
            "SELECT * FROM AR_transaction_table WHERE fkey = ? AND pay_item = '1'", {fkey});
        if (!row) return "none";
        return services::FormatAmount((*row)["gross_amount"].numberOr()) + " " +
               services::FormatAmount((*row)["open_amount"].numberOr()) + " " +
               (*row)["Currency"].textOr() + ((*row)["void"].booleanOr(false) ? " void" : "");
    }

    double owing(const std::string& customer) {
        return number("SELECT owing_balance FROM Customer_table WHERE customer_no = ?", {customer});
    }
};

TEST_F(PrepaymentTest, everyCheckRefusesInOrderBeforeAnythingIsWritten) {
    const auto check = [](const char* bank, const char* no, const char* date) {
        return Typed{{"cmbpayby", "Check"}, {"cmbcash", ""}, {"cmbbank", bank}, {"txtcheck", no},
                     {"txtcheckdate", date}};
    };
    const auto eur = [](const char* rate) {
        return Typed{{"cmbcurrency", "EUR"}, {"cmbexrate", rate}};
    };
    const std::pair<Typed, std::string> cases[] = {
        {{{"txtrcamount", ""}}, "please specify receipt amount"},
        // "0" is no amount at all, not a negative one.
        {{{"txtrcamount", "0"}}, "please specify receipt amount"},
        {{{"txtrcamount", "ten"}}, "receipt amount is invalid"},
        {{{"txtrcamount", "-5"}}, "receipt amount must be positive"},
        {{{"txtrcamount", "-5"}, {"cmbcustno", ""}}, "receipt amount must be positive"},
        {{{"txtrcdate", ""}, {"cmbcustno", ""}}, "please specify receipt date"},
        {{{"cmbcustno", ""}, {"cmbpayby", ""}}, "please specify customer"},
        {{{"cmbcustno", "7777"}}, "customer_no invalid value"},
        {{{"cmbpayby", ""}, {"cmbcurrency", ""}}, "please specify pay by"},
        {{{"cmbpayby", "Pay Later"}}, "please specify pay by"},
        {{{"cmbcash", ""}}, "please specify cash account or bank code"},
        {check("", "", ""), "please specify bank code"},
        {check("FNB", "", ""), "please specify check number"},
        {check("FNB", "881", ""), "please specify check date"},
        {{{"cmbcash", ""}, {"cmbbank", "XYZ"}}, "Bank code XYZ is invalid."},
        {{{"cmbpayby", "AMEX"}, {"cmbcurrency", ""}},
         "No Account Payable account for AMEX.\nCheck its setting in Credit card master."},
        {{{"cmbcurrency", ""}, {"cmbperiod", ""}}, "please specify currency"},
        {{{"cmbcurrency", "CHF"}}, "CHF is invalid"},
        {eur(""), "please specify exchange rate"},
        {eur("0"), "exchange rate is invalid"},
        {eur("abc"), "exchange rate is invalid"},
        {{{"cmbperiod", ""}, {"cmbfyear", ""}}, "please specify period"},
        {{{"cmbfyear", ""}}, "please specify fiscal year"},
        {{{"txtrcdate", "04/01/2027"}}, "Fiscal period/year is out of working period."},
    };
    const auto before = rowsOf(kBooks);
    for (const auto& [typed, message] : cases) {
        SCOPED_TRACE(message);
        auto& screen = enter(typed);
        EXPECT_EQ(save(screen), "");
        EXPECT_THAT(ui.texts(), ElementsAre(message));
        EXPECT_EQ(screen.field("txtdocno").value, "** New **");
    }
    EXPECT_EQ(rowsOf(kBooks), before);
}

// Each way of paying posts the cash side debited against the liability credited: the
// customer's own liability account, else the module's; 'A' lines in the base currency,
// 'F' lines with base amounts at the prepayment's rate in a foreign one.
TEST_F(PrepaymentTest, aSavePostsTheCashSideAgainstTheLiability) {
    db().execute("UPDATE Customer_table SET prepayment_accno = '2000' WHERE customer_no = '1002'");
    struct Case {
        const char* what;
        Typed typed;
        std::string amount;
        std::vector<std::string> journal;
        std::string credit;
        std::optional<double> rate;
        std::string liability;
    };
    const Case cases[] = {
        {"cash, the customer's own liability account", {}, "250",
         {"1000 USD 250.00 250.00 A ", "2000 USD 250.00 250.00 A "}, "-250.00 -250.00 USD",
         std::nullopt, "2000"},
        {"a cheque from a customer without one: the module's",
         {{"cmbcustno", "1006"}, {"cmbpayby", "Check"}, {"cmbcash", ""}, {"cmbbank", "FNB"},
          {"txtcheck", "4471"}, {"txtcheckdate", "04/12/2026"}},
         "1,200.10",
         {"1010 USD 1,200.10 1,200.10 A ", "2100 USD 1,200.10 1,200.10 A "},
         "-1,200.10 -1,200.10 USD", std::nullopt, "2100"},
        {"a card: its payable account is debited",
         {{"cmbcustno", "1005"}, {"cmbpayby", "VISA"}, {"cmbcash", ""}}, "80",
         {"2050 USD -80.00 -80.00 A ", "2100 USD 80.00 80.00 A "}, "-80.00 -80.00 USD",
         std::nullopt, "2100"},
        {"euros into the euro bank at 1.1012",
         {{"cmbcustno", "1003"}, {"cmbcash", ""}, {"cmbbank", "BDP"}, {"cmbexrate", "1.1012"}},
         "1000.55",
         {"1020 EUR 1,000.55 1,101.81 F 1.1012", "2100 EUR 1,000.55 1,101.81 F 1.1012"},
         "-1,000.55 -1,000.55 EUR", 1.1012, "2100"},
    };
    const double owingBefore = owing("1002") + owing("1003") + owing("1005") + owing("1006");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto& screen = enter(c.typed, c.amount);
        const std::string docno = save(screen);
        ASSERT_NE(docno, "") << ::testing::PrintToString(ui.texts());
        const auto h = header(docno);
        ASSERT_TRUE(h);
        EXPECT_EQ(screen.field("txtfkey").value, h->fkey) << "the saved one is shown";
        EXPECT_EQ(h->exchangeRate, c.rate);
        EXPECT_EQ(h->prepaymentLiabilityAccno, c.liability);
        EXPECT_EQ(screen.field("txtliability_account").value, c.liability);
        EXPECT_EQ(journalLines(h->glFkey), c.journal);
        EXPECT_EQ(openCredit(h->fkey), c.credit);
        EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = ?", {h->glFkey}),
                  "AR-PREPAY");
    }
    EXPECT_EQ(owing("1002") + owing("1003") + owing("1005") + owing("1006"), owingBefore)
        << "a prepayment leaves the owing balance alone";
    expectCleanBooks();
}

TEST_F(PrepaymentTest, aVoidReversesTheJournalTodayAndClosesTheOpenCredit) {
    const std::string docno = saved({{"txtrcdate", "20/11/2026"}});
    const auto before = header(docno);
    const double owingBefore = owing("1002");

    auto& screen = open();
    ui.clear();
    ui.queueAnswer(false);
    screen.run("&Void");
    EXPECT_THAT(ui.texts(), ElementsAre("Are you sure to void this prepayment?"));
    EXPECT_FALSE(header(docno)->isVoid);

    ui.clear();
    ui.queueAnswer(true);
    screen.run("&Void prepayment");
    EXPECT_THAT(ui.texts(), ElementsAre("Are you sure to void this prepayment?",
                                        "Prepayment " + docno + " is void."));
    const auto after = header(docno);
    EXPECT_TRUE(after->isVoid);
    EXPECT_EQ(after->voidDate, test::kDemoToday);
    EXPECT_EQ(screen.field("chkvoid").value, "1");
    EXPECT_EQ(openCredit(after->fkey), "-250.00 -250.00 USD void");
    EXPECT_THAT(receipts::openItems(db(), "1002", std::nullopt), IsEmpty());

    const auto reversal = db().queryOne(
        "SELECT * FROM GL_header_table WHERE fkey <> ? AND Source = 'AR-PREPAY'", {before->glFkey});
    ASSERT_TRUE(reversal);
    const std::string reversalKey = (*reversal)["fkey"].textOr();
    EXPECT_EQ((*reversal)["gldate"].date(), test::kDemoToday) << "dated today, not the 20th";
    EXPECT_EQ((*reversal)["period"].textOr(), "12");
    EXPECT_EQ((*reversal)["Description"].textOr(), "void invoice " + docno);
    EXPECT_EQ(journalLines(reversalKey),
              (std::vector<std::string>{"1000 USD -250.00 -250.00 A ",
                                        "2100 USD -250.00 -250.00 A "}));
    const auto reversed =
        db().queryOne("SELECT * FROM GL_header_table WHERE fkey = ?", {before->glFkey});
    EXPECT_TRUE((*reversed)["Reverse"].booleanOr(false));
    EXPECT_EQ((*reversed)["remark"].textOr(), "Reversed by " + (*reversal)["docno"].textOr());
    EXPECT_EQ(owing("1002"), owingBefore);
    expectCleanBooks();
}

// Already void, or consumed by an invoice: refused before the question, nothing changed.
TEST_F(PrepaymentTest, aVoidOrConsumedPrepaymentIsNotVoided) {
    const std::string consumed = saved({});
    db().execute("UPDATE Receipt_header_table SET prepayment_invoice_no = 'INV-26-00007' "
                 "WHERE docno = ?",
                 {consumed});
    const std::string voided = saved({});
    db().execute("UPDATE Receipt_header_table SET void = TRUE WHERE docno = ?", {voided});
    const std::pair<std::string, std::string> cases[] = {
        {consumed, "Prepayment was applied to invoiced.\nUse Sales invoice Entry to edit prepayment."},
        {voided, voided + " was void."},
    };
    const auto before = rowsOf(kBooks);
    for (const auto& [docno, message] : cases) {
        auto& screen = open();
        arclass.ARform_prepayment_goto_docno(docno);
        ui.clear();
        ui.queueAnswer(true);
        screen.run("&Void prepayment");
        EXPECT_THAT(ui.texts(), ElementsAre(message));
    }
    EXPECT_EQ(rowsOf(kBooks), before);
}

// The database fails at the first, second, third … write of a save, then of a void: each
// time nothing of it survives and the screen says it failed.
TEST_F(PrepaymentTest, aSaveOrVoidThatFailsAnywhereLeavesNothing) {
    const Typed euros = {{"cmbcustno", "1003"}, {"cmbcash", ""}, {"cmbbank", "BDP"},
                         {"cmbexrate", "1.1012"}};
    const int saveFailures = expectAllOrNothing(
        kBooks,
        [&] {
            auto& screen = enter(euros, "99.99");
            screen.run("&Save");
            if (lastSaid() == "Add new prepayment failed") {
                EXPECT_EQ(screen.field("txtdocno").value, "** New **");
            }
        },
        "Add new prepayment failed", "Add new Prepayment complete");
    EXPECT_GT(saveFailures, 5);
    const std::string docno = text("SELECT docno FROM Receipt_header_table WHERE doctype = 'rpp'");
    ASSERT_NE(docno, "");
    const int voidFailures = expectAllOrNothing(
        kBooks,
        [&] {
            auto& screen = open();
            arclass.ARform_prepayment_goto_docno(docno);
            ui.queueAnswer(true);
            screen.run("&Void prepayment");
        },
        "Void Prepayment failed", "Prepayment " + docno + " is void.");
    EXPECT_GT(voidFailures, 5);
    expectCleanBooks();
}

// Walking by the order of saving, prepayments only; going to a number or key; the links
// to the journal, the printout and the customer's back orders; leaving an entry.
TEST_F(PrepaymentTest, walksPrepaymentsOnlyAndAnswersItsLinks) {
    const std::string first = saved({});
    db().execute("INSERT INTO Receipt_header_table (company, docno, doctype, fkey) "
                 "VALUES (1, 'RC-26-00001', 'rc', '1rc-0')");
    const std::string second = saved({{"cmbcustno", "1005"}});
    auto& screen = open();
    const auto shown = [&] { return screen.field("txtdocno").value; };
    EXPECT_EQ(shown(), second);
    std::vector<std::string> walked;
    for (const char* caption : {"&Previous record", "&Previous record", "&Next record",
                                "&Next record", "&Last record"}) {
        screen.run(caption);
        walked.push_back(shown());
    }
    EXPECT_THAT(walked, ElementsAre(first, first, second, second, second));

    arclass.ARform_prepayment_goto_docno(first);
    EXPECT_EQ(screen.field("cmbcustno").value, "1002");
    arclass.ARform_prepayment_goto_fkey(header(second)->fkey);
    EXPECT_EQ(shown(), second);
    ui.clear();
    arclass.ARform_prepayment_goto_docno("RC-26-00001");
    EXPECT_THAT(ui.texts(), ElementsAre("Document no. RC-26-00001 not found"));

    arclass.ARform_prepayment_goto_docno(first);
    notifications.clear();
    screen.run("&G/L Record");
    screen.run("&Preview");
    ASSERT_EQ(notifications.size(), 2u);
    EXPECT_EQ(notifications[0].formx, "G/L Ledger Review");
    EXPECT_EQ(notifications[0].docnox, header(first)->glFkey);
    EXPECT_EQ(notifications[1].docnox, "A/R Prepayment," + first + ",0");
    const auto printed = db().query(notifications[1].arg2);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0]["customer_name"].textOr(), "O'Brien Hardware");

    db().execute("INSERT INTO Order_transaction_table (company, docno, soldto, quantity_backorder) "
                 "VALUES (1, 'SO-1', '1002', 3), (1, 'SO-2', '1002', 0), (1, 'SO-3', '1005', 4)");
    screen.run("Sales Order");
    EXPECT_TRUE(screen.isWindowOpen(ARform_prepayment::kSalesOrderWindow));
    ASSERT_EQ(screen.grid("dbgrid_order").rows.size(), 1u);
    EXPECT_EQ(screen.grid("dbgrid_order").rows[0].at("order no"), "SO-1");

    // Leaving an entry with a customer and an amount offers to save it.
    screen.run("&New");
    screen.enter("cmbcustno", "1002");
    screen.enter("cmbpayby", "Cash");
    screen.enter("cmbcash", "1000");
    screen.enter("txtrcamount", "40");
    ui.clear();
    ui.queueAnswer(true);
    screen.run("&New");
    EXPECT_THAT(ui.texts(),
                ElementsAre("Do you want to save new entry?", "Add new Prepayment complete"));
    EXPECT_EQ(screen.mode(), framework::Mode::Browse);
    EXPECT_EQ(screen.field("txtrcamount").value, "40.00");
    EXPECT_NE(shown(), second);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::matching
