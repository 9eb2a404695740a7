#include "bench/WorkstationBench.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "bench/BenchCommon.h"
#include "receipts/ReceiptApplication.h"
#include "services/Numbering.h"

namespace keltro::bench {

namespace {

constexpr const char* kCustomers[] = {"1001", "1005", "1009", "1006"};
constexpr const char* kGrid = "dbgrid1";

// The engine's connection, with every refused lock counted: a failed save during which
// a lock stayed taken through its retries failed by the bounded-retry rule.
class LockWatch final : public db::Database {
public:
    explicit LockWatch(db::Database& real) : m_real(real) {}

    long refusals() const { return m_refusals; }

    db::Engine engine() const override { return m_real.engine(); }
    db::Rows query(std::string_view sql, const db::Params& params) override {
        return m_real.query(sql, params);
    }
    void forEachRow(std::string_view sql, const db::Params& params,
                    const std::function<void(const db::Row&)>& each) override {
        m_real.forEachRow(sql, params, each);
    }
    std::int64_t execute(std::string_view sql, const db::Params& params) override {
        return m_real.execute(sql, params);
    }
    void queue(std::string_view sql, const db::Params& params) override { m_real.queue(sql, params); }
    std::int64_t insert(std::string_view sql, const db::Params& params,
                        std::string_view idColumn) override {
        return m_real.insert(sql, params, idColumn);
    }
    void executeScript(std::string_view sql) override { m_real.executeScript(sql); }
    bool tableExists(std::string_view table) override { return m_real.tableExists(table); }
    void begin(const db::RetryPolicy& retry) override {
        watched([&] { m_real.begin(retry); });
    }
    void commit() override { m_real.commit(); }
    void rollback() override { m_real.rollback(); }
    bool inTransaction() const override { return m_real.inTransaction(); }
    db::Rows lockRows(std::string_view selectSql, const db::Params& params,
                      const db::RetryPolicy& retry) override {
        db::Rows rows;
        watched([&] { rows = m_real.lockRows(selectSql, params, retry); });
        return rows;
    }

    std::vector<db::Rows> lockRowsOfEach(std::string_view selectSql, const std::vector<db::Params>& each,
                                         const db::RetryPolicy& retry) override {
        std::vector<db::Rows> rows;
        watched([&] { rows = m_real.lockRowsOfEach(selectSql, each, retry); });
        return rows;
    }

private:
    template <class Step>
    void watched(Step step) {
        try {
            step();
        } catch (const db::LockTimeout&) {
            ++m_refusals;
            throw;
        }
    }

    db::Database& m_real;
    long m_refusals = 0;
};

// The screens of one workstation and what it saves on them.
class Workstation {
public:
    Workstation(db::Database& db, const services::Clock& clock, std::string customer)
        : m_db(db), m_desk(m_db, clock), m_customer(std::move(customer)) {
        host::ARclass& arclass = m_desk.arclass();
        arclass.showform_ARform_invoice("cn");
        m_creditNotes = m_desk.screen("ARform_invoice");
        arclass.showform_ARform_invoice();
        m_invoices = m_desk.screen("ARform_invoice");
        arclass.showform_ARform_receipt();
        m_receipts = m_desk.screen("ARform_receipt");
    }

    // Saves document number `n` of the loop: an invoice, a receipt of the last invoice
    // saved, a credit note. False when the save failed.
    bool save(long n) {
        try {
            if (n % 3 == 1 && !m_lastInvoice.empty()) return saveReceipt();
            return saveNote(n % 3 == 0 ? "" : "cn");
        } catch (const std::exception& e) {  // a step the screen refused
            m_failure = e.what();
            return false;
        }
    }

    long lockRefusals() const { return m_db.refusals(); }
    const std::string& lastFailure() const { return m_failure; }

private:
    // An invoice ("") or a credit note ("cn") of two lines.
    bool saveNote(const std::string& doctypex) {
        const bool invoice = doctypex.empty();
        framework::Screen& screen = invoice ? *m_invoices : *m_creditNotes;
        m_desk.ui().await("");
        if (screen.mode() != framework::Mode::New) screen.run("&New");
        screen.enter("cmbcustno", m_customer);
        const char* lines[][4] = {{"Copier paper", "S2", "250.00", "4000"},
                                  {"Colour printing", "S1", "86.35", "4020"}};
        for (std::size_t row = 0; row < 2; ++row) {
            screen.enterCell(kGrid, row, "description", lines[row][0]);
            screen.enterCell(kGrid, row, "tax code", lines[row][1]);
            screen.enterCell(kGrid, row, "taxable amount", lines[row][2]);
            screen.enterCell(kGrid, row, "sales account", lines[row][3]);
        }
        if (!saved(screen, invoice ? "Add new Invoice complete" : "Add new Credit Note complete"))
            return false;
        if (invoice) m_lastInvoice = screen.field("txtdocno").value;
        return true;
    }

    // Cash for the whole of the last invoice saved.
    bool saveReceipt() {
        framework::Screen& screen = *m_receipts;
        m_desk.ui().await("");
        m_desk.arclass().ARform_receipt_this_invoice(m_lastInvoice, m_customer);
        const auto& rows = screen.grid(kGrid).rows;
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& cells) {
            const auto found = cells.find(receipts::column::kInvoiceNo);
            return found != cells.end() && found->second == m_lastInvoice;
        });
        m_lastInvoice.clear();
        if (row == rows.end()) {
            m_failure = "the receipt screen does not offer the invoice to pay";
            return false;
        }
        screen.enter("cmbpayby", "Cash");
        screen.enter("cmbcash", "1000");
        screen.clickCell(kGrid, static_cast<std::size_t>(row - rows.begin()), receipts::column::kApplied);
        screen.enter("txtrcamount", screen.field("txttotal").value);
        return saved(screen, "Add new Receipt complete");
    }

    bool saved(framework::Screen& screen, const std::string& completion) {
        try {
            m_desk.timedCommand(screen, "&Save", completion, "not saved");
            return true;
        } catch (const std::exception& e) {
            m_failure = e.what();
            return false;
        }
    }

    LockWatch m_db;
    BenchDesk m_desk;
    std::string m_customer;
    std::shared_ptr<framework::Screen> m_invoices;
    std::shared_ptr<framework::Screen> m_creditNotes;
    std::shared_ptr<framework::Screen> m_receipts;
    std::string m_lastInvoice;
    std::string m_failure;
};

// The table holding the documents of a type, or "" for a type not audited.
std::string tableOfType(const std::string& doctype) {
    if (doctype == "ar" || doctype == "inv" || doctype == "dn" || doctype == "cn") return "AR_header_table";
    if (doctype == "rc" || doctype == "rpp") return "Receipt_header_table";
    if (doctype == "gl") return "GL_header_table";
    return "";
}

// Every number handed out in [from, to) must occur once among `stored`.
void auditNumbers(const std::string& series, const std::vector<std::string>& expected,
                  std::vector<std::string> stored, std::vector<std::string>& findings) {
    std::sort(stored.begin(), stored.end());
    for (auto at = stored.begin(); at != stored.end();) {
        const auto end = std::upper_bound(at, stored.end(), *at);
        if (end - at > 1) findings.push_back(series + ": " + *at + " is stored " + std::to_string(end - at) + " times");
        at = end;
    }
    for (const auto& number : expected)
        if (!std::binary_search(stored.begin(), stored.end(), number))
            findings.push_back(series + ": " + number + " was handed out but is not stored");
}

std::vector<std::string> column(db::Database& db, const std::string& sql, const db::Params& params) {
    std::vector<std::string> values;
    for (const auto& row : db.query(sql, params)) values.push_back(row.at(0).textOr());
    return values;
}

void addFindings(db::Database& db, const std::string& sql, const std::string& what,
                 std::vector<std::string>& findings) {
    for (const auto& key : column(db, sql, {})) findings.push_back(what + " " + key);
}

}  // namespace

std::string WorkstationResult::line() const {
    std::ostringstream out;
    out << saved << ' ' << lockRefused << ' ' << failed << ' ' << seconds << ' ' << firstFailure;
    return out.str();
}

WorkstationResult WorkstationResult::fromLine(const std::string& line) {
    WorkstationResult result;
    std::istringstream in(line);
    in >> result.saved >> result.lockRefused >> result.failed >> result.seconds;
    std::getline(in >> std::ws, result.firstFailure);
    if (!in && line.empty()) result.firstFailure = "the workstation reported nothing";
    return result;
}

WorkstationResult& WorkstationResult::operator+=(const WorkstationResult& more) {
    saved += more.saved;
    lockRefused += more.lockRefused;
    failed += more.failed;
    seconds = std::max(seconds, more.seconds);
    if (firstFailure.empty()) firstFailure = more.firstFailure;
    return *this;
}

std::string workstationCustomer(int index) {
    return kCustomers[static_cast<std::size_t>(index) % std::size(kCustomers)];
}

WorkstationResult runWorkstation(db::Database& db, const services::Clock& clock,
                                 const std::string& customer, long documents,
                                 const std::function<void(long)>& progress) {
    Workstation workstation(db, clock, customer);
    WorkstationResult result;
    const auto start = BenchClock::now();
    for (long n = 0; n < documents; ++n) {
        const long refusalsBefore = workstation.lockRefusals();
        if (workstation.save(n)) {
            ++result.saved;
        } else if (workstation.lockRefusals() > refusalsBefore) {
            ++result.lockRefused;
        } else {
            ++result.failed;
            if (result.firstFailure.empty()) result.firstFailure = workstation.lastFailure();
        }
        if (progress) progress(result.saved);
    }
    result.seconds = std::chrono::duration<double>(BenchClock::now() - start).count();
    return result;
}

CounterState readCounters(db::Database& db) {
    CounterState counters;
    for (const auto& row : db.query("SELECT doctype, fiscalyear, nextdocno FROM Docno_master_table "
                                    "WHERE company = 1"))
        counters["docno|" + row["doctype"].textOr() + "|" + row["fiscalyear"].textOr()] =
            row["nextdocno"].integerOr(0);
    for (const auto& row : db.query("SELECT doctype, fkeyno FROM Next_number_fkey_table WHERE company = 1"))
        counters["fkey|" + row["doctype"].textOr()] = row["fkeyno"].integerOr(0);
    return counters;
}

std::vector<std::string> auditSeries(db::Database& db, const CounterState& before) {
    std::vector<std::string> findings;
    for (const auto& [series, next] : readCounters(db)) {
        const auto was = before.find(series);
        const std::int64_t from = was == before.end() ? next : was->second;
        std::istringstream parts(series);
        std::string kind, doctype, year;
        std::getline(parts, kind, '|');
        std::getline(parts, doctype, '|');
        std::getline(parts, year, '|');
        const std::string table = tableOfType(doctype);
        if (table.empty() || from == next) continue;
        std::vector<std::string> expected;
        for (std::int64_t n = from; n < next; ++n)
            expected.push_back(kind == "fkey" ? services::DocumentKey(1, doctype, n)
                                              : services::FormatDocumentNumber(db, doctype, n, year).value_or("?"));
        const std::string typeCondition = table == "GL_header_table" ? "1 = 1" : "doctype = ?";
        db::Params params;
        if (table != "GL_header_table") params.push_back(doctype);
        std::vector<std::string> stored;
        if (kind == "fkey") {
            params.push_back("1" + doctype + "-%");
            stored = column(db, "SELECT fkey FROM " + table + " WHERE " + typeCondition + " AND fkey LIKE ?", params);
        } else {
            params.push_back(year);
            stored = column(db, "SELECT docno FROM " + table + " WHERE " + typeCondition + " AND fyear = ?", params);
        }
        // Numbers given before the run are not this audit's; keep those handed out since.
        auditNumbers(series, expected, stored, findings);
    }
    return findings;
}

std::vector<std::string> incompleteDocuments(db::Database& db) {
    std::vector<std::string> findings;
    addFindings(db,
                "SELECT h.docno FROM AR_header_table h WHERE h.doctype IN ('ar', 'inv', 'dn', 'cn') "
                "AND NOT EXISTS (SELECT 1 FROM AR_transaction_table l WHERE l.fkey = h.fkey)",
                "document without lines:", findings);
    addFindings(db,
                "SELECT DISTINCT l.fkey FROM AR_transaction_table l WHERE l.doctype IN ('ar', 'inv', "
                "'dn', 'cn') AND NOT EXISTS (SELECT 1 FROM AR_header_table h WHERE h.fkey = l.fkey)",
                "lines without a document:", findings);
    for (const char* table : {"AR_header_table", "Receipt_header_table"})
        addFindings(db,
                    std::string("SELECT d.docno FROM ") + table +
                        " d WHERE d.GLFKEY IS NOT NULL AND NOT EXISTS (SELECT 1 FROM "
                        "GL_transaction_table g WHERE g.fkey = d.GLFKEY)",
                    "document whose journal has no lines:", findings);
    addFindings(db,
                "SELECT r.docno FROM Receipt_header_table r WHERE r.doctype = 'rc' AND "
                "NOT EXISTS (SELECT 1 FROM Receipt_transaction_table l WHERE l.fkey = r.fkey)",
                "receipt without lines:", findings);
    // A matching may post a journal header alone (nothing but applied amounts). The
    // receipt stores its journal's key right after the commit: a receipt stopped between
    // the two keeps its journal, found by the receipt's number.
    addFindings(db,
                "SELECT r.docno FROM Receipt_header_table r WHERE r.doctype = 'rc' AND r.GLFKEY IS "
                "NULL AND NOT EXISTS (SELECT 1 FROM GL_header_table g WHERE g.source_docno = r.docno)",
                "receipt without a journal:", findings);
    addFindings(db,
                "SELECT g.fkey FROM GL_header_table g WHERE (g.Source IS NULL OR g.Source <> "
                "'AR-MATCH') AND NOT EXISTS (SELECT 1 FROM GL_transaction_table l WHERE l.fkey = g.fkey)",
                "journal without lines:", findings);
    return findings;
}

}  // namespace keltro::bench
