#include "services/Balances.h"

#include <array>
#include <charconv>
#include <stdexcept>

#include "services/Money.h"
#include "services/PeriodBalances.h"
#include "services/PostingChecks.h"

namespace keltro::services {

namespace {

// ----- rows and their keys ---------------------------------------------------------------

constexpr const char* kRunningKey = "company = ? AND ledgertype = ? AND accno = ? AND currency = ?";
constexpr const char* kPeriodKey =
    "fyear = ? AND company = ? AND ledgertype = ? AND accno = ? AND currency = ?";

db::Params runningKeyOf(const db::Row& row) {
    return {row["company"], row["ledgertype"], row["accno"], row["currency"]};
}

db::Params periodKeyOf(const db::Row& row) {
    return {row["fyear"], row["company"], row["ledgertype"], row["accno"], row["currency"]};
}

// A stored amount plus a line's amount: the line's when nothing is stored; unchanged when
// the line carries none.
std::optional<double> plus(std::optional<double> stored, std::optional<double> add) {
    if (!add) return stored;
    return stored ? roundMoney(*stored + *add) : roundMoney(*add);
}

// The columns of one side a posting rewrites: all but the opening balance, which a
// posting never changes.
std::vector<std::string> sideColumnsMoved(const char* prefix) {
    const auto side = PeriodSideColumns(prefix);
    return {side.begin() + 1, side.end()};
}

std::string periodUpdateOf(bool plain, bool base) {
    std::vector<std::string> columns;
    if (plain) columns = sideColumnsMoved("");
    if (base) {
        const auto other = sideColumnsMoved("e_");
        columns.insert(columns.end(), other.begin(), other.end());
    }
    std::string text = "UPDATE Balance_period_table SET ";
    for (std::size_t i = 0; i < columns.size(); ++i) text += (i ? ", " : "") + columns[i] + " = ?";
    return text + " WHERE " + kPeriodKey;
}

// The UPDATE of the sides moved: the plain side, the base side or both.
const std::string& periodUpdateSql(bool plain, bool base) {
    static const std::array<std::string, 3> statements{
        periodUpdateOf(true, false), periodUpdateOf(false, true), periodUpdateOf(true, true)};
    return statements[plain && base ? 2 : (plain ? 0 : 1)];
}

// What a held period row is read from: its key, and the openings and movements of both
// sides (the balances after each period are made anew when a side moves).
const std::string& periodRowColumns() {
    static const std::string columns = [] {
        std::string text = "fyear, company, ledgertype, accno, currency";
        for (const auto& column : PeriodMovementColumns()) text += ", " + column;
        return text;
    }();
    return columns;
}

void writeRunningRow(db::Database& db, const RunningBalanceRow& row) {
    db::Params params{row.amount, row.baseAmount};
    params.insert(params.end(), row.key.begin(), row.key.end());
    db.queue(
        std::string("UPDATE Balance_table SET amount = ?, base_amount = ? WHERE ") + kRunningKey,
        params);
}

// Writes the sides a posting moved; a side not moved keeps what is stored.
void writePeriodRow(db::Database& db, const PeriodBalanceRow& row) {
    if (!row.plainMoved && !row.baseMoved) return;
    db::Params params;
    params.reserve(2 * (kMovementSlots + kPeriodCount + 1) + row.key.size());
    for (const auto& [side, moved] : {std::pair{&row.balances.plain, row.plainMoved},
                                      std::pair{&row.balances.base, row.baseMoved}}) {
        if (!moved) continue;
        const auto values = PeriodSideValues(*side);
        params.insert(params.end(), values.begin() + 1, values.end());
    }
    params.insert(params.end(), row.key.begin(), row.key.end());
    db.queue(periodUpdateSql(row.plainMoved, row.baseMoved), params);
}

// ----- what a line moves besides its own rows ---------------------------------------------

bool movesCurrentEarnings(const LedgerLine& line, const store::Account& account) {
    return account.acctype == kIncomeStatement && line.ledgertype == "A";
}

// Current earnings move against a debit-side account and with a credit-side one.
double currentEarningsSign(const store::Account& account) { return account.debit ? -1.0 : 1.0; }

std::optional<double> times(double sign, std::optional<double> value) {
    if (!value) return std::nullopt;
    return sign * *value;
}

// The first row of an account in any ledger and currency: its 'A' row where it has one.
constexpr const char* kAnyLedgerOfAccount =
    "company = ? AND ledgertype IN ('A', 'E', 'F') AND accno = ? ORDER BY ledgertype, currency "
    "LIMIT 1";
constexpr const char* kLedgerAOfAccount =
    "company = ? AND ledgertype = 'A' AND accno = ? ORDER BY currency LIMIT 1";

bool reportMissingRunningRow(LedgerContext& ledger, const LedgerLine& line) {
    const auto config = ledger.db().queryOne("SELECT * FROM COA_config_table");
    if (!config) return false;
    if (line.currency != (*config)["Currency"].textOr()) {
        if (!AccountCurrencyExists(ledger.db(), line.accno, line.currency))
            ledger.ui().message("Error! account " + line.accno + " has not been set for " +
                                line.currency + " currency");
    } else {
        ledger.ui().message("Error! " + line.accno + " does not exist");
    }
    return false;
}

bool moveCurrentEarningsRunning(LedgerContext& ledger, const LedgerLine& line,
                                const store::Account& account) {
    const auto earnings = ledger.currentEarningsAccount();
    if (!earnings) return false;
    RunningBalanceRow* row = ledger.balanceRows().running(kAnyLedgerOfAccount, {line.company, *earnings});
    if (!row) {
        ledger.ui().message("Error : No Current Retained Earning account " + *earnings +
                            " in Account Balance");
        return false;
    }
    ledger.balanceRows().move(*row, times(currentEarningsSign(account), line.amount), std::nullopt);
    return true;
}

bool moveLedgerARunning(LedgerContext& ledger, const LedgerLine& line) {
    RunningBalanceRow* row = ledger.balanceRows().running(kLedgerAOfAccount, {line.company, line.accno});
    if (!row) {
        ledger.ui().message("Error! " + line.accno + " does not exist in Balance");
        return false;
    }
    ledger.balanceRows().move(*row, line.baseAmount, std::nullopt);
    return true;
}

bool moveCurrentEarningsPeriod(LedgerContext& ledger, const LedgerLine& line,
                               const store::Account& account) {
    const auto earnings = ledger.currentEarningsAccount();
    if (!earnings) return false;
    PeriodBalanceRow* row = ledger.balanceRows().period(std::string("fyear = ? AND ") + kAnyLedgerOfAccount,
                                                        {line.fyear, line.company, *earnings});
    if (!row) {
        ledger.ui().message("Error : No Retained Earning account " + *earnings +
                            " in Account Balance Period.");
        return false;
    }
    const double sign = currentEarningsSign(account);
    ledger.balanceRows().move(*row, line.period, times(sign, line.amount), times(sign, line.baseAmount));
    return true;
}

// ----- currency rows --------------------------------------------------------------------

std::optional<int> yearNumber(const db::Value& value) {
    const auto text = value.text();
    int year = 0;
    if (!text || text->empty()) return std::nullopt;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), year);
    if (error != std::errc() || end != text->data() + text->size()) return std::nullopt;
    return year;
}

std::optional<int> firstOpenFiscalYear(db::Database& db) {
    std::optional<int> first;
    for (const auto& row : db.query("SELECT fyear FROM Fiscalyear_table WHERE history = FALSE"))
        if (const auto year = yearNumber(row["fyear"]); year && (!first || *year < *first))
            first = year;
    return first;
}

std::optional<int> lastYearWithBalances(db::Database& db) {
    const auto row = db.queryOne(
        "SELECT MAX(fyear) AS maxfyear FROM Balance_period_table WHERE ledgertype = 'A'");
    return row ? yearNumber((*row)["maxfyear"]) : std::nullopt;
}

// The columns every new balance row starts with: company, ledger, currency, account and
// its segments.
db::Params newRowValues(const store::Account& account, const char* ledgertype,
                        std::string_view currency) {
    db::Params values{kLedgerCompany, ledgertype, currency, account.accno};
    values.insert(values.end(), account.segments.begin(), account.segments.end());
    return values;
}

constexpr const char* kNewRowColumns =
    "company, ledgertype, Currency, accno, acccode, subacc, subacc2, subacc3, subacc4, subacc5";
constexpr const char* kNewRowPlaces = "?, ?, ?, ?, ?, ?, ?, ?, ?, ?";

bool hasForeignRow(db::Database& db, const char* table, std::string_view accno,
                   std::string_view currency) {
    return db
        .queryOne(std::string("SELECT 1 FROM ") + table +
                      " WHERE company = ? AND ledgertype = 'F' AND accno = ? AND currency = ?",
                  {kLedgerCompany, accno, currency})
        .has_value();
}

void addPeriodRows(db::Database& db, const store::Account& account, std::string_view currency,
                   int firstYear, int lastYear) {
    const std::string sql = std::string("INSERT INTO Balance_period_table (fyear, ") +
                            kNewRowColumns + ") VALUES (?, " + kNewRowPlaces + ")";
    for (int year = firstYear; year <= lastYear; ++year)
        for (const char* ledgertype : {"F", "E"}) {
            db::Params values{std::to_string(year)};
            const auto row = newRowValues(account, ledgertype, currency);
            values.insert(values.end(), row.begin(), row.end());
            db.execute(sql, values);
        }
}

void addRunningRow(db::Database& db, const store::Account& account, std::string_view currency) {
    db.execute(std::string("INSERT INTO Balance_table (") + kNewRowColumns + ") VALUES (" +
                   kNewRowPlaces + ")",
               newRowValues(account, "F", currency));
}

// The text a lookup or a row key is remembered by: the values, then the table and the
// condition they were asked with.
std::string keyText(std::string_view table, std::string_view where, const db::Params& params) {
    std::string text;
    text.reserve(48 + table.size() + where.size());
    for (const auto& p : params) {
        if (const auto* textValue = std::get_if<std::string>(&p.storage())) text += *textValue;
        else text += p.textOr();
        text += '\x1f';
    }
    text += table;
    text += '|';
    text += where;
    return text;
}

}  // namespace

// ----- the balance rows a posting moves ---------------------------------------------------

// While deferred, what a lookup found before: the row held under it (a row's own key is a
// lookup too), or null after a lookup that found none; nullopt when it is to be asked.
template <class Held>
std::optional<Held*> BalanceRows::known(std::unordered_map<std::string, Held>& held, const std::string& lookup) const {
    if (!m_deferred) return std::nullopt;
    if (auto row = held.find(lookup); row != held.end()) return &row->second;
    if (auto found = m_found.find(lookup); found != m_found.end())
        return found->second.empty() ? nullptr : &held.at(found->second);
    return std::nullopt;
}

RunningBalanceRow* BalanceRows::running(const std::string& where, const db::Params& params) {
    const std::string lookup = keyText("Balance_table", where, params);
    if (const auto row = known(m_running, lookup)) return *row;
    if (RunningBalanceRow* held = firstRunningHeld(where, params)) return held;
    // Throws db::LockTimeout when another workstation keeps the row.
    auto rows = m_db.lockRows("SELECT * FROM Balance_table WHERE " + where, params, db::kBalanceLock);
    if (rows.empty()) return remember(lookup, {}), nullptr;
    RunningBalanceRow* row = hold(rows.front());
    remember(lookup, keyText("Balance_table", kRunningKey, row->key));
    return row;
}

// A row already held (reached by another lookup) keeps what has been moved on it.
RunningBalanceRow* BalanceRows::hold(const db::Row& row) {
    RunningBalanceRow read{runningKeyOf(row), row["amount"].number(), row["base_amount"].number(), false};
    std::string key = keyText("Balance_table", kRunningKey, read.key);
    if (!m_deferred) return &m_running.insert_or_assign(std::move(key), std::move(read)).first->second;
    return &m_running.try_emplace(std::move(key), std::move(read)).first->second;
}

PeriodBalanceRow* BalanceRows::holdPeriod(const db::Row& row) {
    PeriodBalanceRow read{periodKeyOf(row), ReadPeriodMovements(row)};
    std::string key = keyText("Balance_period_table", kPeriodKey, read.key);
    if (!m_deferred) return &m_period.insert_or_assign(std::move(key), std::move(read)).first->second;
    return &m_period.try_emplace(std::move(key), std::move(read)).first->second;
}

void BalanceRows::prefetch(const std::vector<std::string>& accnos, const std::string& fyear) {
    if (!m_deferred || accnos.empty()) return;
    db::Params params{kLedgerCompany};
    params.insert(params.end(), accnos.begin(), accnos.end());
    const std::string in = db::placeholders(accnos.size());
    for (const auto& row :
         m_db.lockRows("SELECT company, ledgertype, accno, currency, amount, base_amount FROM Balance_table "
                       "WHERE company = ? AND ledgertype = 'A' AND accno IN " + in,
                       params, db::kBalanceLock))
        noteOnly(m_onlyRunning, row["accno"].textOr(), hold(row));
    params.insert(params.begin(), fyear);
    for (const auto& row : m_db.query("SELECT " + periodRowColumns() +
                                          " FROM Balance_period_table WHERE fyear = ? AND company = ? "
                                          "AND ledgertype = 'A' AND accno IN " + in,
                                      params))
        noteOnly(m_onlyPeriod, row["accno"].textOr(), holdPeriod(row));
}

template <class Held>
void BalanceRows::noteOnly(OnlyRowOf<Held>& only, const std::string& accno, Held* row) {
    auto [entry, added] = only.try_emplace(accno, row);
    if (!added && entry->second != row) entry->second = nullptr;
}

namespace {

bool asksFirstRow(std::string_view where) {
    return where == kAnyLedgerOfAccount || where == kLedgerAOfAccount;
}

bool sameText(const db::Value& a, const db::Value& b) { return a.textOr() == b.textOr(); }

}  // namespace

// An account's one 'A' row is its first row in any ledger (the 'A' ledger sorts first)
// and its first 'A' row; an account with several 'A' rows is asked of the database.
RunningBalanceRow* BalanceRows::firstRunningHeld(const std::string& where, const db::Params& params) const {
    if (params.size() != 2 || !asksFirstRow(where)) return nullptr;
    const auto only = m_onlyRunning.find(params[1].textOr());
    if (only == m_onlyRunning.end() || !only->second) return nullptr;
    return sameText(only->second->key[0], params[0]) ? only->second : nullptr;
}

PeriodBalanceRow* BalanceRows::firstPeriodHeld(const std::string& where, const db::Params& params) const {
    constexpr std::string_view kOfYear = "fyear = ? AND ";
    if (params.size() != 3 || !where.starts_with(kOfYear)) return nullptr;
    if (!asksFirstRow(std::string_view(where).substr(kOfYear.size()))) return nullptr;
    const auto only = m_onlyPeriod.find(params[2].textOr());
    if (only == m_onlyPeriod.end() || !only->second) return nullptr;
    const db::Params& key = only->second->key;  // fyear, company, …
    return sameText(key[0], params[0]) && sameText(key[1], params[1]) ? only->second : nullptr;
}

PeriodBalanceRow* BalanceRows::period(const std::string& where, const db::Params& params) {
    const std::string lookup = keyText("Balance_period_table", where, params);
    if (const auto row = known(m_period, lookup)) return *row;
    if (PeriodBalanceRow* held = firstPeriodHeld(where, params)) return held;
    const auto row = m_db.queryOne("SELECT * FROM Balance_period_table WHERE " + where, params);
    if (!row) return remember(lookup, {}), nullptr;
    PeriodBalanceRow* held = holdPeriod(*row);
    remember(lookup, keyText("Balance_period_table", kPeriodKey, held->key));
    return held;
}

void BalanceRows::remember(const std::string& lookup, const std::string& key) {
    if (m_deferred) m_found[lookup] = key;
}

void BalanceRows::move(RunningBalanceRow& row, std::optional<double> amount, std::optional<double> baseAmount) {
    row.amount = plus(row.amount, amount);
    row.baseAmount = plus(row.baseAmount, baseAmount);
    if (!m_deferred) return writeRunningRow(m_db, row);
    if (!row.moved) m_runningOrder.push_back(&row);
    row.moved = true;
}

void BalanceRows::move(PeriodBalanceRow& row, std::string_view periodCode, std::optional<double> amount,
                       std::optional<double> baseAmount) {
    if (amount) AddPeriodAmount(row.balances, periodCode, *amount);
    if (baseAmount) AddPeriodAmountBase(row.balances, periodCode, *baseAmount);
    row.plainMoved = row.plainMoved || amount;
    row.baseMoved = row.baseMoved || baseAmount;
    if (!m_deferred) return writePeriodRow(m_db, row);
    if (!row.moved) m_periodOrder.push_back(&row);
    row.moved = true;
}

void BalanceRows::defer() {
    if (m_deferred) throw std::logic_error("The balance rows of a posting are already deferred");
    forget();
    m_deferred = true;
}

void BalanceRows::flush() {
    for (const RunningBalanceRow* row : m_runningOrder) writeRunningRow(m_db, *row);
    for (const PeriodBalanceRow* row : m_periodOrder) writePeriodRow(m_db, *row);
    forget();
}

void BalanceRows::forget() {
    m_deferred = false;
    m_found.clear();
    m_onlyRunning.clear();
    m_onlyPeriod.clear();
    m_running.clear();
    m_period.clear();
    m_runningOrder.clear();
    m_periodOrder.clear();
}

std::optional<std::string> FindCurrentEarningsAccount(db::Database& db) {
    const auto row = db.queryOne(
        "SELECT MIN(accno) AS accno FROM Account_master_table WHERE [type] = 'X'");
    if (!row || (*row)["accno"].textOr().empty()) return std::nullopt;
    return (*row)["accno"].textOr();
}

std::optional<std::string> LedgerContext::currentEarningsAccountIfSet() {
    if (m_currentEarnings.empty())
        m_currentEarnings = FindCurrentEarningsAccount(m_db).value_or(std::string());
    if (m_currentEarnings.empty()) return std::nullopt;
    return m_currentEarnings;
}

std::optional<std::string> LedgerContext::currentEarningsAccount() {
    const auto account = currentEarningsAccountIfSet();
    if (!account) {
        m_ui.message(
            "Current Earnings account (account type X) has not been set in Account Master");
    }
    return account;
}

bool UpdateAccountBalance(LedgerContext& ledger, const LedgerLine& line,
                          const store::Account& account) {
    if (!ledger.balanceRows().deferred()) ledger.balanceRows().forget();
    try {
        RunningBalanceRow* own =
            ledger.balanceRows().running(kRunningKey, {line.company, line.ledgertype, line.accno, line.currency});
        if (!own) return reportMissingRunningRow(ledger, line);
        ledger.balanceRows().move(*own, line.amount, line.baseAmount);
        if (movesCurrentEarnings(line, account) &&
            !moveCurrentEarningsRunning(ledger, line, account))
            return false;
        return line.ledgertype != "F" || moveLedgerARunning(ledger, line);
    } catch (const db::LockTimeout&) {
        // Another workstation keeps the row: the save ends, its caller rolls back.
        return false;
    }
}

bool UpdatePeriodBalance(LedgerContext& ledger, const LedgerLine& line,
                         const store::Account& account) {
    BalanceRows& rows = ledger.balanceRows();
    if (!rows.deferred()) rows.forget();
    PeriodBalanceRow* own =
        rows.period(kPeriodKey, {line.fyear, line.company, line.ledgertype, line.accno, line.currency});
    if (!own) {
        ledger.ui().message("No account " + line.accno + " in fiscal year " + line.fyear);
        return false;
    }
    rows.move(*own, line.period, line.amount, line.baseAmount);
    if (line.ledgertype == "F") {
        PeriodBalanceRow* ledgerA =
            rows.period(std::string("fyear = ? AND ") + kLedgerAOfAccount, {line.fyear, line.company, line.accno});
        if (ledgerA) rows.move(*ledgerA, line.period, line.baseAmount, std::nullopt);
    }
    return !movesCurrentEarnings(line, account) || moveCurrentEarningsPeriod(ledger, line, account);
}

bool EnsureAccountCurrency(LedgerContext& ledger, std::string_view accno,
                           std::string_view currency) {
    if (accno.empty()) return false;
    db::Database& db = ledger.db();
    if (AccountCurrencyExists(db, accno, currency)) {
        db.execute(
            "UPDATE Account_currency_table SET Description = ?, revalue = FALSE "
            "WHERE accno = ? AND currency = ?",
            {" ", accno, currency});
        return true;
    }
    if (!CreateCurrencyBalanceRows(ledger, accno, currency)) return false;
    db.execute(
        "INSERT INTO Account_currency_table (accno, Currency, Description, revalue) "
        "VALUES (?, ?, ?, FALSE)",
        {accno, currency, " "});
    return true;
}

bool CreateCurrencyBalanceRows(LedgerContext& ledger, std::string_view accno,
                               std::string_view currency) {
    db::Database& db = ledger.db();
    const auto lastYear = lastYearWithBalances(db);
    if (!lastYear) {
        ledger.ui().message("Error : no account balance");
        return false;
    }
    const int firstYear = firstOpenFiscalYear(db).value_or(*lastYear);
    const auto account = store::findAccount(db, accno);
    if (!account) return false;
    if (!hasForeignRow(db, "Balance_period_table", accno, currency))
        addPeriodRows(db, *account, currency, firstYear, *lastYear);
    if (!hasForeignRow(db, "Balance_table", accno, currency)) addRunningRow(db, *account, currency);
    return true;
}

void AccumulateByAccount(std::vector<AccountTotal>& totals, std::string_view accno, double amount) {
    for (auto& total : totals)
        if (total.accno == accno) {
            total.amount = roundMoney(amount + total.amount);
            return;
        }
    totals.push_back({std::string(accno), roundMoney(amount)});
}

void AccumulateByAccountCurrency(std::vector<AccountCurrencyTotal>& totals, std::string_view accno,
                                 double amount, double baseAmount, std::string_view currency) {
    for (auto& total : totals)
        if (total.accno == accno && total.currency == currency) {
            total.amount = roundMoney(amount + total.amount);
            total.baseAmount = roundMoney(baseAmount + total.baseAmount);
            return;
        }
    totals.push_back(
        {std::string(accno), std::string(currency), roundMoney(amount), roundMoney(baseAmount)});
}

}  // namespace keltro::services
