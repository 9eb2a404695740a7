// The floor's rows: copies of what a screen saved, written by plain prepared statements.
//
// A floor measures what the rows of a save cost by themselves. It reads one document a
// screen saved (the model) and writes copies of its rows under new numbers, with every
// value worked out before the clock starts. The pieces here serve every bench:
//
//     RowCopy           an INSERT of a model row, its key columns filled in per copy
//     DocumentCounters  a document type's docno and key counters, taken and stored
//     JournalCopies     copies of the model's journal, moving the balance rows the
//                       model's journal moved, by the same rules and roundings as a
//                       posting, so that the books stay in order
//
// Counters and balance rows are read once and kept here between copies; they are
// written when the floor stores them (once per copy, or once per transaction for a bulk
// load). Nothing else may write them while a floor holds them, unless the floor reads
// them again (`reread`) before its next copy.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "db/Database.h"
#include "services/PeriodBalances.h"

namespace keltro::bench {

inline constexpr std::int64_t kBenchCompany = 1;

// An INSERT of a copied row (every column but the autonumber); the key columns are
// filled in per copy.
struct RowCopy {
    std::string sql;
    db::Params values;
    std::vector<std::pair<std::size_t, std::string>> slots;  // position, column

    // Sets the key column `column` (case-insensitive); a column that is not a key is
    // passed over.
    void set(std::string_view column, const db::Value& value);
    void insert(db::Database& db) const { db.execute(sql, values); }
};

RowCopy copyOf(const db::Row& row, std::string_view table,
               std::initializer_list<std::string_view> keyColumns);

// The first row; throws std::runtime_error "The bench cannot find " + `what` without one.
db::Row onlyRow(db::Rows rows, const std::string& what);

// The number and key of one copied document.
struct DocumentIds {
    std::string docno;
    std::string fkey;
};

// A document type's two counters in one fiscal year: the docno's running number
// (`Docno_master_table`) and the key's number (`Next_number_fkey_table`).
class DocumentCounters {
public:
    DocumentCounters(db::Database& db, std::string doctype, std::string fyear);

    // The numbers of the next `count` copies after those already planned, without taking
    // them (laying a docno out reads the numbering tables: plan before the clock).
    std::vector<DocumentIds> plan(long count);
    // One copy takes its numbers.
    void take();
    // Both counters as they stand now.
    void store();
    // Reads both counters again, after others took numbers; forgets what was planned.
    void reread();

private:
    struct Counter {
        std::string table;
        std::string column;
        std::string where;
        db::Params key;
        std::int64_t next = 0;
    };
    Counter read(std::string table, std::string column, std::string where, db::Params key);
    void store(const Counter& counter);

    db::Database& m_db;
    std::string m_doctype;
    std::string m_fyear;
    Counter m_docno;
    Counter m_key;
    std::int64_t m_plannedDocno = 0;
    std::int64_t m_plannedKey = 0;
};

// Copies of one journal (`GL_header_table` and its `GL_transaction_table` lines) under
// new numbers, each for a copied document (`source_docno`). Base-currency journals only.
class JournalCopies {
public:
    JournalCopies(db::Database& db, const std::string& glFkey);

    std::vector<DocumentIds> plan(long count) { return m_counters.plan(count); }
    // Writes one copy and moves, here, the balances it moves.
    void write(const DocumentIds& ids, const std::string& sourceDocno);
    // The "gl" counters.
    void storeCounters() { m_counters.store(); }
    // Every balance row the copies moved since the last store, once each.
    void storeBalances();
    // Reads the counters and the balance rows again, after others moved them.
    void reread();

private:
    using RunningKey = std::tuple<std::int64_t, std::string, std::string, std::string>;
    using PeriodKey = std::tuple<std::string, std::int64_t, std::string, std::string, std::string>;

    struct RunningRow {
        RunningKey key;
        std::optional<double> amount;
        std::optional<double> baseAmount;
        bool moved = false;
    };
    struct PeriodRow {
        PeriodKey key;
        services::PeriodBalances balances;
        bool moved = false;
    };
    // What one line moves: its own rows and, for an income-statement line, the
    // current-earnings rows.
    struct LineMove {
        std::size_t running = 0;
        std::size_t period = 0;
        std::optional<std::size_t> earningsRunning;
        std::optional<std::size_t> earningsPeriod;
        double earningsSign = 1;
        std::string periodCode;
        std::optional<double> amount;
        std::optional<double> baseAmount;
    };

    JournalCopies(db::Database& db, const std::string& glFkey, const db::Row& header);
    void readBalances();
    std::size_t runningRow(const std::optional<db::Row>& row, const std::string& what);
    std::size_t periodRow(const std::optional<db::Row>& row, const std::string& what);
    void moveBalances();
    static void movePeriod(PeriodRow& row, const std::string& periodCode,
                           std::optional<double> amount, std::optional<double> baseAmount);

    db::Database& m_db;
    RowCopy m_header;
    std::vector<RowCopy> m_lines;
    db::Rows m_modelLines;
    DocumentCounters m_counters;
    std::vector<RunningRow> m_running;
    std::vector<PeriodRow> m_periods;
    std::vector<LineMove> m_moves;
};

}  // namespace keltro::bench
