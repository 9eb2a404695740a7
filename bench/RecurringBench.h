// `keltro-ar bench recurring`: how fast the recurring inquiry lists the due definitions and
// generates invoices from them, against the floor.
//
// The company gets 10,000 recurring definitions (at least twice the count generated) for
// customer 1001, monthly and due today, each of the three lines the invoice bench types
// (tax code "S2", three sales accounts). On `ARreport_recur_inquiry` headless, per mode:
//
//   * listing: "&List Due Recur", timed from the command until the grid holds the due
//     list (`list_ms`, with `listed` the rows it shows);
//   * generating: the first `count` rows ticked "due" (not timed), then "&Generate
//     Invoice", one transaction for the whole run, timed from the command to "Generate
//     invoices complete" (`per_s`, `ms_per_invoice`).
//
// The floor is the invoice bench's (`InvoiceCopies`): copies of the last generated invoice,
// header, lines, journal, counters, owing balance and balance rows written by plain
// prepared statements, one transaction each, after 20 uncounted copies that prepare its
// statements; both runs start from an empty SQLite write-ahead log. A mode generates from
// the definitions the modes before it left due, so the run needs no fresh company between
// modes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bench/BenchCommon.h"
#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

// One line of the bench's output.
struct RecurringMeasurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    std::int64_t definitions = 0;  // in the database
    long listed = 0;               // rows the due list showed
    double listMs = 0;
    Timing screen;
    Timing floor;

    // {"bench":"recurring","engine":…,"mode":…,"definitions":…,"listed":…,"list_ms":…,
    //  "count":…,"per_s":…,"floor_per_s":…,"ratio":…,"ms_per_invoice":…,
    //  "floor_ms_per_invoice":…}
    std::string json() const;
};

class RecurringBench {
public:
    static constexpr long kDefinitions = 10000;

    // `db` holds the demo company; `clock` gives the day the definitions fall due.
    RecurringBench(db::Database& db, const services::Clock& clock);
    ~RecurringBench();
    RecurringBench(const RecurringBench&) = delete;
    RecurringBench& operator=(const RecurringBench&) = delete;

    // Writes `count` definitions due today, in one transaction.
    void prepare(long count);
    std::int64_t definitions();

    // Lists the due definitions and generates the first `count` of them through the screen;
    // fills the listing and screen figures of `measurement`. Throws std::runtime_error with
    // what the screen said when fewer are due or the generation does not complete.
    void runScreen(long count, RecurringMeasurement& measurement);
    // Writes `count` copies of the last generated invoice as the floor does.
    Timing runFloor(long count);

    // The screen run, then the floor, in `mode`.
    RecurringMeasurement measure(CommitMode mode, long count);

private:
    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    std::unique_ptr<BenchDesk> m_desk;
};

}  // namespace keltro::bench
