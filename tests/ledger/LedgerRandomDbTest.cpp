// Random balanced journals over random accounts, currencies, periods and ledger rules, some
// reversed: the books audit finds them clean and balances recomputed from the lines equal
// the stored ones. A posting failing at a random statement leaves the books as they were.
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

using services::JournalEntries;
using services::JournalHeader;
using services::JournalOptions;

unsigned seedOfThisRun() {
    const char* chosen = std::getenv("KELTRO_LEDGER_SEED");
    const unsigned seed =
        chosen ? static_cast<unsigned>(std::strtoul(chosen, nullptr, 10)) : 20261206u;
    std::cout << "ledger random seed " << seed << "\n";
    return seed;
}

struct PostableAccount {
    std::string accno;
    bool debit;
};

struct RandomJournal {
    JournalHeader header;
    JournalEntries entries;
    JournalOptions options;
};

// Balanced journals the way the posting screens build them.
class JournalGenerator {
public:
    JournalGenerator(db::Database& db, unsigned seed) : m_random(seed) {
        for (const auto& row : db.query("SELECT accno, debit FROM Account_master_table "
                                        "WHERE type = 'A' AND inactive = FALSE ORDER BY accno"))
            m_accounts.push_back({row["accno"].textOr(), row["debit"].booleanOr(false)});
    }

    RandomJournal next() {
        RandomJournal journal;
        const std::string currency = pick<std::string>({"USD", "USD", "USD", "EUR", "GBP"});
        m_rates = {{"USD", 1.0}, {"EUR", rate()}, {"GBP", rate()}};
        journal.header = {.source = "AR-TEST",
                          .sourceForm = "Random",
                          .sourceDocno = "R-" + std::to_string(++m_count),
                          .date = {2026, 6, 1},
                          .period = pick<std::string>({"1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                       "10", "11", "12", "13", "AD", "CL"}),
                          .fyear = pick<std::string>({"2025", "2026", "2027"}),
                          .currency = currency,
                          .exchangeRate = m_rates[currency]};
        auto& options = journal.options;
        options.rounding = services::RoundingLine{"7000", "7010", "1001"};
        if (chance(0.5)) {
            options.ledger = services::LedgerRule::EntryCurrency;
            options.foreignRate = services::ForeignLineRate::Implied;
            options.baseAmountOnLines = !chance(0.1);
        }
        fill(journal);
        return journal;
    }

    std::mt19937& random() { return m_random; }

    template <class T>
    T pick(const std::vector<T>& choices) {
        return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(m_random)];
    }

    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

private:
    double rate() {
        return std::round(std::uniform_real_distribution<double>(0.5, 2.0)(m_random) * 1e4) / 1e4;
    }

    double cents(double limit) {
        return std::uniform_int_distribution<int>(-static_cast<int>(limit * 100),
                                                  static_cast<int>(limit * 100))(m_random) /
               100.0;
    }

    // Random entries, then one that balances them: in the document's amounts under the
    // document rule, in base amounts (a base-currency entry) under the entry rule.
    void fill(RandomJournal& journal) {
        const bool byEntry = journal.options.ledger == services::LedgerRule::EntryCurrency;
        double total = 0;
        const int count = std::uniform_int_distribution<int>(1, 5)(m_random);
        for (int i = 0; i < count; ++i) {
            const auto account = pick(m_accounts);
            // Allocated amounts in dimes, so that 70 % and 30 % add up again.
            const bool allocated = account.accno == "4090";
            double amount = cents(500);
            if (allocated) amount = std::round(amount * 10) / 10;
            // The split is of base amounts too: allocated entries of the entry rule stay in
            // base currency, where dimes split exactly.
            const std::string currency =
                byEntry ? (allocated ? "USD" : pick<std::string>({"USD", "EUR", "GBP"}))
                        : journal.header.currency;
            const double base = services::roundMoney(amount * m_rates[currency]);
            journal.entries.add(account.accno, currency, amount, base);
            total += (account.debit ? 1 : -1) * (byEntry ? base : amount);
        }
        PostableAccount last = pick(m_accounts);
        while (last.accno == "4090") last = pick(m_accounts);
        const double amount = services::roundMoney(last.debit ? -total : total);
        const std::string currency = byEntry ? "USD" : journal.header.currency;
        journal.entries.add(last.accno, currency, amount,
                            services::roundMoney(amount * m_rates[currency]));
    }

    std::mt19937 m_random;
    std::vector<PostableAccount> m_accounts;
    std::map<std::string, double> m_rates;
    int m_count = 0;
};

// ----- the balances recomputed from the journal lines ----------------------------------------

struct Sums {
    double amount = 0;
    double base = 0;
    std::array<double, services::kMovementSlots> movements{};
    std::array<double, services::kMovementSlots> baseMovements{};
};

// Key: (fyear or "" for the running balance, ledger, account, currency).
using Recomputed = std::map<std::tuple<std::string, std::string, std::string, std::string>, Sums>;

void addLine(Recomputed& sums, const std::string& fyear, const std::string& ledgertype,
             const std::string& accno, const std::string& period, double amount,
             std::optional<double> base, const std::string& currency = "USD") {
    auto& running = sums[{"", ledgertype, accno, currency}];
    running.amount += amount;
    running.base += base.value_or(0);
    const auto slot = services::MovementSlot(period);
    if (!slot) return;
    auto& year = sums[{fyear, ledgertype, accno, currency}];
    year.movements[*slot] += amount;
    year.baseMovements[*slot] += base.value_or(0);
}

Recomputed recompute(db::Database& db) {
    Recomputed sums;
    for (const auto& row :
         db.query("SELECT l.fyear, l.ledgertype, l.accno, l.Currency, l.period, l.amount, "
                  "l.base_amount, "
                  "a.acctype, a.debit FROM GL_transaction_table l JOIN Account_master_table a "
                  "ON a.accno = l.accno")) {
        const std::string fyear = row["fyear"].textOr(), ledgertype = row["ledgertype"].textOr();
        const std::string accno = row["accno"].textOr(), period = row["period"].textOr();
        const double amount = row["amount"].numberOr(0);
        const auto base = row["base_amount"].number();
        addLine(sums, fyear, ledgertype, accno, period, amount, base, row["Currency"].textOr());
        if (ledgertype == "F")
            addLine(sums, fyear, "A", accno, period, base.value_or(0), std::nullopt);
        if (ledgertype == "A" && row["acctype"].textOr() == "Income Statement") {
            const double sign = row["debit"].booleanOr(false) ? -1 : 1;
            addLine(sums, fyear, "A", "3900", period, sign * amount, std::nullopt);
            auto& earnings = sums[{fyear, "A", "3900", "USD"}];
            if (const auto slot = services::MovementSlot(period); slot && base)
                earnings.baseMovements[*slot] += sign * *base;
        }
    }
    return sums;
}

void compare(std::vector<std::string>& differences, const std::string& what, double stored,
             double recomputed) {
    if (std::fabs(stored - recomputed) > 0.001)
        differences.push_back(what + ": stored " + std::to_string(stored) + ", recomputed " +
                              std::to_string(recomputed));
}

std::vector<std::string> differencesFromStored(db::Database& db, Recomputed sums) {
    std::vector<std::string> differences;
    for (const auto& row : db.query("SELECT * FROM Balance_table")) {
        const auto& s =
            sums[{"", row["ledgertype"].textOr(), row["accno"].textOr(), row["currency"].textOr()}];
        const std::string name = "running " + row["ledgertype"].textOr() + " " +
                                 row["accno"].textOr() + " " + row["currency"].textOr();
        compare(differences, name + " amount", row["amount"].numberOr(0), s.amount);
        compare(differences, name + " base_amount", row["base_amount"].numberOr(0), s.base);
    }
    for (const auto& row : db.query("SELECT * FROM Balance_period_table")) {
        const auto& s = sums[{row["fyear"].textOr(), row["ledgertype"].textOr(),
                              row["accno"].textOr(), row["currency"].textOr()}];
        const auto stored = services::ReadPeriodBalances(row);
        const std::string name = "period " + row["fyear"].textOr() + " " +
                                 row["ledgertype"].textOr() + " " + row["accno"].textOr() + " " +
                                 row["currency"].textOr() + " slot ";
        double ytd = 0;
        for (int slot = 0; slot < services::kMovementSlots; ++slot) {
            compare(differences, name + std::to_string(slot), stored.plain.movements[slot],
                    s.movements[slot]);
            compare(differences, name + "e_" + std::to_string(slot), stored.base.movements[slot],
                    s.baseMovements[slot]);
            ytd += s.movements[slot];
        }
        compare(differences, name + "ytd", stored.plain.ytd, ytd);
    }
    return differences;
}

class RandomLedgerTest : public LedgerTest {
protected:
    // Reverses a random journal not reversed yet, one way or another.
    void reverseOne(JournalGenerator& generator, std::vector<std::string>& open) {
        const std::size_t at =
            std::uniform_int_distribution<std::size_t>(0, open.size() - 1)(generator.random());
        const std::string key = open[at];
        open.erase(open.begin() + static_cast<std::ptrdiff_t>(at));
        db::Transaction tx(db());
        std::optional<services::Reversal> reversal;
        switch (std::uniform_int_distribution<int>(0, 2)(generator.random())) {
            case 0:
                reversal = services::ReverseReceiptJournal(context, key, "RC-R");
                break;
            case 1:
                reversal = services::AppendJournalReversal(context, key, "Reverse due to edit");
                break;
            default:
                reversal = services::ReverseIntoNewJournal(context, {.journalKey = key,
                                                                     .date = {2027, 2, 1},
                                                                     .period = "2",
                                                                     .fyear = "2027",
                                                                     .source = "AR-TEST",
                                                                     .description = "void"});
        }
        ASSERT_TRUE(reversal) << key << " " << ::testing::PrintToString(ui.texts());
        tx.commit();
    }
};

TEST_F(RandomLedgerTest, randomJournalsKeepTheBooksInStep) {
    JournalGenerator generator(db(), seedOfThisRun());
    std::vector<std::string> open;
    for (int n = 0; n < 300; ++n) {
        const auto journal = generator.next();
        const auto key = post(journal.header, journal.entries, journal.options);
        ASSERT_TRUE(key) << "journal " << n << ": " << ::testing::PrintToString(ui.texts());
        open.push_back(*key);
        if (generator.chance(0.1)) reverseOne(generator, open);
    }
    std::cout << count("SELECT COUNT(*) FROM GL_header_table") << " journals, "
              << count("SELECT COUNT(*) FROM GL_transaction_table") << " lines, "
              << count("SELECT COUNT(*) FROM GL_transaction_table WHERE ledgertype = 'F'")
              << " of them foreign, "
              << count("SELECT COUNT(*) FROM GL_header_table WHERE Reverse = TRUE")
              << " reversed\n";
    EXPECT_GT(count("SELECT COUNT(*) FROM GL_transaction_table WHERE customer_no = '1001'"), 0)
        << "some journals needed a rounding line";
    EXPECT_GT(count("SELECT COUNT(*) FROM GL_transaction_table WHERE accno = '4090'"), 0)
        << "some entries were allocated";
    EXPECT_GT(count("SELECT COUNT(*) FROM Account_currency_table WHERE Description = ' '"), 0)
        << "some accounts were given a new currency";
    EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{});
    const auto differences = differencesFromStored(db(), recompute(db()));
    EXPECT_TRUE(differences.empty())
        << differences.size() << " differences, the first: " << differences.front();
}

TEST_F(RandomLedgerTest, failureAtAnyStatementLeavesTheBooksAsTheyWere) {
    JournalGenerator generator(db(), seedOfThisRun() + 1);
    for (int trial = 0; trial < 30; ++trial) {
        const auto journal = generator.next();
        const auto attempt = [&](FailingDatabase& failing) {
            services::LedgerContext failingLedger(failing, ui);
            services::JournalContext failingContext{failingLedger, clock, "admin", "USD"};
            db::Transaction tx(failing);
            return services::PostJournal(failingContext, journal.header, journal.entries,
                                         journal.options);
        };
        FailingDatabase counting(db(), 0);
        ASSERT_TRUE(attempt(counting)) << ::testing::PrintToString(ui.texts());  // rolled back
        const int failAt =
            std::uniform_int_distribution<int>(1, counting.writes())(generator.random());

        const auto before = postingSnapshot(db());
        FailingDatabase failing(db(), failAt);
        EXPECT_THROW(attempt(failing), db::DbError) << "statement " << failAt;
        EXPECT_EQ(postingSnapshot(db()), before) << "trial " << trial << ", failure at statement "
                                                 << failAt << " of " << counting.writes();
        ASSERT_TRUE(post(journal.header, journal.entries, journal.options));  // the books move on
    }
    EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{});
}

}  // namespace
}  // namespace keltro::test
