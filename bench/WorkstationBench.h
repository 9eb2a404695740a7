// `keltro-ar bench workstations`: several workstations saving at once on one database.
//
// A workstation is a process of its own with its own connection, driving the screens
// headless as a person would and saving documents in turn: an invoice, a receipt that
// pays it, a credit note, and again. All of them take numbers from the same counters
// and move the same balance rows, so they wait for each other under the bounded-retry
// locks; a save refused because a lock stayed taken through every retry is counted
// (`lock_refused`), any other failure is an error (`failed`).
//
// After the run the books are audited: every document series (docno per type and year,
// and key per type) must hold each number handed out exactly once — no duplicate, no
// gap — and `BooksAudit` must find nothing. The same worker serves the crash test, which
// kills it at random moments and audits what is left: every stored document whole.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

// What one workstation did.
struct WorkstationResult {
    long saved = 0;
    long lockRefused = 0;  // failed saves whose lock stayed taken through every retry
    long failed = 0;       // any other failed save
    double seconds = 0;
    std::string firstFailure;

    // One line of text for the parent process, and back.
    std::string line() const;
    static WorkstationResult fromLine(const std::string& line);
    WorkstationResult& operator+=(const WorkstationResult& more);
};

// One workstation's loop on its own connection. `customer` is the one its documents are
// for; `progress` hears the count saved after every document.
WorkstationResult runWorkstation(db::Database& db, const services::Clock& clock,
                                 const std::string& customer, long documents,
                                 const std::function<void(long)>& progress = {});

// The customer of workstation `index` (0-based): four customers in turn.
std::string workstationCustomer(int index);

// The numbering counters as they stand: "docno|type|year" and "fkey|type" → next number.
using CounterState = std::map<std::string, std::int64_t>;
CounterState readCounters(db::Database& db);

// Each number a counter handed out since `before` must name exactly one stored document
// (journals included), and no stored document may carry a number the counter never
// gave: one finding per duplicate, gap or stray.
std::vector<std::string> auditSeries(db::Database& db, const CounterState& before);

// Documents not stored whole: a header without lines, lines without a header, a
// journal key that names no journal or a journal without lines.
std::vector<std::string> incompleteDocuments(db::Database& db);

}  // namespace keltro::bench
