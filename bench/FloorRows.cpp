#include "bench/FloorRows.h"

#include <cctype>
#include <stdexcept>

#include "services/Balances.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "store/Accounts.h"

namespace keltro::bench {

namespace {

using services::roundMoney;

bool isIdColumn(const std::string& name) {
    return name.size() == 2 && (name[0] == 'I' || name[0] == 'i') && (name[1] == 'D' || name[1] == 'd');
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<double> plus(std::optional<double> stored, std::optional<double> add) {
    if (!add) return stored;
    return stored ? roundMoney(*stored + *add) : roundMoney(*add);
}

std::optional<double> times(double sign, std::optional<double> value) {
    if (!value) return std::nullopt;
    return sign * *value;
}

const std::string& periodUpdateSql() {
    static const std::string sql = [] {
        std::string text = "UPDATE Balance_period_table SET ";
        bool first = true;
        for (const char* prefix : {"", "e_"}) {
            const auto columns = services::PeriodSideColumns(prefix);
            for (std::size_t i = 1; i < columns.size(); ++i) {
                text += (first ? "" : ", ") + columns[i] + " = ?";
                first = false;
            }
        }
        return text + " WHERE fyear = ? AND company = ? AND ledgertype = ? AND accno = ? AND "
                      "currency = ?";
    }();
    return sql;
}

constexpr const char* kRunningUpdateSql =
    "UPDATE Balance_table SET amount = ?, base_amount = ? WHERE company = ? AND ledgertype = ? "
    "AND accno = ? AND currency = ?";

}  // namespace

// ----- RowCopy ---------------------------------------------------------------------------

void RowCopy::set(std::string_view column, const db::Value& value) {
    for (const auto& [position, name] : slots)
        if (sameName(name, column)) values[position] = value;
}

RowCopy copyOf(const db::Row& row, std::string_view table,
               std::initializer_list<std::string_view> keyColumns) {
    RowCopy copy;
    std::string names;
    std::string marks;
    const auto& columns = row.columnNames();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (isIdColumn(columns[i])) continue;
        names += (names.empty() ? "[" : ", [") + columns[i] + "]";
        marks += marks.empty() ? "?" : ", ?";
        for (std::string_view key : keyColumns)
            if (sameName(columns[i], key)) copy.slots.emplace_back(copy.values.size(), columns[i]);
        copy.values.push_back(row.at(i));
    }
    copy.sql = "INSERT INTO [" + std::string(table) + "] (" + names + ") VALUES (" + marks + ")";
    return copy;
}

db::Row onlyRow(db::Rows rows, const std::string& what) {
    if (rows.empty()) throw std::runtime_error("The bench cannot find " + what);
    return std::move(rows.front());
}

// ----- DocumentCounters --------------------------------------------------------------------

DocumentCounters::DocumentCounters(db::Database& db, std::string doctype, std::string fyear)
    : m_db(db), m_doctype(std::move(doctype)), m_fyear(std::move(fyear)) {
    reread();
}

void DocumentCounters::reread() {
    m_docno = read("Docno_master_table", "nextdocno",
                   "company = ? AND doctype = ? AND fiscalyear = ?",
                   {kBenchCompany, m_doctype, m_fyear});
    m_key = read("Next_number_fkey_table", "fkeyno", "company = ? AND doctype = ?",
                 {kBenchCompany, m_doctype});
    m_plannedDocno = m_docno.next;
    m_plannedKey = m_key.next;
}

DocumentCounters::Counter DocumentCounters::read(std::string table, std::string column,
                                                 std::string where, db::Params key) {
    const auto next =
        onlyRow(m_db.query("SELECT " + column + " FROM " + table + " WHERE " + where, key),
                "the counter of " + table)
            .at(0)
            .integer();
    if (!next) throw std::runtime_error("The counter of " + table + " holds no number");
    return {std::move(table), std::move(column), std::move(where), std::move(key), *next};
}

std::vector<DocumentIds> DocumentCounters::plan(long count) {
    std::vector<DocumentIds> ids;
    ids.reserve(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        const auto docno =
            services::FormatDocumentNumber(m_db, m_doctype, m_plannedDocno + i, m_fyear);
        if (!docno) throw std::runtime_error("The numbers of " + m_doctype + " are not set up");
        ids.push_back({*docno, services::DocumentKey(kBenchCompany, m_doctype, m_plannedKey + i)});
    }
    m_plannedDocno += count;
    m_plannedKey += count;
    return ids;
}

void DocumentCounters::take() {
    ++m_docno.next;
    ++m_key.next;
}

void DocumentCounters::store() {
    store(m_docno);
    store(m_key);
}

void DocumentCounters::store(const Counter& counter) {
    db::Params params{counter.next};
    params.insert(params.end(), counter.key.begin(), counter.key.end());
    m_db.execute("UPDATE " + counter.table + " SET " + counter.column + " = ? WHERE " +
                     counter.where,
                 params);
}

// ----- JournalCopies -----------------------------------------------------------------------

JournalCopies::JournalCopies(db::Database& db, const std::string& glFkey)
    : JournalCopies(db, glFkey,
                    onlyRow(db.query("SELECT * FROM GL_header_table WHERE fkey = ?", {glFkey}),
                            "the model journal " + glFkey)) {}

JournalCopies::JournalCopies(db::Database& db, const std::string& glFkey, const db::Row& header)
    : m_db(db),
      m_header(copyOf(header, "GL_header_table", {"fkey", "docno", "source_docno"})),
      m_modelLines(db.query("SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
                            {glFkey})),
      m_counters(db, "gl", header["fyear"].textOr()) {
    for (const auto& line : m_modelLines)
        m_lines.push_back(copyOf(line, "GL_transaction_table", {"fkey", "docno", "source_docno"}));
    readBalances();
}

void JournalCopies::reread() {
    m_counters.reread();
    m_running.clear();
    m_periods.clear();
    m_moves.clear();
    readBalances();
}

void JournalCopies::write(const DocumentIds& ids, const std::string& sourceDocno) {
    m_counters.take();
    const auto copy = [&](RowCopy& row) {
        row.set("fkey", ids.fkey);
        row.set("docno", ids.docno);
        row.set("source_docno", sourceDocno);
        row.insert(m_db);
    };
    copy(m_header);
    for (auto& line : m_lines) copy(line);
    moveBalances();
}

std::size_t JournalCopies::runningRow(const std::optional<db::Row>& row, const std::string& what) {
    if (!row) throw std::runtime_error("The bench cannot find the balance row of " + what);
    const RunningKey key{(*row)["company"].integerOr(kBenchCompany), (*row)["ledgertype"].textOr(),
                         (*row)["accno"].textOr(), (*row)["currency"].textOr()};
    for (std::size_t i = 0; i < m_running.size(); ++i)
        if (m_running[i].key == key) return i;
    m_running.push_back({key, (*row)["amount"].number(), (*row)["base_amount"].number()});
    return m_running.size() - 1;
}

std::size_t JournalCopies::periodRow(const std::optional<db::Row>& row, const std::string& what) {
    if (!row) throw std::runtime_error("The bench cannot find the period row of " + what);
    const PeriodKey key{(*row)["fyear"].textOr(), (*row)["company"].integerOr(kBenchCompany),
                        (*row)["ledgertype"].textOr(), (*row)["accno"].textOr(),
                        (*row)["currency"].textOr()};
    for (std::size_t i = 0; i < m_periods.size(); ++i)
        if (m_periods[i].key == key) return i;
    m_periods.push_back({key, services::ReadPeriodBalances(*row)});
    return m_periods.size() - 1;
}

// The rows each model line moves, found as a posting finds them.
void JournalCopies::readBalances() {
    const auto earnings = services::FindCurrentEarningsAccount(m_db);
    for (const auto& line : m_modelLines) {
        LineMove move;
        const std::string accno = line["accno"].textOr();
        const std::string ledgertype = line["ledgertype"].textOr();
        const std::string currency = line["currency"].textOr();
        const std::string fyear = line["fyear"].textOr();
        if (ledgertype != "A")
            throw std::runtime_error("The floor copies base-currency journals only");
        const auto account = store::findAccount(m_db, accno);
        if (!account) throw std::runtime_error("No account " + accno);
        move.amount = line["amount"].number();
        move.baseAmount = line["base_amount"].number();
        move.periodCode = line["period"].textOr();
        move.running = runningRow(
            m_db.queryOne("SELECT * FROM Balance_table WHERE company = ? AND ledgertype = ? "
                          "AND accno = ? AND currency = ?",
                          {kBenchCompany, ledgertype, accno, currency}),
            accno);
        move.period = periodRow(
            m_db.queryOne("SELECT * FROM Balance_period_table WHERE fyear = ? AND company = ? "
                          "AND ledgertype = ? AND accno = ? AND currency = ?",
                          {fyear, kBenchCompany, ledgertype, accno, currency}),
            accno);
        if (account->acctype == services::kIncomeStatement) {
            if (!earnings) throw std::runtime_error("No current-earnings account");
            const char* anyLedger =
                "company = ? AND ledgertype IN ('A', 'E', 'F') AND accno = ? "
                "ORDER BY ledgertype, currency LIMIT 1";
            move.earningsRunning = runningRow(
                m_db.queryOne(std::string("SELECT * FROM Balance_table WHERE ") + anyLedger,
                              {kBenchCompany, *earnings}),
                *earnings);
            move.earningsPeriod = periodRow(
                m_db.queryOne(
                    std::string("SELECT * FROM Balance_period_table WHERE fyear = ? AND ") +
                        anyLedger,
                    {fyear, kBenchCompany, *earnings}),
                *earnings);
            move.earningsSign = account->debit ? -1.0 : 1.0;
        }
        m_moves.push_back(move);
    }
}

void JournalCopies::moveBalances() {
    for (const LineMove& move : m_moves) {
        RunningRow& own = m_running[move.running];
        own.amount = plus(own.amount, move.amount);
        own.baseAmount = plus(own.baseAmount, move.baseAmount);
        own.moved = true;
        if (move.earningsRunning) {
            RunningRow& earnings = m_running[*move.earningsRunning];
            earnings.amount = plus(earnings.amount, times(move.earningsSign, move.amount));
            earnings.moved = true;
        }
        movePeriod(m_periods[move.period], move.periodCode, move.amount, move.baseAmount);
        if (move.earningsPeriod)
            movePeriod(m_periods[*move.earningsPeriod], move.periodCode,
                       times(move.earningsSign, move.amount),
                       times(move.earningsSign, move.baseAmount));
    }
}

void JournalCopies::movePeriod(PeriodRow& row, const std::string& periodCode,
                               std::optional<double> amount, std::optional<double> baseAmount) {
    if (amount) services::AddPeriodAmount(row.balances, periodCode, *amount);
    if (baseAmount) services::AddPeriodAmountBase(row.balances, periodCode, *baseAmount);
    row.moved = true;
}

void JournalCopies::storeBalances() {
    for (RunningRow& row : m_running) {
        if (!row.moved) continue;
        const auto& [company, ledgertype, accno, currency] = row.key;
        m_db.execute(kRunningUpdateSql,
                     {row.amount, row.baseAmount, company, ledgertype, accno, currency});
        row.moved = false;
    }
    for (PeriodRow& row : m_periods) {
        if (!row.moved) continue;
        db::Params params;
        for (const services::PeriodSide* side : {&row.balances.plain, &row.balances.base}) {
            const auto values = services::PeriodSideValues(*side);
            params.insert(params.end(), values.begin() + 1, values.end());
        }
        const auto& [fyear, company, ledgertype, accno, currency] = row.key;
        params.insert(params.end(), {fyear, company, ledgertype, accno, currency});
        m_db.execute(periodUpdateSql(), params);
        row.moved = false;
    }
}

}  // namespace keltro::bench
