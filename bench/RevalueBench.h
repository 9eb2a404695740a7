// `keltro-ar bench revalue`: how long a revaluation takes over many open foreign items.
//
// The bench gives 1,000 euro customers their open items (100,000 by default, spread evenly;
// a tenth of them credit notes), each a document header and one line at its own rate,
// written by plain prepared statements in one transaction. Half the customers keep their
// receivables on an account with its own unrealized gain and loss accounts, half on the
// module's receivable account.
//
// A measurement then drives `ARform_revalue` headless as a person would: "&New", the
// cut-off date (today), one criteria line (EUR at a new rate, every customer), and times
//
//     find_ms   "Find result": every open item read, valued and summed per account
//     save_ms   "&Save": header, criteria, a result row per item, the summary, the
//               revaluation journal and its reversal, in one transaction
//
// and prints one JSON line:
//
//     {"bench":"revalue","engine":"sqlite","mode":"durable","items":100000,
//      "customers":1000,"find_ms":412.3,"save_ms":1650.2,"find_cpu_ms":398.0,
//      "save_cpu_ms":1210.5}
//
// The `_cpu_ms` figures are the processor time the program itself spent (std::clock), which
// a machine busy with other work does not inflate as it does the elapsed time; the save's
// covers the whole command, the saved revaluation read back onto the screen included.
//
// Each measurement saves a revaluation of its own; the items stay open, so every run
// finds them all.
#pragma once

#include <chrono>
#include <string>

#include "bench/BenchCommon.h"
#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

struct RevalueMeasurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    long items = 0;
    long customers = 0;
    std::chrono::duration<double> find{0};
    std::chrono::duration<double> save{0};
    std::chrono::duration<double> findCpu{0};
    std::chrono::duration<double> saveCpu{0};

    std::string json() const;
};

class RevalueBench {
public:
    static constexpr long kDefaultItems = 100000;
    static constexpr long kCustomers = 1000;

    // `db` holds the demo company; `clock` gives today (the cut-off and revaluation date).
    RevalueBench(db::Database& db, const services::Clock& clock);

    // Writes `items` open items over min(items, 1,000) customers of their own.
    void prepare(long items);

    // One revaluation through the screen: the run and the save, timed. Throws
    // std::runtime_error with what the screen said when either does not complete.
    RevalueMeasurement measure(CommitMode mode);

    long items() const { return m_items; }
    long customers() const { return m_customers; }

private:
    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    long m_items = 0;
    long m_customers = 0;
};

}  // namespace keltro::bench
