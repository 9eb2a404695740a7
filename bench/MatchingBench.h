// `keltro-ar bench matching`: how fast the matching screen lists a customer with 10,000
// open items and saves a matching of 1,000 lines.
//
// The customer's open items are written straight into `AR_header_table` and
// `AR_transaction_table` with plain prepared statements in one transaction (not timed):
// invoices and credit notes in US dollars, invoices and prepayments in euros at 1.05,
// unapplied cash in dollars, one pay item each. The first 1,000 of them are the ones the
// matching applies, a quarter of each of the first four kinds, so that both sides come to
// the same base amount at the euro's receipt rate (its newest rate, 1.1012 in the demo
// company) and every euro line posts an exchange difference.
//
// On `ARform_matching` headless, in each mode:
//
//   * list_ms: "&New", then the customer typed into `cmbcustno` and left, until the grid
//     lists the open items;
//   * save_ms: after a click into "applied amount" of each of the first 1,000 rows (not
//     timed), "&Save" until "Add new Matching complete".
//
// Each mode gets a customer of its own, so that each lists the same 10,000 items.
#pragma once

#include <memory>
#include <string>

#include "bench/BenchCommon.h"
#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

struct MatchingMeasurement {
    db::Engine engine = db::Engine::Sqlite;
    CommitMode mode = CommitMode::Durable;
    long openItems = 0;
    double listMs = 0;
    long lines = 0;
    double saveMs = 0;

    // {"bench":"matching","engine":…,"mode":…,"open_items":…,"list_ms":…,"lines":…,
    //  "save_ms":…}
    std::string json() const;
};

class MatchingBench {
public:
    static constexpr long kOpenItems = 10000;
    static constexpr long kMatchedLines = 1000;

    MatchingBench(db::Database& db, const services::Clock& clock);
    ~MatchingBench();
    MatchingBench(const MatchingBench&) = delete;
    MatchingBench& operator=(const MatchingBench&) = delete;

    // Writes the customer's open items (one transaction).
    void loadOpenItems(const std::string& customer);

    // Loads a customer of the mode, lists and saves.
    MatchingMeasurement measure(CommitMode mode);

private:
    db::Database& m_db;
    const services::Clock& m_clock;
    CommitSettings m_settings;
    std::unique_ptr<BenchDesk> m_desk;
    long m_documents = 0;  // written so far, for their numbers
};

}  // namespace keltro::bench
