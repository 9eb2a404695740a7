// The revaluation screen end to end: what a run finds and how it values it, the accounts
// it moves, the two journals of a save and their periods, the refusals, and walking the
// saved revaluations.
#include <unistd.h>

#include <filesystem>

#include "reports/ReportPrint.h"
#include "revaluation/RevalueScreenFixture.h"
#include "revaluation/RevaluationSave.h"

namespace keltro::revaluation::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Texts = std::vector<std::string>;

class RevalueTest : public RevalueScreenTest {
protected:
    // The document numbers the result grid lists (its total and summary rows left out).
    static Texts documents(const ARform_revalue& screen) {
        Texts shown;
        for (const auto& text : column(screen, "dbgrid1", "document no"))
            if (!text.empty()) shown.push_back(text);
        return shown;
    }

    // "accno currency debit credit" per line of the account grid.
    static Texts accountGrid(const ARform_revalue& screen) {
        Texts lines;
        for (const auto& row : screen.grid("dbgrid2").rows)
            lines.push_back(row.at("account no") + " " + row.at("currency") + " " +
                            row.at("debit (USD)") + "|" + row.at("credit (USD)"));
        return lines;
    }

    std::string reversingJournal(const std::string& docno) {
        return text("SELECT fkey FROM GL_header_table WHERE remark = ?",
                    {"Reverse A/R Revaluation " + docno});
    }
};

// Each case is revalued and saved on its own (the earlier items are paid by then).
TEST_F(RevalueTest, anItemGainsOrLosesItsDifferenceAndTheNextPeriodUndoesIt) {
    struct Case {
        const char* what;
        OpenItem item;
        Texts valued;    // original base, unrealized, new base as shown
        Texts accounts;  // the account grid
        Texts journal;   // the revaluation journal's lines
        Texts summary;   // stored account amounts
    };
    const Case cases[] = {
        {"invoice gaining, own gain account", {.docno = "INV-1", .open = 1000.00, .rate = 1.10},
         {"1,100.00", "150.00", "1,250.00"},
         {"1110 EUR 150.00|", "7000 EUR |150.00"},
         {"1110 150 150 A USD", "7000 150 150 A USD"},
         {"1110 150", "7000 -150"}},
        {"credit note losing, module's accounts",
         {.customer = "1007", .docno = "CN-1", .open = -200.00, .rate = 1.10},
         {"-220.00", "-30.00", "-250.00"},
         {"1100 EUR |30.00", "7030 EUR 30.00|"},
         {"1100 -30 -30 A USD", "7030 30 30 A USD"},
         {"1100 -30", "7030 30"}},
        {"invoice losing, own loss account", {.docno = "INV-2", .open = 500.00, .rate = 1.30},
         {"650.00", "-25.00", "625.00"},
         {"1110 EUR |25.00", "7010 EUR 25.00|"},
         {"1110 -25 -25 A USD", "7010 25 25 A USD"},
         {"1110 -25", "7010 25"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        db().execute("UPDATE AR_transaction_table SET paid = TRUE");
        addItem(c.item);
        auto& screen = open();
        findAndSave(screen);
        ASSERT_EQ(lastSaid(), "Add new revaluation complete") << ::testing::PrintToString(ui.texts());

        // The saved revaluation on screen, read back from its tables.
        const auto& items = screen.grid("dbgrid1").rows;
        ASSERT_FALSE(items.empty());
        EXPECT_EQ(Texts({items[0].at("original base-currency amount"),
                         items[0].at("unrealized Gain/Loss"), items[0].at("new base-currency amount")}),
                  c.valued);
        EXPECT_THAT(accountGrid(screen), ElementsAreArray(c.accounts));
        const std::string docno = screen.field("txtdocno").value;
        const std::string fkey = screen.field("txtfkey").value;
        Texts summary;
        for (const auto& row : db().query("SELECT accno, amount FROM AR_Revalue_GL_summary_table "
                                          "WHERE fkey = ?", {fkey}))
            summary.push_back(row["accno"].textOr() + " " + db::Value(row["amount"].numberOr(0)).textOr());
        EXPECT_THAT(summary, ElementsAreArray(c.summary));

        // The revaluation journal on its date and period, its reversal today in the next.
        const std::string glFkey = screen.field("txtglfkey").value;
        EXPECT_EQ(text("SELECT GLFKEY FROM AR_Revalue_header_table WHERE fkey = ?", {fkey}), glFkey);
        EXPECT_THAT(journalLines(glFkey), ElementsAreArray(c.journal));
        const std::string reversal = reversingJournal(docno);
        Texts undone;
        for (const auto& line : c.journal) {
            const auto first = line.find(' '), second = line.find(' ', first + 1);
            const std::string base = line.substr(first + 1, second - first - 1);
            const std::string negated = base[0] == '-' ? base.substr(1) : "-" + base;
            undone.push_back(line.substr(0, first) + " " + negated + " " + negated +
                             line.substr(line.find(' ', second + 1)));
        }
        EXPECT_THAT(journalLines(reversal), ElementsAreArray(undone));
        const auto header = [&](const std::string& key) {
            const auto row = db().queryOne("SELECT * FROM GL_header_table WHERE fkey = ?", {key});
            return Texts{(*row)["gldate"].date()->iso(), (*row)["period"].textOr(),
                         (*row)["fyear"].textOr(), (*row)["Source"].textOr(),
                         (*row)["remark"].textOr(), (*row)["source_docno"].textOr()};
        };
        EXPECT_EQ(header(glFkey),
                  Texts({"2026-11-30", "11", "2026", "AR-REVALUE", "A/R Revaluation", docno}));
        EXPECT_EQ(header(reversal), Texts({"2026-12-06", "12", "2026", "AR-REVALUE",
                                           "Reverse A/R Revaluation " + docno, docno}));
        // Across the two periods every account is back where it was.
        EXPECT_EQ(count("SELECT COUNT(*) FROM (SELECT accno FROM GL_transaction_table "
                        "WHERE fkey IN (?, ?) GROUP BY accno HAVING ABS(SUM(base_amount)) > 0.001) n",
                        {glFkey, reversal}), 0);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Balance_table WHERE ABS(amount) > 0.001"), 0);
        expectCleanBooks();
    }
}

TEST_F(RevalueTest, theReversalFallsInTheNextPeriodAndAfterTheLastInPeriodOneOfTheNextYear) {
    struct Case {
        const char* date;
        const char* period;
        const char* fyear;
        const char* reversedPeriod;
        const char* reversedYear;
    };
    const Case cases[] = {
        {"30/11/2026", "11", "2026", "12", "2026"},
        {"06/12/2026", "12", "2026", "1", "2027"},
        {"15/01/2026", "1", "2026", "2", "2026"},
    };
    addItem({.date = {2026, 1, 10}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        auto& screen = open();
        findAndSave(screen, c.date);
        ASSERT_EQ(lastSaid(), "Add new revaluation complete") << ::testing::PrintToString(ui.texts());
        const auto periodOf = [&](const std::string& key) {
            const auto row = db().queryOne("SELECT period, fyear FROM GL_header_table WHERE fkey = ?", {key});
            return Texts{(*row)["period"].textOr(), (*row)["fyear"].textOr()};
        };
        EXPECT_EQ(periodOf(screen.field("txtglfkey").value), Texts({c.period, c.fyear}));
        EXPECT_EQ(periodOf(reversingJournal(screen.field("txtdocno").value)),
                  Texts({c.reversedPeriod, c.reversedYear}));
    }
    // The December revaluation's reversal moved January of the next year.
    EXPECT_EQ(number("SELECT period1 FROM Balance_period_table WHERE fyear = '2027' AND "
                     "ledgertype = 'A' AND accno = '1110'"), -150);
    expectCleanBooks();

    // With thirteen periods, December is followed by period 13 of the same year.
    EXPECT_EQ(periodAfter({12, "2026"}, 13), (PeriodOfYear{13, "2026"}));
    EXPECT_EQ(periodAfter({13, "2026"}, 13), (PeriodOfYear{1, "2027"}));
}

TEST_F(RevalueTest, aRunTakesTheOpenItemsOfItsCurrencyAndCustomersUpToTheCutOff) {
    const OpenItem items[] = {
        {.docno = "IN"},
        {.docno = "LATE", .date = {2026, 12, 1}},
        {.docno = "ONCUT", .date = {2026, 11, 30}},
        {.docno = "PAID", .paid = true},
        {.docno = "VOID", .isVoid = true},
        {.customer = "1004", .docno = "POUNDS", .currency = "GBP"},
        {.customer = "1007", .docno = "OTHER"},
    };
    for (const auto& item : items) addItem(item);
    struct Case {
        const char* what;
        TypedCriterion line;
        Texts found;
    };
    const Case cases[] = {
        {"every customer", {}, {"IN", "ONCUT", "OTHER"}},
        {"one customer", {.everyCustomer = "0", .customer = "1003"}, {"IN", "ONCUT"}},
        {"a customer picked by name", {.everyCustomer = "0", .customer = "Boulangerie Lefèvre"}, {"OTHER"}},
        {"a group, customers without groups", {.everyCustomer = "0", .group = "EXPORT"}, {"IN", "ONCUT", "OTHER"}},
        {"the other currency", {.currency = "GBP", .rate = "1.30"}, {"POUNDS"}},
        {"a customer without items", {.everyCustomer = "0", .customer = "1001"}, {}},
    };
    auto& screen = open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ui.clear();
        find(screen, "30/11/2026", {c.line});
        EXPECT_THAT(documents(screen), ElementsAreArray(c.found));
        EXPECT_EQ(lastSaid(), c.found.empty() ? "No data" : "");
    }

    // Once customers carry a group, the group narrows the line to its customers.
    db().executeScript("ALTER TABLE Customer_table ADD COLUMN customer_group TEXT");
    db().execute("UPDATE Customer_table SET customer_group = 'EXPORT' WHERE customer_no = '1007'");
    find(screen, "30/11/2026", {{.everyCustomer = "0", .group = "EXPORT"}});
    EXPECT_THAT(documents(screen), ElementsAre("OTHER"));
    screen.enter("txtdate", "30/11/2026");
    screen.run("&Save");
    EXPECT_EQ(text("SELECT customer_group FROM AR_Revalue_transaction_table"), "EXPORT");
}

TEST_F(RevalueTest, totalsFollowEachCurrencyAndTheSummaryListsGrowAsNeeded) {
    // 35 customers, each with a receivable account of its own in euros.
    for (int i = 1; i <= 35; ++i) {
        const std::string no = "9" + std::to_string(100 + i), accno = "R" + std::to_string(i);
        db().execute("INSERT INTO Customer_table (customer_no, customer_name, Currency, ar_accno) "
                     "VALUES (?, ?, 'EUR', ?)", {no, "Export " + no, accno});
        db().execute("INSERT INTO Account_currency_table (accno, Currency) VALUES (?, 'EUR')", {accno});
        addItem({.customer = no, .docno = "E" + no, .open = 100.00, .rate = 1.10});
    }
    addItem({.customer = "1004", .docno = "POUNDS", .open = 10.00, .rate = 1.30, .currency = "GBP"});
    auto& screen = open();
    find(screen, "30/11/2026", {{}, {.currency = "GBP", .rate = "1.20"}});

    const auto firstColumn = column(screen, "dbgrid1", "customer no");
    ASSERT_EQ(firstColumn.size(), 35u + 1 + 1 + 1 + 1 + 2);  // items, totals, SUMMARY, a line per currency
    EXPECT_EQ(firstColumn[35], "Total");
    EXPECT_EQ(firstColumn[37], "Total");
    EXPECT_EQ(firstColumn[38], "SUMMARY");
    const auto& rows = screen.grid("dbgrid1").rows;
    EXPECT_EQ(rows[35].at("unrealized Gain/Loss"), "525.00");  // 35 × 15.00
    EXPECT_EQ(rows[39].at("currency"), "EUR");
    EXPECT_EQ(rows[39].at("invoice amount"), "3,500.00");
    EXPECT_EQ(rows[40].at("currency"), "GBP");
    EXPECT_EQ(rows[40].at("unrealized Gain/Loss"), "-1.00");

    // 35 receivables in euros, one in pounds, the euro gain and the pound loss: balanced.
    ASSERT_TRUE(screen.result());
    const auto& accounts = screen.result()->accounts;
    EXPECT_EQ(accounts.size(), 38u);
    double debits = 0, credits = 0;
    for (const auto& line : accounts) {
        debits += line.debit;
        credits += line.credit;
    }
    EXPECT_NEAR(debits, credits, 0.001);
    EXPECT_NEAR(debits, 526.00, 0.001);
}

TEST_F(RevalueTest, refusalsSayWhyAndLeaveTheEarlierResultsAndTheBooksAlone) {
    addItem({});
    auto& screen = open();
    find(screen, "30/11/2026", {{}});
    const auto shown = screen.grid("dbgrid1").rows;
    ASSERT_FALSE(shown.empty());
    const auto before = written();

    struct Case {
        const char* expected;
        std::function<void()> provoke;
        const char* command;
    };
    const Case cases[] = {
        {"please specify Last transaction date", [&] { screen.enter("txtlastdate", ""); }, "Find result"},
        {"please specify customer",
         [&] {
             screen.enter("txtlastdate", "30/11/2026");
             screen.enterCell("dbgridcmd", 0, "every customer", "0");
         },
         "Find result"},
        {"1000 is not a multicurrency account",
         [&] {
             screen.enterCell("dbgridcmd", 0, "every customer", "1");
             db().execute("UPDATE Customer_table SET ar_accno = '1000' WHERE customer_no = '1003'");
         },
         "Find result"},
        {"please specify period",
         [&] {
             db().execute("UPDATE Customer_table SET ar_accno = '1110' WHERE customer_no = '1003'");
             screen.enter("txtdate", "30/11/2026");
             screen.enter("cmbperiod", "");
         },
         "&Save"},
        {"please specify fiscal year",
         [&] {
             screen.enter("cmbperiod", "11");
             screen.enter("cmbfyear", "");
         },
         "&Save"},
        {"Fiscal period/year is out of working period.", [&] { screen.enter("cmbfyear", "2027"); },
         "&Save"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        c.provoke();
        ui.clear();
        screen.run(c.command);
        EXPECT_THAT(ui.texts(), ElementsAre(c.expected));
        EXPECT_EQ(screen.grid("dbgrid1").rows, shown);
        EXPECT_EQ(written(), before);
    }
}

TEST_F(RevalueTest, savedRevaluationsAreWalkedShownAsSavedAndHandedToTheHost) {
    addItem({});
    addItem({.customer = "1007", .docno = "CN-1", .open = -200.00});
    auto& screen = open();
    findAndSave(screen);
    const std::string first = screen.field("txtdocno").value;
    const auto firstResults = screen.grid("dbgrid1").rows;

    // The second revaluation: shown as the run found it, then as it was stored.
    find(screen, "30/11/2026", {{.rate = "1.2"}, {.currency = "GBP", .rate = "1.5"}});
    const auto found = screen.grid("dbgrid1").rows;
    const auto criteria = screen.grid("dbgridcmd").rows;
    screen.enter("txtdate", "01/12/2026");
    screen.run("&Save");
    ASSERT_EQ(lastSaid(), "Add new revaluation complete");
    const std::string second = screen.field("txtdocno").value;
    EXPECT_EQ(screen.grid("dbgrid1").rows, found);
    EXPECT_EQ(screen.grid("dbgridcmd").rows, criteria);
    EXPECT_EQ(screen.mode(), framework::Mode::Browse);
    EXPECT_THROW(screen.enter("txtdesc", "changed"), framework::ScreenError) << "read-only";

    const auto shownNo = [&](const char* command) {
        screen.run(command);
        return screen.field("txtdocno").value;
    };
    EXPECT_EQ(Texts({shownNo("&Previous record"), shownNo("&Previous record"), shownNo("&Next record"),
                     shownNo("&Next record"), shownNo("&Last record")}),
              Texts({first, first, second, second, second}));
    arclass.ARform_revalue_goto_docno(first);
    EXPECT_EQ(screen.grid("dbgrid1").rows, firstResults);

    // The result grid prints as the report screens' grids do, in the demo's landscape format.
    const auto folder = std::filesystem::temp_directory_path() / ("keltro_revalue_" + std::to_string(getpid()));
    screen.setContext([&] {
        auto context = screen.context();
        context.KELTRO_PATH = folder.string();
        return context;
    }());
    std::vector<std::string> printed;
    reports::InstallReportPdfWriter([&](const reports::PrintedReport& r, const std::string& path, bool turned,
                                        const std::function<void(long, long)>&) {
        printed.push_back(path + (turned ? " turned " : " ") + r.titleLines[1].centre + " rows " +
                          std::to_string(r.rows.size()) + " first " + r.rows.at(0).at(0));
        return true;
    });
    notifications.clear();
    screen.run("&G/L Record");
    screen.run("&Preview");
    reports::InstallReportPdfWriter({});
    ASSERT_EQ(notifications.size(), 2u);
    EXPECT_EQ(Texts({notifications[0].formx, notifications[0].docnox}),
              Texts({"G/L Ledger Review", screen.field("txtglfkey").value}));
    EXPECT_EQ(Texts({notifications[1].formx, notifications[1].arg2}),
              Texts({"pdf viewer landscape", "Preview A/R Revaluation"}));
    ASSERT_EQ(printed.size(), 2u);
    const std::string file = notifications[1].docnox;
    EXPECT_NE(file.find("User report/ar_revaluation"), std::string::npos) << file;
    // Every result row but the closing summary line, whose first two cells are empty.
    const std::string what = " A/R REVALUATION REPORT   Fiscal year : 2026   Period : 11 rows " +
                             std::to_string(firstResults.size() - 1) + " first " + firstResults.at(0).at("customer no");
    EXPECT_EQ(printed[0], file + what);
    EXPECT_EQ(printed[1], file.substr(0, file.size() - 4) + "_L.pdf turned" + what);
    std::filesystem::remove_all(folder);

    // Leaving a new revaluation asks whether to save it; No goes back to the last one.
    find(screen, "30/11/2026", {{}});
    ui.queueAnswer(false);
    screen.run("&Edit mode");
    EXPECT_EQ(ui.said().back().text, "Do you want to save new entry?");
    EXPECT_EQ(screen.field("txtdocno").value, second);
    EXPECT_EQ(count("SELECT COUNT(*) FROM AR_Revalue_header_table"), 2);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::revaluation::testing
