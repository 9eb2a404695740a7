#include "bench/InvoiceBench.h"

#include <algorithm>
#include <stdexcept>

#include "invoice/ARform_invoice.h"
#include "invoice/InvoiceKind.h"
#include "services/Money.h"

namespace keltro::bench {

namespace {

using services::roundMoney;

constexpr const char* kCustomer = "1001";

// The three lines every bench invoice carries.
constexpr InvoiceLineText kLines[] = {
    {"Copier paper, 20 cases", "250.00", "4000", "S2"},
    {"Meeting-room chairs", "1180.40", "4010", "S2"},
    {"Colour printing", "86.35", "4020", "S2"},
};

}  // namespace

// ----- InvoiceEntry ------------------------------------------------------------------------

InvoiceEntry::InvoiceEntry(BenchDesk& desk) : m_desk(desk) {
    desk.arclass().showform_ARform_invoice();
    m_screen = desk.screen("ARform_invoice");
    if (!dynamic_cast<invoice::ARform_invoice*>(m_screen.get()))
        throw std::runtime_error("The invoice screen did not open");
}

std::chrono::duration<double> InvoiceEntry::enterAndSave(const std::string& customer,
                                                         std::span<const InvoiceLineText> lines) {
    framework::Screen& screen = *m_screen;
    m_desk.ui().await("");
    if (screen.mode() != framework::Mode::New) screen.run("&New");
    screen.enter("cmbcustno", customer);
    screen.enter("txtinvdate", m_desk.todayText());
    for (std::size_t row = 0; row < lines.size(); ++row) {
        screen.enterCell("dbgrid1", row, "description", lines[row].description);
        if (*lines[row].taxCode) screen.enterCell("dbgrid1", row, "tax code", lines[row].taxCode);
        screen.enterCell("dbgrid1", row, "taxable amount", lines[row].taxable);
        screen.enterCell("dbgrid1", row, "sales account", lines[row].salesAccount);
    }
    return m_desk.timedCommand(screen, "&Save",
                               std::string(invoice::kindNamed(invoice::kInvoiceKind).added),
                               "The invoice was not saved");
}

// ----- InvoiceCopies -----------------------------------------------------------------------

InvoiceCopies::InvoiceCopies(db::Database& db, const std::string& modelFkey)
    : InvoiceCopies(db, onlyRow(db.query("SELECT * FROM AR_header_table WHERE fkey = ?",
                                         {modelFkey}),
                                "the model invoice " + modelFkey)) {}

InvoiceCopies::InvoiceCopies(db::Database& db, const db::Row& header)
    : m_db(db),
      m_header(copyOf(header, "AR_header_table", {"fkey", "docno", "GLFKEY"})),
      m_customer(header["customer_no"].textOr()),
      m_counters(db, header["doctype"].textOr(), header["fyear"].textOr()),
      m_journal(db, header["GLFKEY"].textOr()) {
    double taxable = 0;
    double tax = 0;
    for (const auto& line :
         db.query("SELECT * FROM AR_transaction_table WHERE fkey = ? ORDER BY pay_item",
                  {header["fkey"].textOr()})) {
        m_lines.push_back(copyOf(line, "AR_transaction_table", {"fkey", "docno"}));
        taxable = roundMoney(taxable + line["taxable_amount"].numberOr(0));
        tax = roundMoney(tax + line["tax_amount"].numberOr(0));
    }
    m_total = roundMoney(taxable + tax);
    readOwing();
}

void InvoiceCopies::reread() {
    m_counters.reread();
    m_journal.reread();
    readOwing();
}

void InvoiceCopies::readOwing() {
    const auto owing = m_db.queryOne(
        "SELECT owing_balance FROM Customer_table WHERE customer_no = ?", {m_customer});
    m_owing = owing ? (*owing)["owing_balance"].numberOr(0) : 0;
    m_customerMoved = false;
}

std::vector<InvoiceCopies::Numbers> InvoiceCopies::number(long count) {
    const auto documents = m_counters.plan(count);
    const auto journals = m_journal.plan(count);
    std::vector<Numbers> numbers;
    numbers.reserve(documents.size());
    for (std::size_t i = 0; i < documents.size(); ++i)
        numbers.push_back({documents[i], journals[i]});
    return numbers;
}

void InvoiceCopies::write(const std::vector<Numbers>& numbers) {
    m_writeCountersNow = true;
    for (const auto& copy : numbers) {
        db::Transaction transaction(m_db);
        writeOne(copy);
        storeMoved();
        transaction.commit();
    }
}

void InvoiceCopies::load(long count, long perTransaction,
                         const std::function<void(long)>& progress) {
    m_writeCountersNow = false;
    long done = 0;
    while (done < count) {
        const long batch = std::min(count - done, perTransaction);
        db::Transaction transaction(m_db);
        for (const auto& copy : number(batch)) writeOne(copy);
        storeMoved();
        transaction.commit();
        done += batch;
        if (progress) progress(done);
    }
}

void InvoiceCopies::writeOne(const Numbers& numbers) {
    m_counters.take();
    m_owing = roundMoney(m_owing + m_total);
    m_customerMoved = true;
    if (m_writeCountersNow) {
        m_counters.store();
        storeOwing();
    }
    m_header.set("fkey", numbers.document.fkey);
    m_header.set("docno", numbers.document.docno);
    m_header.set("GLFKEY", numbers.journal.fkey);
    m_header.insert(m_db);
    for (auto& line : m_lines) {
        line.set("fkey", numbers.document.fkey);
        line.set("docno", numbers.document.docno);
        line.insert(m_db);
    }
    m_journal.write(numbers.journal, numbers.document.docno);
    if (m_writeCountersNow) m_journal.storeCounters();
}

void InvoiceCopies::storeOwing() {
    m_db.execute("UPDATE Customer_table SET owing_balance = ? WHERE customer_no = ?",
                 {m_owing, m_customer});
    m_customerMoved = false;
}

// The counters and the owing balance when a bulk load holds them, and every moved
// balance row, once each.
void InvoiceCopies::storeMoved() {
    if (!m_writeCountersNow) {
        m_counters.store();
        m_journal.storeCounters();
        if (m_customerMoved) storeOwing();
    }
    m_journal.storeBalances();
}

std::string lastScreenInvoice(db::Database& db, const std::string& customer) {
    const std::string sql =
        "SELECT fkey FROM AR_header_table WHERE doctype = ? AND Source = ?" +
        std::string(customer.empty() ? "" : " AND customer_no = ?") + " ORDER BY Id DESC LIMIT 1";
    db::Params params{"ar", invoice::kSourceInvoice};
    if (!customer.empty()) params.emplace_back(customer);
    return onlyRow(db.query(sql, params), "an invoice saved by the screen")["fkey"].textOr();
}

Timing writeFloorCopies(db::Database& db, const std::string& modelFkey, long count) {
    InvoiceCopies floor(db, modelFkey);
    const auto numbers = floor.number(count);
    const auto start = BenchClock::now();
    floor.write(numbers);
    return {count, BenchClock::now() - start};
}

// ----- Measurement -------------------------------------------------------------------------

std::string Measurement::json() const {
    host::JsonObjectWriter line;
    line.text("bench", "invoice")
        .text("engine", db::engineName(engine))
        .text("mode", modeName(mode))
        .raw("preloaded", std::to_string(preloaded));
    return addRates(line, screen, floor, "invoice").str();
}

// ----- InvoiceBench ------------------------------------------------------------------------

InvoiceBench::InvoiceBench(db::Database& db, const services::Clock& clock)
    : m_db(db), m_clock(clock), m_settings(db) {}

InvoiceBench::~InvoiceBench() = default;

Timing InvoiceBench::runScreen(long count) {
    if (!m_entry) {
        m_desk = std::make_unique<BenchDesk>(m_db, m_clock);
        m_entry = std::make_unique<InvoiceEntry>(*m_desk);
    }
    Timing timing{count, {}};
    for (long i = 0; i < count; ++i) timing.elapsed += m_entry->enterAndSave(kCustomer, kLines);
    return timing;
}

Timing InvoiceBench::runFloor(long count) { return writeFloorCopies(m_db, lastScreenInvoice(m_db), count); }

void InvoiceBench::preload(long count, const std::function<void(long)>& progress,
                           long perTransaction) {
    InvoiceCopies(m_db, lastScreenInvoice(m_db)).load(count, perTransaction, progress);
    // What the preload left in SQLite's write-ahead log goes into the file now, not into
    // the first measured save.
    checkpointLog(m_db);
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
    constexpr long kRound = 50;
    takeTurns(count, kRound, m.screen, m.floor,
              [this](bool screen, long n) { return screen ? runScreen(n) : runFloor(n); });
    return m;
}

}  // namespace keltro::bench
