// Journal lines: the rows of `GL_transaction_table` and what writing one does.
//
// A journal is one `GL_header_table` row and its lines, tied by the journal key (`fkey`,
// "1gl-" + a counter) and numbered 1, 2, 3 … (`lineno`). Each line names an account with
// its segments (`acccode`, `subacc` .. `subacc5`, copied from the account), an amount in
// the line's currency and one in base currency, and the ledger it belongs to: 'A' for a
// line in base currency, 'F' for one in a foreign currency (with its `exchange_rate`).
// The line repeats the header's date, period, fiscal year, source and number.
//
// A line is written and, in the same step, moves the balances of its account
// (services/Balances.h): `PostJournalLine` is that step, shared by the journal writer and
// the reversals. Everything runs inside the saving screen's transaction.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "store/Accounts.h"

namespace keltro::services {

// What a posting needs to know besides its journal: the balances' context (database,
// messages, the kept current-earnings account), today's date and time, the user and the
// base currency.
struct JournalContext {
    LedgerContext& ledger;
    const Clock& clock;
    std::string user;
    std::string baseCurrency;

    db::Database& db() const { return ledger.db(); }
    Ui& ui() const { return ledger.ui(); }
};

// One row of `GL_transaction_table` (company 1).
struct JournalLine {
    std::string fkey;
    std::string docno;
    std::int64_t lineno = 0;
    std::string accno;
    std::array<std::string, 6> segments;  // acccode, subacc, subacc2 .. subacc5
    std::optional<double> amount;
    std::optional<double> baseAmount;  // empty on lines written without one
    std::string currency;
    std::string ledgertype;
    std::optional<double> exchangeRate;
    std::optional<db::Date> gldate;
    std::string period;
    std::string fyear;
    std::optional<std::string> customerNo;
    std::string source;
    std::string sourceForm;
    std::string sourceDocno;
    // Who wrote the line: `user_created`, or `userid` on the lines of screens that stamp it.
    std::optional<std::string> userCreated;
    std::optional<std::string> userid;
    std::optional<db::Date> dateCreated;
    std::optional<std::string> timeCreated;

    // The fields the balances read.
    LedgerLine ledgerLine() const;
};

// The balance rows of one journal's lines, each read once and written once by `flush`
// (services/Balances.h); forgotten unwritten when the posting fails on the way.
class DeferredBalances {
public:
    explicit DeferredBalances(LedgerContext& ledger) : m_rows(ledger.balanceRows()) { m_rows.defer(); }
    ~DeferredBalances() { m_rows.forget(); }
    DeferredBalances(const DeferredBalances&) = delete;
    DeferredBalances& operator=(const DeferredBalances&) = delete;
    void flush() { m_rows.flush(); }

private:
    BalanceRows& m_rows;
};

// Stamps the line with the context's user, today and now (`user_created`).
void StampJournalLine(const JournalContext& context, JournalLine& line);

// Writes the line and moves its balances (`UpdateAccountBalance`, then
// `UpdatePeriodBalance`); `account` is the line's account. False after the balances'
// message.
bool PostJournalLine(JournalContext& context, const JournalLine& line,
                     const store::Account& account);

// The lines of a journal, by line number.
std::vector<JournalLine> ReadJournalLines(db::Database& db, std::string_view journalKey);

// The highest line number of a journal (0 without lines).
std::int64_t LastJournalLineNo(db::Database& db, std::string_view journalKey);

// Accounts read once per posting: a journal names the same account on several lines.
class AccountCache {
public:
    explicit AccountCache(db::Database& db) : m_db(db) {}
    // The account, or nullptr when `Account_master_table` has none.
    const store::Account* find(const std::string& accno);
    // Reads the accounts with how postings to each are spread, in one query, and gives
    // the spreads (see store::findAccountsAndShares).
    std::map<std::string, std::vector<store::AllocationShare>, std::less<>> prefetch(
        const std::vector<std::string>& accnos);

private:
    db::Database& m_db;
    std::map<std::string, std::optional<store::Account>, std::less<>> m_accounts;
};

}  // namespace keltro::services
