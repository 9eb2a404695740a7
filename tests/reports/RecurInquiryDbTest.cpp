// The recurring inquiry on the demo company: which definitions the due list offers and on
// what day, the invoices and journals a generation writes, and that a generation which
// fails anywhere leaves nothing of the whole run behind.
#include <algorithm>
#include <memory>
#include <sstream>

#include "host/Automation.h"
#include "host/Json.h"
#include "reports/ARreport_recur_inquiry.h"
#include "reports/RecurringDue.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/ReferenceData.h"
#include "support/FailingDatabase.h"
#include "support/ScreenFixture.h"

namespace keltro::reports {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kFailed = "Generate invoice from on due recurring-invoice failed";
constexpr const char* kComplete = "Generate invoices complete";

struct TemplateLine {
    const char* payItem;
    double taxable;
    double tax;
    const char* taxCode;
    const char* salesAccount;
};

struct Definition {
    std::string customer = "1001";
    int recurDate = 1;
    std::string frequency = kMonthly;
    db::Date begin{2026, 1, 1};
    db::Date end{2027, 12, 31};
    std::string currency = "USD";
    std::string term = "30";
    std::vector<TemplateLine> lines = {{"1", 100, 6, "S1", "4000"}};
};

class RecurInquiryTest : public test::ScreenFixture {
protected:
    // The screen as the host opens it, on `today`, over `connection` (the test's own
    // database when none is named).
    ARreport_recur_inquiry& openOn(db::Date today, db::Database* connection = nullptr) {
        m_screen.reset();
        m_clock = std::make_unique<services::FixedClock>(today);
        m_screen = std::make_unique<ARreport_recur_inquiry>();
        framework::HostContext context;
        test::fillContext(context, connection ? *connection : db(), ui, *m_clock);
        m_screen->setContext(context);
        m_screen->load();
        return *m_screen;
    }

    // A definition saved as the invoice screen saves one, numbered "REC-26-0000N".
    std::string addDefinition(const Definition& d) {
        db::Transaction transaction(db());
        const auto numbers = services::NumberNewDocument(db(), ui, 1, "cur", "2026");
        store::RecurHeader h;
        h.fkey = numbers->fkey;
        h.recurno = numbers->docno;
        h.recurName = "Monthly service " + h.recurno;
        h.customerNo = d.customer;
        h.currency = d.currency;
        const auto term = store::findPaymentTerm(db(), d.term);
        h.term = term ? store::TermCopies{term->termNo, term->duedays, term->earlyDays,
                                          term->earlyDiscount}
                      : store::TermCopies{d.term, 30, 0, 0.0};
        h.recurDate = d.recurDate;
        h.beginDate = d.begin;
        h.endDate = d.end;
        h.noInvoice = 12;
        h.noIssue = 0;
        h.frequency = d.frequency;
        std::vector<store::RecurLine> lines;
        for (const auto& t : d.lines) {
            store::RecurLine line;
            line.payItem = t.payItem;
            line.description = std::string("Service ") + t.payItem;
            line.taxableAmount = t.taxable;
            line.taxAmount = t.tax;
            line.grossAmount = line.openAmount = services::roundMoney(t.taxable + t.tax);
            line.taxCode = t.taxCode;
            line.salesAccno = t.salesAccount;
            lines.push_back(line);
        }
        store::insertRecurHeader(db(), h);
        store::insertRecurLines(db(), h, lines);
        transaction.commit();
        return h.recurno;
    }

    // An invoice generated from `recurNo` earlier, as the due list sees it.
    void addGeneratedInvoice(const std::string& recurNo, const std::string& month,
                             const std::string& year) {
        const std::string key = "earlier-" + std::to_string(++m_earlier);
        db().execute("INSERT INTO AR_header_table (company, doctype, fkey, docno, recur_no, "
                     "[month], [year]) VALUES (1, 'inv', ?, ?, ?, ?, ?)",
                     {key, key, recurNo, month, year});
    }

    // "recurring no" → "due date" of every row shown.
    std::map<std::string, std::string> dueDates(const ARreport_recur_inquiry& screen) {
        std::map<std::string, std::string> shown;
        for (const auto& row : screen.grid(kGrid).rows) shown[row.at("recurring no")] = row.at("due date");
        return shown;
    }

    void tick(ARreport_recur_inquiry& screen, const std::vector<std::string>& recurNos) {
        const auto& rows = screen.grid(kGrid).rows;
        for (const auto& recurNo : recurNos) {
            const auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& row) {
                return row.at("recurring no") == recurNo;
            });
            ASSERT_NE(at, rows.end()) << recurNo << " is not listed";
            screen.enterCell(kGrid, static_cast<std::size_t>(at - rows.begin()), "due", "1");
        }
    }

    // "accno amount base ledger currency" of each line of a journal.
    std::vector<std::string> journal(const std::string& glKey) {
        std::vector<std::string> lines;
        for (const auto& r : db().query(
                 "SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno", {glKey}))
            lines.push_back(r["accno"].textOr() + " " + services::FormatAmount(r["amount"].numberOr()) +
                            " " + services::FormatAmount(r["base_amount"].numberOr()) + " " +
                            r["ledgertype"].textOr() + " " + r["Currency"].textOr());
        return lines;
    }

    std::string header(const std::string& column, const std::string& recurNo) {
        return scalar("SELECT " + column + " FROM AR_header_table WHERE recur_no = ?", {recurNo})
            .textOr("(null)");
    }

    std::unique_ptr<services::FixedClock> m_clock;
    std::unique_ptr<ARreport_recur_inquiry> m_screen;
    int m_earlier = 0;
};

// On 10 February 2027: the day each rule gives, the month or quarter already generated,
// the year that does not count, the range's ends, and the expired definition made
// inactive.
TEST_F(RecurInquiryTest, theDueListOffersEachDefinitionOnceAPeriodOnItsDay) {
    const db::Date today{2027, 2, 10};
    const auto lastDay = addDefinition({.recurDate = 31, .end = {2028, 12, 31}});
    const auto byHand = addDefinition({.recurDate = 0});
    const auto fifth = addDefinition({.recurDate = 5, .frequency = kQuarterly, .end = {2028, 12, 31}});
    const auto generatedThisMonth = addDefinition({.recurDate = 3});
    const auto generatedLastMonth = addDefinition({.recurDate = 3});
    const auto generatedThisQuarter = addDefinition({.recurDate = 20, .frequency = kQuarterly});
    const auto generatedLastYear = addDefinition({.recurDate = 20, .frequency = kQuarterly});
    const auto endsToday = addDefinition({.recurDate = 1, .end = today});
    const auto expired = addDefinition({.recurDate = 1, .end = {2027, 2, 9}});
    const auto notBegun = addDefinition({.recurDate = 1, .begin = {2027, 2, 11}});
    const auto noFrequency = addDefinition({.recurDate = 1, .frequency = "weekly"});
    addGeneratedInvoice(generatedThisMonth, "02", "2027");
    addGeneratedInvoice(generatedLastMonth, "01", "2027");
    addGeneratedInvoice(generatedThisQuarter, "01", "2027");
    addGeneratedInvoice(generatedLastYear, "02", "2026");

    auto& screen = openOn(today);
    screen.run("&List Due Recur");
    EXPECT_EQ(dueDates(screen), (std::map<std::string, std::string>{
                                    {lastDay, "28/02/2027"},
                                    {byHand, "10/02/2027"},
                                    {fifth, "05/02/2027"},
                                    {generatedLastMonth, "03/02/2027"},
                                    {generatedLastYear, "20/02/2027"},
                                    {endsToday, "01/02/2027"}}));
    // Nine definitions' ranges hold today.
    EXPECT_EQ(ui.lastProgress(), (std::pair<long, long>{9, 9}));
    const auto inactive = [&](const std::string& recurNo) {
        return scalar("SELECT inactive FROM AR_recur_header_table WHERE recurno = ?", {recurNo})
            .booleanOr(false);
    };
    EXPECT_TRUE(inactive(expired));
    for (const auto& other : {lastDay, endsToday, notBegun, noFrequency}) EXPECT_FALSE(inactive(other));

    // A leap year's February ends on the 29th.
    auto& leapYear = openOn({2028, 2, 1});
    leapYear.run("&List Due Recur");
    EXPECT_EQ(dueDates(leapYear), (std::map<std::string, std::string>{{lastDay, "29/02/2028"},
                                                                      {fifth, "05/02/2028"}}));
}

// Two definitions generated in one run: an invoice in dollars taxed compound (state, then
// city on the state tax) and at a bounded rate whose bound does not apply here, and one in
// euros at today's rate; then nothing is due any more.
TEST_F(RecurInquiryTest, generatedInvoicesPostBalancedJournalsAndLeaveTheDueList) {
    const auto dollars = addDefinition({.recurDate = 15,
                                        .term = "2/10",
                                        .lines = {{"1", 100, 7.59, "S2", "4000"},
                                                  {"2", 20, 2.00, "LX", "4010"}}});
    const auto euros = addDefinition({.customer = "1003", .recurDate = 31,
                                      .frequency = kQuarterly, .currency = "EUR",
                                      .lines = {{"1", 200, 12, "S1", "4000"}}});
    auto& screen = openOn(test::kDemoToday);
    screen.run("&List Due Recur");
    tick(screen, {dollars, euros});
    ui.clear();
    screen.run("&Generate Invoice");
    EXPECT_THAT(ui.texts(), ElementsAre(kComplete));

    for (const auto& [column, inDollars, inEuros] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"docno", "SI-26-00001", "SI-26-00002"},
             {"fkey", "1inv-1", "1inv-2"},
             {"doctype", "inv", "inv"},
             {"Source", "AR-RECUR", "AR-RECUR"},
             {"GLFKEY", "1gl-1", "1gl-2"},
             {"invoice_date", "2026-12-15", "2026-12-31"},
             {"due_date", "2027-01-14", "2027-01-30"},
             {"discount_date", "2026-12-25", "(null)"},
             {"[month]", "12", "12"},
             {"[year]", "2026", "2026"},
             {"period", "12", "12"},
             {"exchange_rate", "(null)", "1.1012"}}) {
        EXPECT_EQ(header(column, dollars), inDollars) << column;
        EXPECT_EQ(header(column, euros), inEuros) << column;
    }
    EXPECT_EQ(text("SELECT MAX(source_form) FROM AR_transaction_table WHERE fkey = '1inv-1'"),
              "Recurring Invoice");
    EXPECT_EQ(number("SELECT SUM(open_amount) FROM AR_transaction_table WHERE fkey = '1inv-1'"),
              129.59);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_transaction_table WHERE fkey = '1inv-1' AND "
                    "ar_accno = '1100' AND tax_authority1 IS NULL"),
              2);

    // Receivable, sales and each authority's tax computed again: 6.00 state, 1.59 city on
    // 106.00, 2.00 luxury (its 5.00 minimum does not apply).
    EXPECT_THAT(journal("1gl-1"),
                ElementsAre("1100 129.59 129.59 A USD", "4000 100.00 100.00 A USD",
                            "2200 6.00 6.00 A USD", "2210 1.59 1.59 A USD",
                            "4010 20.00 20.00 A USD", "2220 2.00 2.00 A USD"));
    EXPECT_THAT(journal("1gl-2"),
                ElementsAre("1110 212.00 233.45 F EUR", "4000 200.00 220.24 F EUR",
                            "2200 12.00 13.21 F EUR"));
    EXPECT_EQ(text("SELECT remark FROM GL_header_table WHERE fkey = '1gl-1'"),
              "Invoice no. SI-26-00001");
    EXPECT_EQ(text("SELECT Source FROM GL_header_table WHERE fkey = '1gl-2'") + " / " +
                  text("SELECT source_form FROM GL_header_table WHERE fkey = '1gl-2'"),
              "AR / Recurring Invoice");
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1001'"), 129.59);
    EXPECT_EQ(number("SELECT owing_balance FROM Customer_table WHERE customer_no = '1003'"), 212.00);
    expectCleanBooks();

    // Neither is ticked any more, and neither is due again this month or quarter.
    for (const auto& row : screen.grid(kGrid).rows) EXPECT_EQ(row.at("due"), "0");
    screen.run("&List Due Recur");
    EXPECT_THAT(screen.grid(kGrid).rows, IsEmpty());
}

// A good definition ticked before one that cannot be generated: the run stops at the
// second with its message and nothing of the first remains; the due list is as it was.
TEST_F(RecurInquiryTest, aRefusedDefinitionUndoesTheWholeRun) {
    struct Case {
        Definition faulty;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{.customer = "1006"}, "Error : Acccount Receivable account for 1006 is empty"},
        {{.currency = "JPY"}, "No exchange rate for currency JPY"},
        {{.lines = {{"1", 100, 5, "ZZ", "4000"}}}, "Error : No tax code ZZ"},
        {{.term = "99"}, "payment term is invalid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto good = addDefinition({.customer = "1002"});
        const auto faulty = addDefinition(c.faulty);
        auto& screen = openOn(test::kDemoToday);
        screen.run("&List Due Recur");
        const auto listed = dueDates(screen);
        const auto before = books();
        tick(screen, {good, faulty});
        ui.clear();
        screen.run("&Generate Invoice");
        EXPECT_THAT(ui.texts(), ElementsAre(c.message, kFailed));
        EXPECT_EQ(books(), before);
        screen.run("&List Due Recur");
        EXPECT_EQ(dueDates(screen), listed);
        // Out of the way of the next case.
        db().execute("UPDATE AR_recur_header_table SET end_date = ? WHERE recurno IN (?, ?)",
                     {db::Date{2026, 1, 2}, good, faulty});
    }
    expectCleanBooks();
}

// The database fails at each write of a two-invoice run in turn: every time the books
// are as they were and the failure is said; then the run goes through.
TEST_F(RecurInquiryTest, aGenerationFailingAtAnyWriteLeavesNothing) {
    const auto first = addDefinition({.lines = {{"1", 100, 7.59, "S2", "4090"}}});
    const auto second = addDefinition({.customer = "1004", .currency = "GBP"});
    const auto before = books();
    // Write 1 is the due list's own (the expired definitions made inactive).
    for (int failAt = 2; failAt < 200; ++failAt) {
        SCOPED_TRACE("failing at write " + std::to_string(failAt));
        test::FailingDatabase failing(db(), failAt);
        auto& screen = openOn(test::kDemoToday, &failing);
        screen.run("&List Due Recur");
        tick(screen, {first, second});
        ui.clear();
        screen.run("&Generate Invoice");
        if (ui.texts().back() == kComplete) {
            EXPECT_GT(failAt, 10) << "the run wrote too little to be tested";
            EXPECT_EQ(count("SELECT COUNT(*) FROM AR_header_table WHERE Source = 'AR-RECUR'"), 2);
            expectCleanBooks();
            return;
        }
        EXPECT_EQ(ui.texts().back(), kFailed);
        EXPECT_EQ(books(), before);
    }
    FAIL() << "the run never got through";
}

// "&Find" lists every definition or one customer's, chosen by number or by name; a double
// click asks the host for the definition; "Clear" empties it all.
TEST_F(RecurInquiryTest, findListsDefinitionsAndADoubleClickAsksTheHostForOne) {
    const auto dental = addDefinition({.customer = "1001"});
    const auto hardware = addDefinition({.customer = "1002"});
    const auto cafe = addDefinition({.customer = "1003", .currency = "EUR"});
    auto& screen = desk.call("showform_ARreport_recur_inquiry", "ARreport_recur_inquiry");
    const auto listed = [&] {
        std::vector<std::string> shown;
        for (const auto& row : screen.grid(kGrid).rows)
            shown.push_back(row.at("recurring no") + " " + row.at("customer name"));
        return shown;
    };

    screen.enter("cmbcustno", "1002");
    EXPECT_EQ(screen.field("cmbcustname").value, "O'Brien Hardware");
    screen.run("&Find");
    EXPECT_THAT(listed(), ElementsAre(hardware + " O'Brien Hardware"));
    const auto& row = screen.grid(kGrid).rows.at(0);
    for (const auto& [caption, shown] :
         std::vector<std::pair<std::string, std::string>>{{"begin date", "01/01/2026"},
                                                          {"expiration date", "31/12/2027"},
                                                          {"recurring date", "1"},
                                                          {"no of invoice", "12"},
                                                          {"frequency", "monthly"},
                                                          {"due date", ""},
                                                          {"due", "0"}})
        EXPECT_EQ(row.at(caption), shown) << caption;

    screen.enter("cmbcustname", "Café Müller GmbH");
    EXPECT_EQ(screen.field("cmbcustno").value, "1003");
    screen.run("&Find");
    EXPECT_THAT(listed(), ElementsAre(cafe + " Café Müller GmbH"));

    screen.enter("cmbcustno", "*");
    screen.run("Find");
    EXPECT_THAT(listed(), UnorderedElementsAre(dental + " Brightwater Dental Clinic",
                                               hardware + " O'Brien Hardware",
                                               cafe + " Café Müller GmbH"));
    screen.doubleClickCell(kGrid, 1, "recurring name");
    ASSERT_FALSE(notifications.empty());
    EXPECT_EQ(notifications.back().formx, "A/R Invoice Recurring");
    EXPECT_EQ(notifications.back().docnox, screen.grid(kGrid).rows.at(1).at("recurring no"));

    screen.run("Clear");
    EXPECT_THAT(screen.grid(kGrid).rows, IsEmpty());
    EXPECT_EQ(screen.field("cmbcustno").value, "");
}

// The headless driver works the inquiry as a person does: the due list, a tick, the
// generation, then a single click (nothing) and a double click (the host is asked).
TEST_F(RecurInquiryTest, theDriverGeneratesATickedRowAndDoubleClicksAnother) {
    const auto first = addDefinition({.recurDate = 0});
    const auto second = addDefinition({.customer = "1002", .recurDate = 0});
    std::istringstream script(
        R"({"call":"showform_ARreport_recur_inquiry"})" "\n"
        R"({"command":"ARreport_recur_inquiry","caption":"Due"})" "\n"
        R"({"cell":"ARreport_recur_inquiry.dbgrid1","row":0,"col":"due","value":"1"})" "\n"
        R"({"command":"ARreport_recur_inquiry","caption":"Generate"})" "\n"
        R"({"click":"ARreport_recur_inquiry.dbgrid1","row":1,"col":"recurring no"})" "\n"
        R"({"click":"ARreport_recur_inquiry.dbgrid1","row":1,"col":"recurring no","clicks":2})" "\n");
    std::ostringstream out;
    EXPECT_EQ(host::runAutomation(db(), clock, {}, script, out), 0) << out.str();
    std::vector<std::string> said;
    std::istringstream events(out.str());
    for (std::string line; std::getline(events, line);) {
        const auto event = host::parseJson(line);
        if (event.text("event") == "message") said.push_back(*event.text("text"));
        if (event.text("event") == "notify")
            said.push_back(*event.text("formx") + " " + *event.text("docnox"));
    }
    EXPECT_THAT(said, ElementsAre(kComplete, "A/R Invoice Recurring " + second));
    EXPECT_EQ(header("[year]", first), "2026");
    EXPECT_EQ(header("[year]", second), "(null)");
}

}  // namespace
}  // namespace keltro::reports
