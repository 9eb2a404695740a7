// Ledger balances: what each journal line does to the accounts it touches.
//
// Two tables hold the balances a journal moves. `Balance_table` is the running balance,
// one row per company, ledger type, account and currency (no fiscal year): `amount` in
// the row's currency and `base_amount` in base currency. `Balance_period_table` holds
// the same per fiscal year, period by period (services/PeriodBalances.h).
//
// Ledger types: 'A' is the all-currency ledger in base currency, one row per account;
// 'F' the ledger of one foreign currency of an account; 'E' rows exist in
// `Balance_period_table` only, created beside each 'F' row for the rest of the suite.
//
// For each journal line just written, the posting calls `UpdateAccountBalance` and then
// `UpdatePeriodBalance`. A line adds its amounts as they stand (the journal's sign
// convention: positive increases the account on its normal side), and besides its own
// rows it moves:
//
//   * on an 'F' line, the account's 'A' rows by its base amount (50 EUR worth 40 USD add
//     50 to the EUR row and 40 to the 'A' row);
//   * on an 'A' line of an income-statement account, the current-earnings account (the
//     first account of `type` 'X'): by the line's amount when the account has a credit
//     normal balance (revenue +100 gives current earnings +100), by minus the amount when
//     it has a debit one (expense +100 gives current earnings -100).
//
// `Balance_table` rows are taken under the bounded-retry row lock (`db::kBalanceLock`);
// a row that stays locked fails the line without a message. The period rows a line moves
// belong to the account rows it has locked, so they are never changed by two saves at
// once. Nothing here opens a transaction: a false result (after its message) makes the
// saving screen roll back everything, the balance changes of earlier lines included.
//
// The current-earnings account is looked up once and kept in the `LedgerContext` the
// caller owns (one per screen, or per component).
//
// A journal's posting defers its balance rows (`BalanceRows::defer`, see
// services/JournalWriter.h): each row is read and locked the first time a line moves it,
// every later line moves the copy held, and `flush` writes each row once, in the order
// the rows were first moved, before the journal is checked. A revenue journal of three
// sales lines thus reads and writes the current-earnings rows once, not three times; the
// stored result is the same, each addition rounded as it is made. Outside a deferral
// every move is written at once.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Database.h"
#include "services/PeriodBalances.h"
#include "services/Ui.h"
#include "store/Accounts.h"

namespace keltro::services {

inline constexpr std::int64_t kLedgerCompany = 1;
// The `acctype` of the profit-and-loss accounts, whose 'A' lines move current earnings.
inline constexpr std::string_view kIncomeStatement = "Income Statement";

// The `accno` of the first account of `type` 'X' (by number); nullopt when there is none.
std::optional<std::string> FindCurrentEarningsAccount(db::Database& db);

// A `Balance_table` row as a posting moves it.
struct RunningBalanceRow {
    db::Params key;  // company, ledgertype, accno, currency
    std::optional<double> amount;
    std::optional<double> baseAmount;
    bool moved = false;  // waits to be written
};

// A `Balance_period_table` row as a posting moves it: its openings and movements as read,
// and each side's balances made anew once that side moves. Only the sides moved are
// written.
struct PeriodBalanceRow {
    db::Params key;  // fyear, company, ledgertype, accno, currency
    PeriodBalances balances;
    bool moved = false;  // waits to be written
    bool plainMoved = false;
    bool baseMoved = false;
};

// The balance rows of the postings of one database connection.
class BalanceRows {
public:
    explicit BalanceRows(db::Database& db) : m_db(db) {}
    BalanceRows(const BalanceRows&) = delete;
    BalanceRows& operator=(const BalanceRows&) = delete;

    // The first row the condition selects, locked for the transaction (`Balance_table`:
    // the bounded-retry row lock; throws db::LockTimeout), or null. While deferred, a
    // condition asked before, or a row already held, gives the row held.
    RunningBalanceRow* running(const std::string& where, const db::Params& params);
    PeriodBalanceRow* period(const std::string& where, const db::Params& params);

    // Adds the amounts (each sum rounded to cents); written at once unless deferred.
    void move(RunningBalanceRow& row, std::optional<double> amount, std::optional<double> baseAmount);
    void move(PeriodBalanceRow& row, std::string_view periodCode, std::optional<double> amount,
              std::optional<double> baseAmount);

    void defer();
    bool deferred() const { return m_deferred; }
    // While deferred: reads (and locks) the all-currency ('A') `Balance_table` rows of the
    // accounts and their 'A' `Balance_period_table` rows of `fyear`, one query each, so
    // that the lines find those rows held (every line of an account moves its 'A' rows).
    void prefetch(const std::vector<std::string>& accnos, const std::string& fyear);
    // Writes every row moved, once each, and ends the deferral.
    void flush();
    // Forgets the rows held, written or not, and ends the deferral.
    void forget();

private:
    // The one 'A' row a prefetch found for an account, by account; null when it found several.
    template <class Held>
    using OnlyRowOf = std::unordered_map<std::string, Held*>;
    template <class Held>
    static void noteOnly(OnlyRowOf<Held>& only, const std::string& accno, Held* row);
    // The lookup of an account's first row (in any ledger, or in the 'A' ledger) answered
    // by its one prefetched 'A' row, or null.
    RunningBalanceRow* firstRunningHeld(const std::string& where, const db::Params& params) const;
    PeriodBalanceRow* firstPeriodHeld(const std::string& where, const db::Params& params) const;

    template <class Held>
    std::optional<Held*> known(std::unordered_map<std::string, Held>& held, const std::string& lookup) const;
    void remember(const std::string& lookup, const std::string& key);
    RunningBalanceRow* hold(const db::Row& row);
    PeriodBalanceRow* holdPeriod(const db::Row& row);

    db::Database& m_db;
    bool m_deferred = false;
    std::unordered_map<std::string, std::string> m_found;  // other conditions → row key ("" for none)
    std::unordered_map<std::string, RunningBalanceRow> m_running;
    std::unordered_map<std::string, PeriodBalanceRow> m_period;
    OnlyRowOf<RunningBalanceRow> m_onlyRunning;
    OnlyRowOf<PeriodBalanceRow> m_onlyPeriod;  // of the prefetched year
    std::vector<RunningBalanceRow*> m_runningOrder;
    std::vector<PeriodBalanceRow*> m_periodOrder;
};

// What the balances of a database need between calls: the database, where to speak, the
// current-earnings account once it has been found, and the balance rows of a posting.
class LedgerContext {
public:
    LedgerContext(db::Database& db, Ui& ui) : m_db(db), m_ui(ui), m_rows(db) {}

    db::Database& db() const { return m_db; }
    Ui& ui() const { return m_ui; }

    // The `accno` of the first account of `type` 'X', looked up on first use and kept.
    // nullopt after "Current Earnings account (account type X) has not been set in
    // Account Master" (and looked up again next time).
    std::optional<std::string> currentEarningsAccount();
    // The same without a message when there is none.
    std::optional<std::string> currentEarningsAccountIfSet();
    // Forgets the kept account (after the chart of accounts changed).
    void forgetCurrentEarnings() { m_currentEarnings.clear(); }

    BalanceRows& balanceRows() { return m_rows; }

private:
    db::Database& m_db;
    Ui& m_ui;
    BalanceRows m_rows;
    std::string m_currentEarnings;
};

// The fields of a journal line the balances read.
struct LedgerLine {
    std::string fyear;
    std::int64_t company = kLedgerCompany;
    std::string ledgertype;  // "A" or "F"
    std::string accno;
    std::string currency;
    std::string period;  // "1" .. "13", "AD", "CL"
    std::optional<double> amount;
    std::optional<double> baseAmount;  // empty on lines that carry no base amount
};

// Moves `Balance_table`: the line's own row, then the current-earnings row (income
// statement, ledger 'A') or the account's 'A' row ('F' line). `account` is the line's
// account. False after one of the messages
//     "Error! account " accno " has not been set for " currency " currency"
//     "Error! " accno " does not exist"
//     "Current Earnings account (account type X) has not been set in Account Master"
//     "Error : No Current Retained Earning account " X " in Account Balance"
//     "Error! " accno " does not exist in Balance"
// or silently when the line's row is missing although its currency is set up, or when a
// row stays locked.
bool UpdateAccountBalance(LedgerContext& ledger, const LedgerLine& line,
                          const store::Account& account);

// Moves `Balance_period_table` for the line's fiscal year, in the same way. False after
//     "No account " accno " in fiscal year " fyear
//     "Error : No Retained Earning account " X " in Account Balance Period."
// (or the current-earnings message above). A missing 'A' row beside an 'F' line is
// passed over.
bool UpdatePeriodBalance(LedgerContext& ledger, const LedgerLine& line,
                         const store::Account& account);

// Makes `currency` a currency of the account: creates its balance rows when the pairing
// is new, then stores the `Account_currency_table` row with a blank description and
// `revalue` FALSE. False for an empty account and when the balance rows cannot be made.
bool EnsureAccountCurrency(LedgerContext& ledger, std::string_view accno,
                           std::string_view currency);

// Adds the 'F' and 'E' period rows of the account and currency for every fiscal year from
// the first open one to the last with balances, and the 'F' running row, each only when
// none exists yet; amounts are left empty. False after "Error : no account balance" when
// no year has balances, or when the account is unknown.
bool CreateCurrencyBalanceRows(LedgerContext& ledger, std::string_view accno,
                               std::string_view currency);

// ----- gathering journal amounts before the lines are written --------------------------

struct AccountTotal {
    std::string accno;
    double amount = 0;
};

struct AccountCurrencyTotal {
    std::string accno;
    std::string currency;
    double amount = 0;
    double baseAmount = 0;
};

// Adds `amount` into the entry of `accno` (the first that matches), or appends a new entry;
// every sum is rounded to cents.
void AccumulateByAccount(std::vector<AccountTotal>& totals, std::string_view accno, double amount);
// The same per account and currency, with the base amount beside the amount.
void AccumulateByAccountCurrency(std::vector<AccountCurrencyTotal>& totals, std::string_view accno,
                                 double amount, double baseAmount, std::string_view currency);

}  // namespace keltro::services
