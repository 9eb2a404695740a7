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
// The rows are copies of the last invoice the screen saved, under new numbers, and the
// balances move by the same rules and roundings as a posting, so the books stay in order
// after either run. Preloading writes invoices the same way, many to a transaction, with
// the counters and balances stored once per transaction.
//
// Modes: durable is the engine's own commit (SQLite in WAL mode with its default
// `synchronous`; PostgreSQL's default `synchronous_commit`); cpu takes the disk out of
// the commit (SQLite `synchronous=OFF`, PostgreSQL `synchronous_commit = off`).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

enum class CommitMode { Durable, Cpu };

std::string_view modeName(CommitMode mode);  // "durable" or "cpu"

// Sets how the connection commits. The durable mode restores what the connection had
// when the bench first changed it.
class CommitSettings {
public:
    explicit CommitSettings(db::Database& db);
    void apply(CommitMode mode);

private:
    db::Database& m_db;
    std::string m_defaultSynchronous;  // SQLite's value when the connection opened
};

// Creates the suite's tables and the demo company in an empty database, in one
// transaction, around `today`.
void prepareBenchDatabase(db::Database& db, const db::Date& today);

// How long `count` invoices took.
struct Timing {
    long count = 0;
    std::chrono::duration<double> elapsed{0};

    double perSecond() const;
    double msPerInvoice() const;
};

// One line of the bench's output.
struct Measurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    std::int64_t preloaded = 0;  // invoices in the database when the measurement began
    Timing screen;
    Timing floor;

    double ratio() const;
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

    // Both runs, in this order, on the database as it is: the screen, then the floor.
    Measurement measure(CommitMode mode, long count);

private:
    class Screen;
    class Floor;

    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    std::unique_ptr<Screen> m_screen;
};

}  // namespace keltro::bench
