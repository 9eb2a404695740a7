// Random balanced journals over random accounts, currencies, periods and ledger rules, some
// reversed: the books audit finds them clean and the running base amounts are the sums of
// their lines. A posting failing at a random statement leaves the books as they were.
// The seed is fixed and printed; KELTRO_LEDGER_SEED replays another one.
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>

#include "support/FailingDatabase.h"
#include "ledger/LedgerFixture.h"
#include "services/BooksAudit.h"
#include "services/JournalReversal.h"
#include "services/Money.h"

namespace keltro::test {
namespace {

unsigned seedOfThisRun() {
    const char* chosen = std::getenv("KELTRO_LEDGER_SEED");
    const unsigned seed =
        chosen ? static_cast<unsigned>(std::strtoul(chosen, nullptr, 10)) : 20261206u;
    std::cout << "ledger random seed " << seed << "\n";
    return seed;
}

struct RandomJournal {
    services::JournalHeader header;
    services::JournalEntries entries;
    services::JournalOptions options;
};

// Balanced journals the way the posting screens build them.
class JournalGenerator {
public:
    JournalGenerator(db::Database& db, unsigned seed) : m_random(seed) {
        for (const auto& row : db.query("SELECT accno, debit FROM Account_master_table "
                                        "WHERE type = 'A' AND inactive = FALSE ORDER BY accno"))
            m_accounts.emplace_back(row["accno"].textOr(), row["debit"].booleanOr(false));
    }

    RandomJournal next() {
        RandomJournal journal;
        const std::string currency = pick<std::string>({"USD", "USD", "USD", "EUR", "GBP"});
        m_rates = {{"USD", 1.0}, {"EUR", rate()}, {"GBP", rate()}};
        journal.header = {.source = "AR-TEST", .sourceForm = "Random",
                          .sourceDocno = "R-" + std::to_string(++m_count), .date = {2026, 6, 1},
                          .period = pick<std::string>({"1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                       "10", "11", "12", "13", "AD", "CL"}),
                          .fyear = pick<std::string>({"2025", "2026", "2027"}),
                          .currency = currency, .exchangeRate = m_rates[currency]};
        auto& options = journal.options;
        options.rounding = services::RoundingLine{"7000", "7010", "1001"};
        // Random entries, then one that balances them: in the document's amounts under the
        // document rule, in base amounts (a base-currency entry) under the entry rule.
        const bool byEntry = chance(0.5);
        if (byEntry) {
            options.ledger = services::LedgerRule::EntryCurrency;
            options.foreignRate = services::ForeignLineRate::Implied;
            options.baseAmountOnLines = !chance(0.1);
        }
        double total = 0;
        for (int i = 0, count = between(1, 5); i < count; ++i) {
            const auto [accno, debit] = pick(m_accounts);
            // Allocated amounts in dimes, so that 70 % and 30 % add up again; allocated
            // entries of the entry rule stay in base currency, where dimes split exactly.
            const bool allocated = accno == "4090";
            double amount = between(-50000, 50000) / 100.0;
            if (allocated) amount = std::round(amount * 10) / 10;
            const std::string lineCurrency =
                byEntry ? (allocated ? "USD" : pick<std::string>({"USD", "EUR", "GBP"})) : currency;
            const double base = services::roundMoney(amount * m_rates[lineCurrency]);
            journal.entries.add(accno, lineCurrency, amount, base);
            total += (debit ? 1 : -1) * (byEntry ? base : amount);
        }
        auto last = pick(m_accounts);
        while (last.first == "4090") last = pick(m_accounts);
        const double amount = services::roundMoney(last.second ? -total : total);
        const std::string lastCurrency = byEntry ? "USD" : currency;
        journal.entries.add(last.first, lastCurrency, amount,
                            services::roundMoney(amount * m_rates[lastCurrency]));
        return journal;
    }

    template <class T>
    T between(T low, T high) {
        return std::uniform_int_distribution<T>(low, high)(m_random);
    }
    template <class T>
    T pick(const std::vector<T>& choices) {
        return choices[between<std::size_t>(0, choices.size() - 1)];
    }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

private:
    double rate() {
        return std::round(std::uniform_real_distribution<double>(0.5, 2.0)(m_random) * 1e4) / 1e4;
    }

    std::mt19937 m_random;
    std::vector<std::pair<std::string, bool>> m_accounts;  // account, debit side
    std::map<std::string, double> m_rates;
    int m_count = 0;
};

using RandomLedgerTest = LedgerTest;

TEST_F(RandomLedgerTest, randomJournalsKeepTheBooksInStep) {
    JournalGenerator generator(db(), seedOfThisRun());
    std::vector<std::string> open;
    // Reverses a random journal not reversed yet, one way or another.
    const auto reverseOne = [&] {
        const auto at = generator.between<std::size_t>(0, open.size() - 1);
        const std::string key = open[at];
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));
        db::Transaction tx(db());
        const int way = generator.between(0, 2);
        const auto reversal =
            way == 0   ? services::ReverseReceiptJournal(context, key, "RC-R")
            : way == 1 ? services::AppendJournalReversal(context, key, "Reverse due to edit")
                       : services::ReverseIntoNewJournal(
                             context, {.journalKey = key, .date = {2027, 2, 1}, .period = "2",
                                       .fyear = "2027", .source = "AR-TEST",
                                       .description = "void"});
        ASSERT_TRUE(reversal) << key << " " << ::testing::PrintToString(ui.texts());
        tx.commit();
    };
    for (int n = 0; n < 300; ++n) {
        const auto journal = generator.next();
        const auto key = post(journal.header, journal.entries, journal.options);
        ASSERT_TRUE(key) << "journal " << n << ": " << ::testing::PrintToString(ui.texts());
        open.push_back(*key);
        if (generator.chance(0.1)) reverseOne();
    }
    // The run reached rounding lines, allocated entries and accounts given a new currency.
    for (const char* sql :
         {"SELECT COUNT(*) FROM GL_transaction_table WHERE customer_no = '1001'",
          "SELECT COUNT(*) FROM GL_transaction_table WHERE accno = '4090'",
          "SELECT COUNT(*) FROM Account_currency_table WHERE Description = ' '"})
        EXPECT_GT(count(sql), 0) << sql;
    // The audit replays every period movement, plain and base, from the lines and every
    // running amount from the period rows; the running base amounts, which it leaves
    // alone, must be the sums of their own lines' base amounts.
    EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{});
    for (const auto& row : db().query(
             "SELECT b.ledgertype, b.accno, b.currency, b.base_amount, (SELECT SUM(l.base_amount) "
             "FROM GL_transaction_table l WHERE l.ledgertype = b.ledgertype AND l.accno = b.accno "
             "AND l.Currency = b.currency) AS line_base FROM Balance_table b"))
        EXPECT_NEAR(row["base_amount"].numberOr(0), row["line_base"].numberOr(0), 0.001)
            << row["ledgertype"].textOr() << " " << row["accno"].textOr() << " "
            << row["currency"].textOr();
}

TEST_F(RandomLedgerTest, failureAtAnyStatementLeavesTheBooksAsTheyWere) {
    JournalGenerator generator(db(), seedOfThisRun() + 1);
    for (int trial = 0; trial < 30; ++trial) {
        const auto journal = generator.next();
        // The counting attempt is never committed; the failing one ends with the commit, where
        // the failure of a queued write is reported at the latest.
        const auto attempt = [&](FailingDatabase& failing, bool commit) {
            services::LedgerContext failingLedger(failing, ui);
            services::JournalContext failingContext{failingLedger, clock, "admin", "USD"};
            db::Transaction tx(failing);
            const auto key = services::PostJournal(failingContext, journal.header, journal.entries,
                                                   journal.options);
            if (commit) tx.commit();
            return key;
        };
        FailingDatabase counting(db(), 0);
        ASSERT_TRUE(attempt(counting, false)) << ::testing::PrintToString(ui.texts());
        const int failAt = generator.between(1, counting.writes());
        const auto before = postingSnapshot(db());
        FailingDatabase failing(db(), failAt);
        EXPECT_THROW(attempt(failing, true), db::DbError) << "statement " << failAt;
        EXPECT_EQ(postingSnapshot(db()), before) << "trial " << trial << ", failure at statement "
                                                 << failAt << " of " << counting.writes();
        ASSERT_TRUE(post(journal.header, journal.entries, journal.options));  // the books move on
    }
    EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{});
}

}  // namespace
}  // namespace keltro::test
