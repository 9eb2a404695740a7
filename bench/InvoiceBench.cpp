#include "bench/InvoiceBench.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "host/ARclass.h"
#include "host/ScreenFactory.h"
#include "invoice/ARform_invoice.h"
#include "invoice/InvoiceKind.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Balances.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "services/Numbering.h"
#include "services/PeriodBalances.h"
#include "services/Ui.h"
#include "store/Accounts.h"

namespace keltro::bench {

namespace {

using Clock = std::chrono::steady_clock;
using services::roundMoney;

constexpr const char* kCustomer = "1001";
constexpr const char* kDateFormat = "dd/mm/yyyy";
constexpr std::int64_t kCompany = 1;

// The three lines every bench invoice carries.
struct BenchLine {
    const char* description;
    const char* taxable;
    const char* salesAccount;
};
constexpr BenchLine kLines[] = {
    {"Copier paper, 20 cases", "250.00", "4000"},
    {"Meeting-room chairs", "1180.40", "4010"},
    {"Colour printing", "86.35", "4020"},
};
constexpr const char* kTaxCode = "S2";

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

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

// ----- the screen run -------------------------------------------------------------------

// A person who answers every question "No" and notes when the awaited message came.
class CompletionUi final : public services::Ui {
public:
    void await(std::string text) {
        m_awaited = std::move(text);
        m_arrived.reset();
        m_said.clear();
    }
    const std::optional<Clock::time_point>& arrived() const { return m_arrived; }
    std::string said() const {
        std::string all;
        for (const auto& text : m_said) all += (all.empty() ? "" : " / ") + text;
        return all.empty() ? "nothing" : all;
    }

    void message(const std::string& text) override {
        if (!m_arrived && text == m_awaited) m_arrived = Clock::now();
        m_said.push_back(text);
    }
    void warn(const std::string& text) override { m_said.push_back(text); }
    bool ask(const std::string& text) override {
        m_said.push_back(text);
        return false;
    }
    void progress(long, long) override {}
    void pumpEvents() override {}

private:
    std::string m_awaited;
    std::optional<Clock::time_point> m_arrived;
    std::vector<std::string> m_said;
};

// ----- the floor's model rows -------------------------------------------------------------

// An INSERT of a copied row; the key columns are filled in per invoice.
struct RowCopy {
    std::string sql;
    db::Params values;
    std::vector<std::pair<std::size_t, std::string>> slots;  // position, column

    void set(std::string_view column, const db::Value& value) {
        for (const auto& [position, name] : slots)
            if (sameName(name, column)) values[position] = value;
    }
};

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

// A counter row: its next number, kept here between invoices.
struct CounterRow {
    std::string table;
    std::string column;
    std::string where;
    db::Params key;
    std::int64_t next = 0;

    std::string updateSql() const {
        return "UPDATE " + table + " SET " + column + " = ? WHERE " + where;
    }
};

CounterRow readCounter(db::Database& db, std::string table, std::string column, std::string where,
                       db::Params key) {
    const auto next =
        onlyRow(db.query("SELECT " + column + " FROM " + table + " WHERE " + where, key),
                "the counter of " + table)
            .at(0)
            .integer();
    if (!next) throw std::runtime_error("The counter of " + table + " holds no number");
    return {std::move(table), std::move(column), std::move(where), std::move(key), *next};
}

std::optional<double> plus(std::optional<double> stored, std::optional<double> add) {
    if (!add) return stored;
    return stored ? roundMoney(*stored + *add) : roundMoney(*add);
}

std::optional<double> times(double sign, std::optional<double> value) {
    if (!value) return std::nullopt;
    return sign * *value;
}

using RunningKey = std::tuple<std::int64_t, std::string, std::string, std::string>;
using PeriodKey = std::tuple<std::string, std::int64_t, std::string, std::string, std::string>;

RunningKey runningKeyOf(const db::Row& row) {
    return {row["company"].integerOr(kCompany), row["ledgertype"].textOr(), row["accno"].textOr(),
            row["currency"].textOr()};
}

PeriodKey periodKeyOf(const db::Row& row) {
    return {row["fyear"].textOr(), row["company"].integerOr(kCompany), row["ledgertype"].textOr(),
            row["accno"].textOr(), row["currency"].textOr()};
}

struct RunningRow {
    RunningKey key;
    std::optional<double> amount;
    std::optional<double> baseAmount;
    bool moved = false;
};

struct PeriodRow {
    PeriodKey key;
    services::PeriodBalances balances;
    bool moved = false;
};

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

// What one journal line of the model moves: its own rows and, for an income-statement
// line, the current-earnings rows.
struct LineMove {
    std::size_t running = 0;
    std::size_t period = 0;
    std::optional<std::size_t> earningsRunning;
    std::optional<std::size_t> earningsPeriod;
    double earningsSign = 1;
    std::string periodCode;
    std::optional<double> amount;
    std::optional<double> baseAmount;
};

// The numbers of one copied invoice.
struct Numbers {
    std::string docno;
    std::string fkey;
    std::string glDocno;
    std::string glFkey;
};

}  // namespace

// ----- CommitSettings --------------------------------------------------------------------

std::string_view modeName(CommitMode mode) { return mode == CommitMode::Durable ? "durable" : "cpu"; }

CommitSettings::CommitSettings(db::Database& db) : m_db(db) {
    if (db.engine() == db::Engine::Sqlite)
        if (const auto row = db.queryOne("PRAGMA synchronous"))
            m_defaultSynchronous = std::to_string(row->at(0).integerOr(2));
}

void CommitSettings::apply(CommitMode mode) {
    if (m_db.engine() == db::Engine::Sqlite) {
        // Pragmas take no bound values; the text is one of ours.
        const std::string value = mode == CommitMode::Cpu ? "OFF" : m_defaultSynchronous;
        m_db.executeScript("PRAGMA synchronous = " + value);
    } else {
        m_db.executeScript(mode == CommitMode::Cpu ? "SET synchronous_commit = off"
                                                   : "RESET synchronous_commit");
    }
}

void prepareBenchDatabase(db::Database& db, const db::Date& today) {
    db::Transaction transaction(db);
    schema::createSchema(db);
    schema::addDemoCompany(db, today);
    transaction.commit();
}

// ----- Timing and Measurement ------------------------------------------------------------

double Timing::perSecond() const {
    return elapsed.count() > 0 ? static_cast<double>(count) / elapsed.count() : 0;
}

double Timing::msPerInvoice() const {
    return count > 0 ? elapsed.count() * 1000 / static_cast<double>(count) : 0;
}

double Measurement::ratio() const {
    const double floorRate = floor.perSecond();
    return floorRate > 0 ? screen.perSecond() / floorRate : 0;
}

std::string Measurement::json() const {
    return std::string("{\"bench\":\"invoice\",\"engine\":\"") +
           std::string(db::engineName(engine)) + "\",\"mode\":\"" + std::string(modeName(mode)) +
           "\",\"preloaded\":" + std::to_string(preloaded) +
           ",\"count\":" + std::to_string(screen.count) +
           ",\"per_s\":" + fixed(screen.perSecond(), 1) +
           ",\"floor_per_s\":" + fixed(floor.perSecond(), 1) + ",\"ratio\":" + fixed(ratio(), 2) +
           ",\"ms_per_invoice\":" + fixed(screen.msPerInvoice(), 3) +
           ",\"floor_ms_per_invoice\":" + fixed(floor.msPerInvoice(), 3) + "}";
}

// ----- InvoiceBench::Screen --------------------------------------------------------------

class InvoiceBench::Screen {
public:
    Screen(db::Database& db, const services::Clock& clock) : m_clock(clock), m_arclass(m_factory) {
        const auto config = db.queryOne("SELECT Currency FROM COA_config_table");
        m_arclass.cnx = m_arclass.dbe = m_arclass.abcdb = &db;
        m_arclass.BASE_CURRENCY = config ? (*config)["Currency"].textOr("USD") : "USD";
        m_arclass.KELTRO_USER = "admin";
        m_arclass.KELTRO_DATE_FORMAT = kDateFormat;
        m_arclass.KELTRO_NO_PERIODS = "12";
        m_arclass.ui = &m_ui;
        m_arclass.clock = &m_clock;
        m_arclass.NotifyClients = [](const std::string&, const std::string&, const std::string&) {};
        m_arclass.showform_ARform_invoice();
        m_screen = m_arclass.referencedScreen("ARform_invoice");
        if (!dynamic_cast<invoice::ARform_invoice*>(m_screen.get()))
            throw std::runtime_error("The invoice screen did not open");
    }

    // Types one invoice and saves it; the time from "&Save" to its completion message.
    std::chrono::duration<double> enterAndSave() {
        framework::Screen& screen = *m_screen;
        m_ui.await("");
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", kCustomer);
        screen.enter("txtinvdate", services::FormatUserDate(m_clock.today(), kDateFormat));
        for (std::size_t row = 0; row < std::size(kLines); ++row) {
            screen.enterCell("dbgrid1", row, "description", kLines[row].description);
            screen.enterCell("dbgrid1", row, "tax code", kTaxCode);
            screen.enterCell("dbgrid1", row, "taxable amount", kLines[row].taxable);
            screen.enterCell("dbgrid1", row, "sales account", kLines[row].salesAccount);
        }
        const std::string typed = m_ui.said();
        m_ui.await(std::string(invoice::kindNamed(invoice::kInvoiceKind).added));
        const auto start = Clock::now();
        screen.run("&Save");
        if (!m_ui.arrived())
            throw std::runtime_error("The invoice was not saved; the screen said: " + m_ui.said() +
                                     " (while typing: " + typed + ")");
        return *m_ui.arrived() - start;
    }

private:
    const services::Clock& m_clock;
    CompletionUi m_ui;
    host::HeadlessScreenFactory m_factory;
    host::ARclass m_arclass;
    std::shared_ptr<framework::Screen> m_screen;
};

// ----- InvoiceBench::Floor ---------------------------------------------------------------

class InvoiceBench::Floor {
public:
    explicit Floor(db::Database& db) : m_db(db) {
        readModel();
        readCounters();
        readBalances();
    }

    // One invoice to a transaction writes the counters where a save takes them; a bulk
    // load stores them once per transaction.
    void writeCountersPerInvoice(bool perInvoice) { m_writeCountersNow = perInvoice; }

    std::vector<Numbers> number(long count) {
        std::vector<Numbers> numbers;
        numbers.reserve(static_cast<std::size_t>(count));
        for (long i = 0; i < count; ++i) {
            const auto docno = services::FormatDocumentNumber(
                m_db, "ar", m_plannedDocno.next + i, m_fyear);
            const auto glDocno = services::FormatDocumentNumber(
                m_db, "gl", m_plannedGlDocno.next + i, m_glFyear);
            if (!docno || !glDocno) throw std::runtime_error("The document numbers are not set up");
            numbers.push_back({*docno, services::DocumentKey(kCompany, "ar", m_plannedKey.next + i),
                               *glDocno,
                               services::DocumentKey(kCompany, "gl", m_plannedGlKey.next + i)});
        }
        m_plannedDocno.next += count;
        m_plannedGlDocno.next += count;
        m_plannedKey.next += count;
        m_plannedGlKey.next += count;
        return numbers;
    }

    // Writes the numbered invoices, `perTransaction` to a transaction.
    void write(const std::vector<Numbers>& numbers, long perTransaction) {
        std::size_t done = 0;
        while (done < numbers.size()) {
            const std::size_t end =
                std::min(numbers.size(), done + static_cast<std::size_t>(perTransaction));
            db::Transaction transaction(m_db);
            for (; done < end; ++done) {
                writeDocument(numbers[done]);
                if (perTransaction == 1) storeMoved();
            }
            if (perTransaction != 1) storeMoved();
            transaction.commit();
        }
    }

private:
    void readModel() {
        const auto last = onlyRow(
            m_db.query("SELECT fkey FROM AR_header_table WHERE doctype = ? AND Source = ? "
                       "ORDER BY Id DESC LIMIT 1",
                       {"ar", invoice::kSourceInvoice}),
            "an invoice saved by the screen");
        const std::string fkey = last["fkey"].textOr();
        const auto header = onlyRow(m_db.query("SELECT * FROM AR_header_table WHERE fkey = ?",
                                                {fkey}),
                                     "the model invoice");
        m_header = copyOf(header, "AR_header_table", {"fkey", "docno", "GLFKEY"});
        m_fyear = header["fyear"].textOr();
        m_customer = header["customer_no"].textOr();
        double taxable = 0;
        double tax = 0;
        for (const auto& line : m_db.query(
                 "SELECT * FROM AR_transaction_table WHERE fkey = ? ORDER BY pay_item", {fkey})) {
            m_lines.push_back(copyOf(line, "AR_transaction_table", {"fkey", "docno"}));
            taxable = roundMoney(taxable + line["taxable_amount"].numberOr(0));
            tax = roundMoney(tax + line["tax_amount"].numberOr(0));
        }
        m_total = roundMoney(taxable + tax);
        const std::string glFkey = header["GLFKEY"].textOr();
        const auto journal = onlyRow(m_db.query("SELECT * FROM GL_header_table WHERE fkey = ?",
                                                 {glFkey}),
                                      "the model journal");
        m_journal = copyOf(journal, "GL_header_table", {"fkey", "docno"});
        m_glFyear = journal["fyear"].textOr();
        m_journalLines = m_db.query(
            "SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno", {glFkey});
        for (const auto& line : m_journalLines)
            m_glLines.push_back(copyOf(line, "GL_transaction_table", {"fkey", "docno"}));
        const auto owing = m_db.queryOne(
            "SELECT owing_balance FROM Customer_table WHERE customer_no = ?", {m_customer});
        m_owing = owing ? (*owing)["owing_balance"].numberOr(0) : 0;
    }

    void readCounters() {
        const char* docnoWhere = "company = ? AND doctype = ? AND fiscalyear = ?";
        const char* keyWhere = "company = ? AND doctype = ?";
        m_docno = readCounter(m_db, "Docno_master_table", "nextdocno", docnoWhere,
                              {kCompany, "ar", m_fyear});
        m_key = readCounter(m_db, "Next_number_fkey_table", "fkeyno", keyWhere, {kCompany, "ar"});
        m_glDocno = readCounter(m_db, "Docno_master_table", "nextdocno", docnoWhere,
                                {kCompany, "gl", m_glFyear});
        m_glKey = readCounter(m_db, "Next_number_fkey_table", "fkeyno", keyWhere, {kCompany, "gl"});
        m_plannedDocno = m_docno;
        m_plannedKey = m_key;
        m_plannedGlDocno = m_glDocno;
        m_plannedGlKey = m_glKey;
    }

    std::size_t runningRow(const std::optional<db::Row>& row, const std::string& what) {
        if (!row) throw std::runtime_error("The bench cannot find the balance row of " + what);
        const RunningKey key = runningKeyOf(*row);
        for (std::size_t i = 0; i < m_running.size(); ++i)
            if (m_running[i].key == key) return i;
        m_running.push_back({key, (*row)["amount"].number(), (*row)["base_amount"].number()});
        return m_running.size() - 1;
    }

    std::size_t periodRow(const std::optional<db::Row>& row, const std::string& what) {
        if (!row) throw std::runtime_error("The bench cannot find the period row of " + what);
        const PeriodKey key = periodKeyOf(*row);
        for (std::size_t i = 0; i < m_periods.size(); ++i)
            if (m_periods[i].key == key) return i;
        m_periods.push_back({key, services::ReadPeriodBalances(*row)});
        return m_periods.size() - 1;
    }

    // The rows each model journal line moves, found as a posting finds them.
    void readBalances() {
        const auto earnings = services::FindCurrentEarningsAccount(m_db);
        for (const auto& line : m_journalLines) {
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
                              {kCompany, ledgertype, accno, currency}),
                accno);
            move.period = periodRow(
                m_db.queryOne("SELECT * FROM Balance_period_table WHERE fyear = ? AND company = ? "
                              "AND ledgertype = ? AND accno = ? AND currency = ?",
                              {fyear, kCompany, ledgertype, accno, currency}),
                accno);
            if (account->acctype == services::kIncomeStatement) {
                if (!earnings) throw std::runtime_error("No current-earnings account");
                const char* anyLedger =
                    "company = ? AND ledgertype IN ('A', 'E', 'F') AND accno = ? "
                    "ORDER BY ledgertype, currency LIMIT 1";
                move.earningsRunning = runningRow(
                    m_db.queryOne(std::string("SELECT * FROM Balance_table WHERE ") + anyLedger,
                                  {kCompany, *earnings}),
                    *earnings);
                move.earningsPeriod = periodRow(
                    m_db.queryOne(
                        std::string("SELECT * FROM Balance_period_table WHERE fyear = ? AND ") +
                            anyLedger,
                        {fyear, kCompany, *earnings}),
                    *earnings);
                move.earningsSign = account->debit ? -1.0 : 1.0;
            }
            m_moves.push_back(move);
        }
    }

    void moveBalances() {
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

    static void movePeriod(PeriodRow& row, const std::string& periodCode,
                           std::optional<double> amount, std::optional<double> baseAmount) {
        if (amount) services::AddPeriodAmount(row.balances, periodCode, *amount);
        if (baseAmount) services::AddPeriodAmountBase(row.balances, periodCode, *baseAmount);
        row.moved = true;
    }

    void writeDocument(const Numbers& numbers) {
        takeNumber(m_docno);
        takeNumber(m_key);
        m_owing = roundMoney(m_owing + m_total);
        m_header.set("fkey", numbers.fkey);
        m_header.set("docno", numbers.docno);
        m_header.set("GLFKEY", numbers.glFkey);
        m_customerMoved = true;
        if (m_writeCountersNow) {
            storeCounter(m_docno);
            storeCounter(m_key);
            storeOwing();
        }
        m_db.execute(m_header.sql, m_header.values);
        for (auto& line : m_lines) {
            line.set("fkey", numbers.fkey);
            line.set("docno", numbers.docno);
            m_db.execute(line.sql, line.values);
        }
        takeNumber(m_glDocno);
        takeNumber(m_glKey);
        if (m_writeCountersNow) {
            storeCounter(m_glDocno);
            storeCounter(m_glKey);
        }
        m_journal.set("fkey", numbers.glFkey);
        m_journal.set("docno", numbers.glDocno);
        m_db.execute(m_journal.sql, m_journal.values);
        for (auto& line : m_glLines) {
            line.set("fkey", numbers.glFkey);
            line.set("docno", numbers.glDocno);
            m_db.execute(line.sql, line.values);
        }
        moveBalances();
    }

    static void takeNumber(CounterRow& counter) { ++counter.next; }

    void storeCounter(const CounterRow& counter) {
        db::Params params{counter.next};
        params.insert(params.end(), counter.key.begin(), counter.key.end());
        m_db.execute(counter.updateSql(), params);
    }

    void storeOwing() {
        m_db.execute("UPDATE Customer_table SET owing_balance = ? WHERE customer_no = ?",
                     {m_owing, m_customer});
        m_customerMoved = false;
    }

    // The counters, the owing balance and every moved balance row, once each.
    void storeMoved() {
        if (!m_writeCountersNow) {
            for (const CounterRow* counter : {&m_docno, &m_key, &m_glDocno, &m_glKey})
                storeCounter(*counter);
            if (m_customerMoved) storeOwing();
        }
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

    db::Database& m_db;
    RowCopy m_header;
    std::vector<RowCopy> m_lines;
    RowCopy m_journal;
    std::vector<RowCopy> m_glLines;
    db::Rows m_journalLines;
    std::string m_fyear;
    std::string m_glFyear;
    std::string m_customer;
    double m_total = 0;
    double m_owing = 0;
    bool m_customerMoved = false;
    bool m_writeCountersNow = true;
    CounterRow m_docno, m_key, m_glDocno, m_glKey;
    CounterRow m_plannedDocno, m_plannedKey, m_plannedGlDocno, m_plannedGlKey;
    std::vector<RunningRow> m_running;
    std::vector<PeriodRow> m_periods;
    std::vector<LineMove> m_moves;
};

// ----- InvoiceBench ------------------------------------------------------------------------

InvoiceBench::InvoiceBench(db::Database& db, const services::Clock& clock)
    : m_db(db), m_clock(clock), m_settings(db) {}

InvoiceBench::~InvoiceBench() = default;

Timing InvoiceBench::runScreen(long count) {
    if (!m_screen) m_screen = std::make_unique<Screen>(m_db, m_clock);
    Timing timing{count, {}};
    for (long i = 0; i < count; ++i) timing.elapsed += m_screen->enterAndSave();
    return timing;
}

Timing InvoiceBench::runFloor(long count) {
    Floor floor(m_db);
    const auto numbers = floor.number(count);
    const auto start = Clock::now();
    floor.write(numbers, 1);
    return {count, Clock::now() - start};
}

void InvoiceBench::preload(long count, const std::function<void(long)>& progress,
                           long perTransaction) {
    Floor floor(m_db);
    floor.writeCountersPerInvoice(false);
    long done = 0;
    while (done < count) {
        const long batch = std::min(count - done, perTransaction);
        floor.write(floor.number(batch), batch);
        done += batch;
        if (progress) progress(done);
    }
}

std::int64_t InvoiceBench::invoices() {
    const auto row = m_db.queryOne("SELECT COUNT(*) FROM AR_header_table WHERE doctype = ?", {"ar"});
    return row ? row->at(0).integerOr(0) : 0;
}

Measurement InvoiceBench::measure(CommitMode mode, long count) {
    m_settings.apply(mode);
    Measurement m;
    m.engine = m_db.engine();
    m.mode = mode;
    m.preloaded = invoices();
    m.screen = runScreen(count);
    m.floor = runFloor(count);
    return m;
}

}  // namespace keltro::bench
