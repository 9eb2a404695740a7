// `keltro-ar bench aging`: the aging statement over a large book of open items, and the
// PDF of a long report.
//
// The book: `items` open invoice lines (1,000,000 by default) spread over 10,000
// customers, written with plain prepared statements in one transaction, due dates spread
// from 40 days ahead to 160 days behind. Measured:
//
//   * the statement as the screen runs it for every customer ("*"): every unpaid item
//     re-aged in one UPDATE, beside that the items read and made into the report's lines
//     with a total per customer; first on a fresh book (every class written), then again
//     the same day (no class changes, nothing written), then as the next day's run (the
//     items that crossed into another class written);
//   * every line of the statement made into the screen's grid rows (texts by caption);
//   * the first 10,000 lines as the aging screen's grid rows printed to PDF in the
//     demo administrator's page format.
//
// The statement runs in the CPU-bound mode of the other benches (SQLite `synchronous=OFF`,
// PostgreSQL `synchronous_commit=off`). One JSON line each:
//   {"bench":"aging","engine":…,"mode":"cpu","run":"first"|"again"|"next_day","items":…,"customers":…,"lines":…,
//    "ms":…,"cpu_ms":…}
//   {"bench":"aging_grid","engine":…,"rows":…,"ms":…,"cpu_ms":…}
//   {"bench":"aging_pdf","engine":…,"rows":…,"pages":…,"written":…,"ms":…,"cpu_ms":…}
// `cpu_ms` is the processor time the program spent on every thread (the engine's SQLite
// included): on an idle machine it stays near `ms` for one thread's work and exceeds it
// when the statement's two connections work at once; on a busy one it tells the cost
// apart from waiting.
#pragma once

#include <functional>
#include <string>

#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::bench {

class AgingBench {
public:
    static constexpr long kCustomers = 10000;
    static constexpr long kPdfRows = 10000;

    AgingBench(db::Database& db, const services::Clock& clock) : m_db(db), m_clock(clock) {}

    // Writes the customers and `items` open items; `progress(done)` now and then.
    void prepare(long items, const std::function<void(long)>& progress);

    // The statement for every customer, run `daysLater` days after today; `label` names
    // the run.
    std::string measureStatement(const std::string& label, int daysLater = 0);

    // Every line of today's statement as the aging screen's grid rows.
    std::string measureGridRows();

    // The PDF of the first rows; `pdfPath` is where it goes.
    std::string measurePdf(const std::string& pdfPath);

private:
    db::Database& m_db;
    const services::Clock& m_clock;
    long m_items = 0;
};

}  // namespace keltro::bench
