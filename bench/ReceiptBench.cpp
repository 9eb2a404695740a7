#include "bench/ReceiptBench.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "bench/FloorRows.h"
#include "bench/InvoiceBench.h"
#include "receipts/ARform_receipt.h"
#include "receipts/ReceiptRecords.h"
#include "services/Money.h"

namespace keltro::bench {

namespace {

using services::roundMoney;

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kCashAccount = "1000";  // petty cash
constexpr const char* kCompleted = "Add new Receipt complete";

// The invoice each bench customer's open items copy: one line, no tax of its own.
constexpr InvoiceLineText kOpenItemLine[] = {{"Monthly service", "100.00", "4000"}};

// Invoices copied to a transaction when open items are added in bulk.
constexpr long kLoadBatch = 1000;

std::string plural(long count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

// ----- ReceiptBench::Screen ----------------------------------------------------------------

class ReceiptBench::Screen {
public:
    explicit Screen(BenchDesk& desk) : m_desk(desk) {
        desk.arclass().showform_ARform_receipt();
        m_screen = desk.screen("ARform_receipt");
        if (!dynamic_cast<receipts::ARform_receipt*>(m_screen.get()))
            throw std::runtime_error("The receipt screen did not open");
    }

    // A new receipt: "&New", unless the screen shows one.
    void beginNew() {
        if (m_screen->mode() != framework::Mode::New) m_screen->run("&New");
    }

    // The customer typed in and left; the time until the grid lists its open items.
    std::chrono::duration<double> choose(const std::string& customer) {
        const auto start = BenchClock::now();
        m_screen->enter("cmbcustno", customer);
        return BenchClock::now() - start;
    }

    std::size_t listed() const { return m_screen->grid(kGrid).rows.size(); }

    // A receipt in cash of the customer's first ten open items; the time from "&Save" to
    // its completion message.
    std::chrono::duration<double> enterAndSave(const std::string& customer) {
        framework::Screen& screen = *m_screen;
        m_desk.ui().await("");
        beginNew();
        // "&New" keeps the customer shown, and lists its open items again.
        if (screen.field("cmbcustno").value != customer) choose(customer);
        if (listed() < kAppliedPerReceipt)
            throw std::runtime_error("The receipt screen lists " +
                                     plural(static_cast<long>(listed()), "open item") +
                                     " of customer " + customer + "; a bench receipt applies " +
                                     std::to_string(kAppliedPerReceipt));
        screen.enter("cmbpayby", "Cash");
        screen.enter("cmbcash", kCashAccount);
        for (std::size_t row = 0; row < kAppliedPerReceipt; ++row)
            screen.clickCell(kGrid, row, receipts::column::kApplied);
        screen.enter("txtrcamount", screen.field("txttotal").value);
        return m_desk.timedCommand(screen, "&Save", kCompleted, "The receipt was not saved");
    }

private:
    BenchDesk& m_desk;
    std::shared_ptr<framework::Screen> m_screen;
};

// ----- ReceiptBench::Floor -----------------------------------------------------------------

class ReceiptBench::Floor {
public:
    // Reads the model and the open items to settle, and numbers `count` receipts.
    Floor(db::Database& db, const std::string& customer, long count)
        : Floor(db, onlyRow(db.query("SELECT * FROM Receipt_header_table WHERE doctype = ? AND "
                                     "customer_no = ? AND source_form = ? ORDER BY id DESC "
                                     "LIMIT 1",
                                     {receipts::kReceiptDoctype, customer, receipts::kReceiptForm}),
                            "a receipt of " + customer + " saved by the screen")) {
        plan(customer, count);
    }

    // One transaction per receipt.
    void write() {
        for (const Planned& receipt : m_planned) {
            db::Transaction transaction(m_db);
            writeOne(receipt);
            transaction.commit();
        }
    }

private:
    // What a model line settles on a document line.
    struct ModelLine {
        RowCopy row;
        double openBefore = 0;
        double settled = 0;  // applied + discount + write-off
    };
    // One document line a receipt settles, and what it leaves.
    struct Settlement {
        db::Value lineId;
        std::string documentKey;
        std::string docno;
        std::string payItem;
        double balance = 0;
        double paidAmount = 0;
    };
    struct Planned {
        DocumentIds receipt;
        DocumentIds journal;
        std::vector<Settlement> settlements;  // one per model line, in order
    };

    Floor(db::Database& db, const db::Row& header)
        : m_db(db),
          m_header(copyOf(header, "Receipt_header_table", {"fkey", "docno", "GLFKEY"})),
          m_counters(db, receipts::kReceiptDoctype, header["fyear"].textOr()),
          m_journal(db, header["GLFKEY"].textOr()) {
        for (const auto& line : db.query("SELECT * FROM Receipt_transaction_table WHERE fkey = ? "
                                         "ORDER BY invoice_no, pay_item",
                                         {header["fkey"].textOr()}))
            m_lines.push_back({copyOf(line, "Receipt_transaction_table",
                                      {"fkey", "docno", "invoice_no", "pay_item"}),
                               line["open_amount"].numberOr(0),
                               roundMoney(line["applied_amount"].numberOr(0) +
                                          line["discount_taken"].numberOr(0) +
                                          line["writeoff"].numberOr(0))});
    }

    // The customer's oldest open items, each settled as the model line in its place
    // settled its own; the bench's documents are one-line copies of one invoice, so each
    // offers what the model's did.
    void plan(const std::string& customer, long count) {
        const auto perReceipt = static_cast<long>(m_lines.size());
        const auto items = m_db.query(
            "SELECT l.id, l.fkey, l.docno, l.pay_item, l.open_amount, l.paid_amount, "
            "(SELECT COUNT(*) FROM AR_transaction_table d WHERE d.fkey = l.fkey) AS lines "
            "FROM AR_transaction_table l WHERE l.customer_no = ? AND l.paid = FALSE "
            "AND l.void = FALSE ORDER BY l.id LIMIT ?",
            {customer, static_cast<std::int64_t>(count * perReceipt)});
        if (static_cast<long>(items.size()) < count * perReceipt)
            throw std::runtime_error("Customer " + customer + " has " +
                                     plural(static_cast<long>(items.size()), "open item") +
                                     "; the floor settles " + std::to_string(count * perReceipt));
        const auto receipts = m_counters.plan(count);
        const auto journals = m_journal.plan(count);
        for (long r = 0; r < count; ++r) {
            Planned planned{receipts[static_cast<std::size_t>(r)],
                            journals[static_cast<std::size_t>(r)], {}};
            for (std::size_t i = 0; i < m_lines.size(); ++i)
                planned.settlements.push_back(
                    settlement(items[static_cast<std::size_t>(r * perReceipt) + i], m_lines[i]));
            m_planned.push_back(std::move(planned));
        }
    }

    static Settlement settlement(const db::Row& item, const ModelLine& model) {
        const double open = item["open_amount"].numberOr(0);
        if (item["lines"].integerOr(0) != 1 || open != model.openBefore)
            throw std::runtime_error("The floor settles one-line copies of the model's documents "
                                     "only; " +
                                     item["docno"].textOr() + " is not one");
        return {item["id"], item["fkey"].textOr(), item["docno"].textOr(),
                item["pay_item"].textOr(), roundMoney(open - model.settled),
                roundMoney(item["paid_amount"].numberOr(0) + model.settled)};
    }

    void writeOne(const Planned& receipt) {
        m_counters.take();
        m_counters.store();
        m_header.set("fkey", receipt.receipt.fkey);
        m_header.set("docno", receipt.receipt.docno);
        m_header.set("GLFKEY", receipt.journal.fkey);
        m_header.insert(m_db);
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const Settlement& settled = receipt.settlements[i];
            const bool paid = settled.balance == 0;
            m_db.execute(
                "UPDATE AR_transaction_table SET open_amount = ?, paid_amount = ?, paid = ? "
                "WHERE id = ?",
                {settled.balance, settled.paidAmount, paid, settled.lineId});
            m_db.execute("UPDATE AR_header_table SET paid = TRUE, fully_paid = ? WHERE fkey = ?",
                         {paid, settled.documentKey});
            RowCopy& line = m_lines[i].row;
            line.set("fkey", receipt.receipt.fkey);
            line.set("docno", receipt.receipt.docno);
            line.set("invoice_no", settled.docno);
            line.set("pay_item", settled.payItem);
            line.insert(m_db);
        }
        m_journal.write(receipt.journal, receipt.receipt.docno);
        m_journal.storeCounters();
        m_journal.storeBalances();
    }

    db::Database& m_db;
    RowCopy m_header;
    std::vector<ModelLine> m_lines;
    DocumentCounters m_counters;
    JournalCopies m_journal;
    std::vector<Planned> m_planned;
};

// ----- ReceiptMeasurement ------------------------------------------------------------------

std::string ReceiptMeasurement::json() const {
    host::JsonObjectWriter line;
    line.text("bench", "receipt")
        .text("engine", db::engineName(engine))
        .text("mode", modeName(mode))
        .raw("open_items", std::to_string(openItems))
        .raw("list_ms", fixedJson(listMs, 2));
    return addRates(line, screen, floor, "receipt").str();
}

// ----- ReceiptBench ------------------------------------------------------------------------

ReceiptBench::ReceiptBench(db::Database& db, const services::Clock& clock)
    : m_db(db), m_clock(clock), m_settings(db) {}

ReceiptBench::~ReceiptBench() = default;

std::string ReceiptBench::customerWith(long openItems) {
    // USD customers of the demo company without an early-payment discount.
    if (openItems == kOpenItemCounts[0]) return "1001";
    if (openItems == kOpenItemCounts[1]) return "1005";
    if (openItems == kOpenItemCounts[2]) return "1009";
    throw std::invalid_argument("The receipt bench has no customer with " +
                                plural(openItems, "open item"));
}

BenchDesk& ReceiptBench::desk() {
    if (!m_desk) m_desk = std::make_unique<BenchDesk>(m_db, m_clock);
    return *m_desk;
}

ReceiptBench::Screen& ReceiptBench::screen() {
    if (!m_screen) m_screen = std::make_unique<Screen>(desk());
    return *m_screen;
}

void ReceiptBench::prepare() {
    InvoiceEntry entry(desk());
    for (const long count : kOpenItemCounts) {
        const std::string customer = customerWith(count);
        entry.enterAndSave(customer, kOpenItemLine);
        m_openItems[customer] =
            std::make_unique<InvoiceCopies>(m_db, lastScreenInvoice(m_db, customer));
        addOpenItems(customer, count - 1, kLoadBatch);
    }
}

void ReceiptBench::addOpenItems(const std::string& customer, long count, long perTransaction) {
    const auto copies = m_openItems.find(customer);
    if (copies == m_openItems.end())
        throw std::logic_error("The receipt bench has not prepared customer " + customer);
    copies->second->reread();
    copies->second->load(count, perTransaction);
}

std::int64_t ReceiptBench::openItems(const std::string& customer) {
    const auto row = m_db.queryOne(
        "SELECT COUNT(*) FROM AR_transaction_table WHERE customer_no = ? AND paid = FALSE AND "
        "void = FALSE",
        {customer});
    return row ? row->at(0).integerOr(0) : 0;
}

double ReceiptBench::listMs(const std::string& customer, int times) {
    std::vector<double> ms;
    screen().beginNew();
    for (int i = 0; i < times; ++i) {
        ms.push_back(std::chrono::duration<double, std::milli>(screen().choose(customer)).count());
        if (static_cast<std::int64_t>(screen().listed()) != openItems(customer))
            throw std::runtime_error("The receipt screen listed " +
                                     plural(static_cast<long>(screen().listed()), "open item") +
                                     " of customer " + customer);
    }
    std::sort(ms.begin(), ms.end());
    return ms.empty() ? 0 : ms[ms.size() / 2];
}

Timing ReceiptBench::runScreen(const std::string& customer, long count) {
    Timing timing{count, {}};
    for (long i = 0; i < count; ++i) {
        timing.elapsed += screen().enterAndSave(customer);
        addOpenItems(customer, kAppliedPerReceipt, kAppliedPerReceipt);
    }
    return timing;
}

Timing ReceiptBench::runFloor(const std::string& customer, long count) {
    addOpenItems(customer, count * kAppliedPerReceipt, kLoadBatch);
    Floor floor(m_db, customer, count);
    const auto start = BenchClock::now();
    floor.write();
    return {count, BenchClock::now() - start};
}

ReceiptMeasurement ReceiptBench::measure(CommitMode mode, long openItems, long count) {
    if (m_openItems.empty()) prepare();
    m_settings.apply(mode);
    const std::string customer = customerWith(openItems);
    ReceiptMeasurement m;
    m.engine = m_db.engine();
    m.mode = mode;
    m.openItems = openItems;
    m.listMs = listMs(customer);
    takeTurns(count, kRound, m.screen, m.floor, [&](bool screen, long n) {
        return screen ? runScreen(customer, n) : runFloor(customer, n);
    });
    return m;
}

}  // namespace keltro::bench
