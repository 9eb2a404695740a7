// What one journal line does to the balances of the demo company: its own rows, the 'A'
// rows beside an 'F' line, current earnings, the missing-row messages, new currency rows
// and the row lock.
#include "ledger/LedgerFixture.h"

namespace keltro::test {
namespace {

using services::LedgerLine;

class BalancesTest : public LedgerTest {
protected:
    store::Account account(const std::string& accno) {
        auto found = store::findAccount(db(), accno);
        EXPECT_TRUE(found) << accno;
        return found.value_or(store::Account{.accno = accno});
    }

    // Both balance operations, as the posting calls them, in one committed transaction;
    // `held` keeps the rows as a journal's posting does and writes them at the end.
    bool move(const LedgerLine& line, bool held = false) {
        db::Transaction tx(db());
        auto& rows = ledger.balanceRows();
        if (held) {
            rows.defer();
            rows.prefetch({line.accno}, line.fyear);
        }
        const auto acc = account(line.accno);
        const bool ok = services::UpdateAccountBalance(ledger, line, acc) &&
                        services::UpdatePeriodBalance(ledger, line, acc);
        if (ok && held) rows.flush();
        if (ok) tx.commit();
        return ok;
    }

    static LedgerLine line(const std::string& accno, double amount, double base,
                           std::string ledgertype = "A", std::string currency = "USD",
                           std::string period = "3", std::string fyear = "2026") {
        return {fyear, 1, ledgertype, accno, currency, period, amount, base};
    }
};

TEST_F(BalancesTest, periodThreeOfHundredOnOpeningFiftyLeavesEveryOpeningAlone) {
    db().execute(
        "UPDATE Balance_period_table SET opening_balance = 50, balperiod1 = 50 "
        "WHERE accno = '1100' AND ledgertype = 'A'");
    ASSERT_TRUE(move(line("1100", 100, 100)));
    const auto row = period("2026", "A", "1100");
    EXPECT_EQ(row.plain.opening, 50);
    EXPECT_EQ(row.plain.movements[2], 100);
    for (int p = 1; p <= services::kPeriodCount; ++p)
        EXPECT_EQ(row.plain.periodEnd[p - 1], p < 3 ? 50 : 150) << "balperiod" << p;
    EXPECT_EQ(row.plain.ytd, 150);
    EXPECT_EQ(row.base.movements[2], 100);
    EXPECT_EQ(row.base.ytd, 100);
    EXPECT_EQ(period("2027", "A", "1100").plain.opening, 50) << "a later year's opening stays";
    EXPECT_EQ(period("2027", "A", "1100").plain.ytd, 0);
    EXPECT_EQ(running("A", "1100"), std::pair(100.0, 100.0));
}

TEST_F(BalancesTest, incomeStatementLinesMoveCurrentEarningsByTheirSide) {
    struct Case {
        const char* name;
        LedgerLine line;
        double earnings;
    };
    const Case cases[] = {
        {"revenue (credit side) +100", line("4000", 100, 100), 100},
        {"expense (debit side) +100", line("6000", 100, 100), -100},
        {"revenue -40", line("4000", -40, -40), -40},
        {"balance-sheet account", line("1100", 100, 100), 0},
        {"revenue in a foreign ledger", line("4000", 100, 80, "F", "EUR"), 0},
    };
    double total = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(move(c.line)) << ::testing::PrintToString(ui.texts());
        total += c.earnings;
        EXPECT_EQ(running("A", "3900").first, total);
        EXPECT_EQ(running("A", "3900").second, 0) << "the running base amount is not moved";
        const auto earnings = period("2026", "A", "3900");
        EXPECT_EQ(earnings.plain.movements[2], total);
        EXPECT_EQ(earnings.base.movements[2], total);
    }
}

// An 'F' line moves its own rows and the plain side of its account's 'A' rows. The base
// side of the 'A' period row keeps what is stored, even figures a recalculation would
// change, whether the row is written at once or held for a journal.
TEST_F(BalancesTest, foreignLineMovesItsOwnRowsAndThePlainSideOfLedgerA) {
    db().execute(
        "UPDATE Balance_period_table SET e_period3 = 7, e_balperiod3 = 7, e_balperiod7 = 1, "
        "e_ytd_balance = 7 WHERE fyear = '2026' AND ledgertype = 'A' AND accno = '1100'");
    double lines = 0;
    for (const bool heldForAJournal : {false, true}) {
        SCOPED_TRACE(heldForAJournal ? "held for a journal" : "written at once");
        ASSERT_TRUE(move(line("1100", 50, 40, "F", "EUR"), heldForAJournal));
        ++lines;
        EXPECT_EQ(running("F", "1100", "EUR"), std::pair(50 * lines, 40 * lines));
        EXPECT_EQ(running("A", "1100"), std::pair(40 * lines, 0.0));
        const auto foreign = period("2026", "F", "1100", "EUR");
        EXPECT_EQ(foreign.plain.movements[2], 50 * lines);
        EXPECT_EQ(foreign.base.movements[2], 40 * lines);
        const auto base = period("2026", "A", "1100");
        EXPECT_EQ(base.plain.movements[2], 40 * lines);
        EXPECT_EQ(base.plain.ytd, 40 * lines);
        EXPECT_EQ(base.base.movements[2], 7);
        EXPECT_EQ(base.base.periodEnd[6], 1) << "e_balperiod7 as stored, not recalculated";
        EXPECT_EQ(base.base.ytd, 7);
        EXPECT_EQ(period("2026", "E", "1100", "EUR").plain.ytd, 0) << "no line moves an 'E' row";
    }
}

TEST_F(BalancesTest, missingRowsAndAccountsAreReportedAndStopTheLine) {
    struct Case {
        const char* name;
        const char* setUp;
        LedgerLine line;
        std::string message;
    };
    const Case cases[] = {
        {"no period row for the year", "", line("1100", 1, 1, "A", "USD", "3", "2030"),
         "No account 1100 in fiscal year 2030"},
        {"no running row in base currency", "DELETE FROM Balance_table WHERE accno = '1100'",
         line("1100", 1, 1), "Error! 1100 does not exist"},
        {"foreign currency not set for the account", "", line("1010", 1, 1, "F", "EUR"),
         "Error! account 1010 has not been set for EUR currency"},
        {"'A' row missing beside an 'F' line",
         "DELETE FROM Balance_table WHERE accno = '1100' AND ledgertype = 'A'",
         line("1100", 1, 1, "F", "EUR"), "Error! 1100 does not exist in Balance"},
        {"no current-earnings account",
         "UPDATE Account_master_table SET type = 'A' WHERE accno = '3900'", line("4000", 1, 1),
         "Current Earnings account (account type X) has not been set in Account Master"},
        {"no running current-earnings row", "DELETE FROM Balance_table WHERE accno = '3900'",
         line("4000", 1, 1), "Error : No Current Retained Earning account 3900 in Account Balance"},
        {"no current-earnings period row",
         "DELETE FROM Balance_period_table WHERE accno = '3900' AND fyear = '2026'",
         line("4000", 1, 1), "Error : No Retained Earning account 3900 in Account Balance Period."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db::Transaction tx(db());  // rolled back: the next case starts from the demo again
        if (*c.setUp) db().execute(c.setUp);
        services::LedgerContext fresh(db(), ui);
        ui.clear();
        const auto acc = account(c.line.accno);
        EXPECT_FALSE(services::UpdateAccountBalance(fresh, c.line, acc) &&
                     services::UpdatePeriodBalance(fresh, c.line, acc));
        EXPECT_EQ(ui.texts(), std::vector<std::string>{c.message});
    }
}

TEST_F(BalancesTest, currentEarningsAccountIsKeptForTheContextsLifetime) {
    ASSERT_TRUE(move(line("4000", 10, 10)));
    db().execute("UPDATE Account_master_table SET type = 'A' WHERE accno = '3900'");
    EXPECT_TRUE(move(line("4000", 10, 10))) << "the kept account is used";
    EXPECT_EQ(running("A", "3900").first, 20);
    ledger.forgetCurrentEarnings();
    EXPECT_FALSE(move(line("4000", 10, 10))) << "looked up again, and gone";
}

// A new currency of an account gets its rows once for every open year; no account, no
// rows. (A ledger without balances is refused in the journal writer's test.)
TEST_F(BalancesTest, newCurrencyGetsItsRowsOnceForEveryOpenYear) {
    db().execute("UPDATE Fiscalyear_table SET history = TRUE WHERE fyear = '2025'");
    db::Transaction tx(db());
    EXPECT_FALSE(services::EnsureAccountCurrency(ledger, "", "EUR"));
    EXPECT_FALSE(services::EnsureAccountCurrency(ledger, "9999", "EUR"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Account_currency_table WHERE accno IN ('', '9999')"), 0);
    ASSERT_TRUE(services::EnsureAccountCurrency(ledger, "6000", "EUR"));
    ASSERT_TRUE(services::EnsureAccountCurrency(ledger, "6000", "EUR"));
    EXPECT_TRUE(services::CreateCurrencyBalanceRows(ledger, "6000", "EUR"));
    std::vector<std::string> rows;
    for (const auto& row : db().query(
             "SELECT fyear, ledgertype, acccode, subacc FROM Balance_period_table "
             "WHERE accno = '6000' AND currency = 'EUR' ORDER BY fyear, ledgertype"))
        rows.push_back(row["fyear"].textOr() + " " + row["ledgertype"].textOr() + " " +
                       row["acccode"].textOr() + " " + row["subacc"].textOr());
    EXPECT_EQ(rows, (std::vector<std::string>{"2026 E 6000 00", "2026 F 6000 00",
                                              "2027 E 6000 00", "2027 F 6000 00"}));
    EXPECT_EQ(count("SELECT COUNT(*) FROM Balance_table WHERE accno = '6000' AND currency = 'EUR' "
                    "AND ledgertype = 'F' AND amount IS NULL"),
              1);
    const auto pairing = db().query(
        "SELECT * FROM Account_currency_table WHERE accno = '6000' AND currency = 'EUR'");
    ASSERT_EQ(pairing.size(), 1u);
    EXPECT_EQ(pairing[0]["Description"].text(), " ");
    EXPECT_EQ(pairing[0]["revalue"].boolean(), false);
    EXPECT_TRUE(ui.texts().empty());
}

TEST_F(BalancesTest, rowLockedByAnotherWorkstationIsTriedFiveTimesThenRefused) {
    if (database.engine() == db::Engine::Sqlite)
        GTEST_SKIP() << "SQLite takes the whole database when a save begins";
    auto other = database.open();
    db::Transaction holding(*other);
    other->lockRows("SELECT * FROM Balance_table WHERE accno = '1100' AND ledgertype = 'A'", {},
                    db::kBalanceLock);
    int waits = 0;
    db().setSleeper([&](std::chrono::milliseconds) { ++waits; });
    EXPECT_FALSE(move(line("1100", 1, 1)));
    EXPECT_EQ(waits, db::kBalanceLock.tries - 1);
    EXPECT_TRUE(ui.texts().empty()) << "a lock refusal has no message of its own";
    holding.rollback();
    EXPECT_TRUE(move(line("1100", 1, 1)));
}

}  // namespace
}  // namespace keltro::test
