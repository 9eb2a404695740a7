// `keltro-ar bench invoice`: how fast the invoice screen saves, against the floor.
//
// The screen run drives `ARform_invoice` headless, as a person would: "&New", the
// customer, the invoice date and three lines on tax code "S2" (two authorities, the
// second taxing the first's tax), each on its own sales account, then "&Save". Only the
// save is timed: from the command to its completion message ("Add new Invoice complete").
//
// The floor writes the same rows with plain prepared statements and values worked out
// before the clock starts, one transaction per invoice:
//
//     the "ar" and "gl" counters (Docno_master_table, Next_number_fkey_table)
//     the customer's owing balance
//     the header and its lines (AR_header_table, AR_transaction_table)
//     the journal and its lines (GL_header_table, GL_transaction_table)
//     every Balance_table and Balance_period_table row the journal moves, once each
//
// The rows are copies of the last invoice the screen saved, under new numbers
// (`InvoiceCopies`, bench/FloorRows.h), so the books stay in order after either run.
// Preloading writes invoices the same way, many to a transaction, with the counters and
// balances stored once per transaction. Other benches use the same two pieces to give
// their customers open invoices: `InvoiceEntry` types one, `InvoiceCopies` copies it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "bench/BenchCommon.h"
#include "bench/FloorRows.h"
#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

// One line of an invoice as a person types it; no tax code leaves the screen's default.
struct InvoiceLineText {
    const char* description;
    const char* taxable;
    const char* salesAccount;
    const char* taxCode = "";
};

// The invoice screen, opened on the desk and typed into as a person types an invoice.
class InvoiceEntry {
public:
    explicit InvoiceEntry(BenchDesk& desk);

    // "&New", the customer, today's date and the lines, then "&Save"; the time from
    // "&Save" to "Add new Invoice complete". Throws std::runtime_error with what the
    // screen said when the save does not complete.
    std::chrono::duration<double> enterAndSave(const std::string& customer,
                                               std::span<const InvoiceLineText> lines);

private:
    BenchDesk& m_desk;
    std::shared_ptr<framework::Screen> m_screen;
};

// Copies of one saved invoice (header, lines and journal) under new numbers of its own
// doctype, with the customer's owing balance, the counters and the balance rows moved as
// its save moved them. The copies are of the invoice as it was when the copier read it: a receipt that
// pays it later leaves them open.
class InvoiceCopies {
public:
    InvoiceCopies(db::Database& db, const std::string& modelFkey);
    InvoiceCopies(const InvoiceCopies&) = delete;
    InvoiceCopies& operator=(const InvoiceCopies&) = delete;

    // The numbers of the next `count` copies (before the clock starts).
    struct Numbers {
        DocumentIds document;
        DocumentIds journal;
    };
    std::vector<Numbers> number(long count);
    // The floor's way: one copy to a transaction, the counters stored where a save takes
    // them.
    void write(const std::vector<Numbers>& numbers);
    // A bulk load: `count` copies, `perTransaction` to a transaction, the counters, the
    // owing balance and the balance rows stored once per transaction; `progress(done)`
    // after each transaction.
    void load(long count, long perTransaction,
              const std::function<void(long done)>& progress = {});
    // Reads the counters, the owing balance and the balance rows again, after others
    // moved them.
    void reread();

private:
    InvoiceCopies(db::Database& db, const db::Row& header);
    void writeOne(const Numbers& numbers);
    void readOwing();
    void storeOwing();
    void storeMoved();

    db::Database& m_db;
    RowCopy m_header;
    std::vector<RowCopy> m_lines;
    std::string m_customer;
    double m_total = 0;
    double m_owing = 0;
    bool m_customerMoved = false;
    bool m_writeCountersNow = true;
    DocumentCounters m_counters;
    JournalCopies m_journal;
};

// The key of the last invoice the invoice screen saved, of `customer` when one is named.
// Throws std::runtime_error when there is none.
std::string lastScreenInvoice(db::Database& db, const std::string& customer = "");

// The floor's run: `count` copies of the invoice `modelFkey`, numbered before the clock
// starts, one transaction each; the time the copies took.
Timing writeFloorCopies(db::Database& db, const std::string& modelFkey, long count);

// One line of the bench's output.
struct Measurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    std::int64_t preloaded = 0;  // invoices in the database when the measurement began
    Timing screen;
    Timing floor;

    double ratio() const { return bench::ratio(screen, floor); }
    // {"bench":"invoice","engine":…,"mode":…,"preloaded":…,"count":…,"per_s":…,
    //  "floor_per_s":…,"ratio":…,"ms_per_invoice":…,"floor_ms_per_invoice":…}
    std::string json() const;
};

class InvoiceBench {
public:
    // `db` holds the demo company; `clock` gives the invoices' date.
    InvoiceBench(db::Database& db, const services::Clock& clock);
    ~InvoiceBench();
    InvoiceBench(const InvoiceBench&) = delete;
    InvoiceBench& operator=(const InvoiceBench&) = delete;

    // Saves `count` invoices through the screen. Throws std::runtime_error with what the
    // screen said when a save does not complete.
    Timing runScreen(long count);
    // Writes `count` invoices as the floor does; needs one invoice saved by the screen
    // first (its rows are the copies' model).
    Timing runFloor(long count);
    // Writes `count` invoices the floor's way, `perTransaction` to a transaction;
    // `progress(done)` after each transaction.
    void preload(long count, const std::function<void(long done)>& progress = {},
                 long perTransaction = 1000);

    // The invoices in the database now.
    std::int64_t invoices();

    // Both runs on the database as it is, taking turns in rounds of 50: the screen, then the floor.
    Measurement measure(CommitMode mode, long count);

private:
    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    std::unique_ptr<BenchDesk> m_desk;
    std::unique_ptr<InvoiceEntry> m_entry;
};

}  // namespace keltro::bench
