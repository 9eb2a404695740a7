// `keltro-ar bench receipt`: how fast the receipt screen lists a customer's open items
// and saves receipts, against the floor.
//
// Three customers of the demo company get 10, 100 and 1,000 open items: one invoice of
// one line typed on the invoice screen, the rest copies of it (`InvoiceCopies`), so that
// every open item is an invoice with its journal and the books stay in order.
//
// For each customer, on `ARform_receipt` headless:
//
//   * listing: "&New", then the customer typed into `cmbcustno` and left, which fills
//     the application grid with the customer's open items; timed a few times, the median
//     reported in ms;
//   * saving: the customer, pay by "Cash" into the petty-cash account, a click into
//     "applied amount" of each of the first ten rows (quick apply), the receipt amount
//     as the total the grid shows, then "&Save", timed from the command to "Add new
//     Receipt complete". After each save ten new invoices are copied in (not timed), so
//     that every receipt is entered against the same number of open items.
//
// The floor writes the same rows as a save, with plain prepared statements and values
// worked out before the clock starts, one transaction per receipt:
//
//     the "rc" and "gl" counters (Docno_master_table, Next_number_fkey_table)
//     the receipt header and its ten lines (Receipt_header_table,
//         Receipt_transaction_table), the journal key already in the header
//     each settled line's open amount, paid amount and paid flag (AR_transaction_table)
//         and its document's paid flags (AR_header_table)
//     the journal and its lines (GL_header_table, GL_transaction_table)
//     every Balance_table and Balance_period_table row the journal moves, once each
//
// The rows are copies of the last receipt the screen saved for the customer, applied to
// the customer's oldest open items (copies of the same invoice, so the amounts agree).
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchCommon.h"
#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

class InvoiceCopies;

// One line of the bench's output: one customer in one mode.
struct ReceiptMeasurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    long openItems = 0;  // listed when the customer is chosen
    double listMs = 0;   // the median time to list them
    Timing screen;
    Timing floor;

    // {"bench":"receipt","engine":…,"mode":…,"open_items":…,"list_ms":…,"count":…,
    //  "per_s":…,"floor_per_s":…,"ratio":…,"ms_per_receipt":…,"floor_ms_per_receipt":…}
    std::string json() const;
};

class ReceiptBench {
public:
    static constexpr std::array<long, 3> kOpenItemCounts = {10, 100, 1000};
    static constexpr long kAppliedPerReceipt = 10;
    static constexpr int kListings = 5;
    // The screen and the floor take turns, this many receipts each, so that other work on
    // the machine slows both alike.
    static constexpr long kRound = 20;

    // `db` holds the demo company; `clock` gives the documents' date.
    ReceiptBench(db::Database& db, const services::Clock& clock);
    ~ReceiptBench();
    ReceiptBench(const ReceiptBench&) = delete;
    ReceiptBench& operator=(const ReceiptBench&) = delete;

    // Gives each bench customer its open items; once, before the first measurement.
    void prepare();

    // The customer who has `openItems` open items (one of kOpenItemCounts).
    static std::string customerWith(long openItems);
    // The customer's open items now.
    std::int64_t openItems(const std::string& customer);

    // The median time, in ms, of `times` listings of the customer's open items.
    double listMs(const std::string& customer, int times = kListings);
    // Saves `count` receipts through the screen, each applying the customer's first ten
    // open items, and tops the customer's open items up again after each.
    Timing runScreen(const std::string& customer, long count);
    // Writes `count` receipts as the floor does; needs one receipt of the customer saved
    // by the screen first (its rows are the copies' model). Tops up beforehand (not timed)
    // so that the customer keeps its open items.
    Timing runFloor(const std::string& customer, long count);

    // Listing, then screen and floor in turns, on the database as it is.
    ReceiptMeasurement measure(CommitMode mode, long openItems, long count);

private:
    class Screen;
    class Floor;

    BenchDesk& desk();
    Screen& screen();
    // Copies the customer's invoice `count` times, `perTransaction` to a transaction.
    void addOpenItems(const std::string& customer, long count, long perTransaction);

    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    std::unique_ptr<BenchDesk> m_desk;
    std::unique_ptr<Screen> m_screen;
    // Per customer: copies of the invoice typed for it, as it was when it was typed.
    std::map<std::string, std::unique_ptr<InvoiceCopies>> m_openItems;
};

}  // namespace keltro::bench
