// The database the suite shares, behind one interface with two engines.
//
// SQLite is the embedded default (one file, `sqlite:PATH`); PostgreSQL serves several
// workstations (`postgresql://…`, a libpq URI). Both take the same SQL text:
//
//   * values are always bound: write `?` where a value goes and pass it in `Params`;
//     user text is never part of the SQL, so a customer called O'Brien is just a name;
//   * a name may be bracketed, `[default]`, `[user]`, `[Update]`, which is how the few
//     columns whose names are SQL keywords are written;
//   * TRUE and FALSE are written as such.
//
// PostgreSQL sees `?` as `$1, $2 …` and `[Name]` as `"name"` (its tables are created with
// lower-case names); SQLite takes the text as it is.
//
//     auto rows = db.query("SELECT * FROM Customer_table WHERE customer_no = ?", {"1001"});
//     std::string name = rows.at(0)["customer_name"].textOr();
//
// Saving a document is one transaction (see `Transaction`). Rows that several
// workstations change at once, numbering counters and ledger balances, are taken with
// `lockRows` under a bounded retry: the lock is tried, and while another workstation holds
// it, tried again after 0.432 s, up to 10 times for counters and 5 for balances. On
// PostgreSQL that is `SELECT … FOR UPDATE NOWAIT` inside a savepoint, so a refused lock
// does not spoil the transaction; on SQLite a writing transaction already holds the
// database (`BEGIN IMMEDIATE`), so the same retry happens when the transaction begins.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbError.h"
#include "db/Row.h"
#include "db/Value.h"

namespace keltro::db {

enum class Engine { Sqlite, Postgres };

std::string_view engineName(Engine engine);  // "sqlite" or "postgresql"

// How often, and how far apart, a locked row is tried.
struct RetryPolicy {
    int tries;
    std::chrono::milliseconds wait;
};

inline constexpr RetryPolicy kCounterLock{10, std::chrono::milliseconds(432)};
inline constexpr RetryPolicy kBalanceLock{5, std::chrono::milliseconds(432)};

class Database {
public:
    using Sleeper = std::function<void(std::chrono::milliseconds)>;

    virtual ~Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    virtual Engine engine() const = 0;

    // Runs a statement that returns rows.
    virtual Rows query(std::string_view sql, const Params& params = {}) = 0;
    // Runs a statement that returns rows and hands them to `each` one at a time as they
    // are read, without holding the result: a million rows cost the memory of one. The
    // row given is the same object every time, its values overwritten by the next row,
    // so `each` copies what it keeps. While the rows come, `each` must not use this
    // database (a PostgreSQL connection is busy with the stream). An exception thrown by
    // `each` ends the read and leaves the connection usable; so does a statement that
    // fails after some rows (DbError, the rows before it already handed over).
    virtual void forEachRow(std::string_view sql, const Params& params,
                            const std::function<void(const Row&)>& each) = 0;
    // The first row, or nullopt when there is none.
    std::optional<Row> queryOne(std::string_view sql, const Params& params = {});
    // Runs a statement that returns no rows; gives the number of rows it changed.
    virtual std::int64_t execute(std::string_view sql, const Params& params = {}) = 0;
    // Runs a statement that returns no rows when the caller needs neither rows nor a count.
    // Inside a transaction PostgreSQL sends it without waiting for its answer: the
    // statements queued so go to the server with the next one that waits (a read, a lock,
    // the commit) in one round trip, and a failure of any of them is thrown there, as
    // the DbError of the statement that failed; the transaction is then to be rolled back
    // like after any other failure. Outside a transaction, and on SQLite, it runs at once.
    virtual void queue(std::string_view sql, const Params& params = {}) = 0;
    // Runs an INSERT into a table with an autonumber column and gives the new number.
    virtual std::int64_t insert(std::string_view sql, const Params& params,
                                std::string_view idColumn) = 0;
    // Runs several statements separated by ";" (schema scripts); no parameters.
    virtual void executeScript(std::string_view sql) = 0;
    virtual bool tableExists(std::string_view table) = 0;

    // Transactions: one level; `Transaction` is the way to use them.
    // `begin` waits for the database under `retry` on SQLite (another workstation saving).
    virtual void begin(const RetryPolicy& retry = kCounterLock) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;

    // Selects rows and locks them for the rest of the transaction, retrying while another
    // workstation holds them. Throws LockTimeout when they stay locked. The statement is
    // a plain SELECT; the engine adds its locking clause.
    virtual Rows lockRows(std::string_view selectSql, const Params& params,
                          const RetryPolicy& retry) = 0;
    // The same select run with each set of values, all locked together under one retry
    // (every row, or none while one is held elsewhere); the rows of each set, in order.
    // PostgreSQL sends them in one round trip.
    virtual std::vector<Rows> lockRowsOfEach(std::string_view selectSql, const std::vector<Params>& each,
                                             const RetryPolicy& retry) = 0;

    // Another connection to the same database, with this one's commit settings, for work
    // that runs on another thread beside this connection's; nullptr when there can be no
    // other (an in-memory database, a connection standing in for one in tests). It sees
    // only what this connection has committed.
    virtual std::unique_ptr<Database> openAnother() { return nullptr; }

    // What waits between tries (tests count the tries and release a lock in between).
    void setSleeper(Sleeper sleeper) { m_sleeper = std::move(sleeper); }

protected:
    Database() = default;
    void sleep(std::chrono::milliseconds wait) const;

private:
    Sleeper m_sleeper;
};

// "(?, ?, ?)": the places of `count` values, for an IN list whose values are bound.
std::string placeholders(std::size_t count);

// Opens "sqlite:PATH" or "postgresql://…" / "postgres://…". Throws DbError.
std::unique_ptr<Database> openDatabase(std::string_view url);

// Begins in its constructor and rolls back in its destructor unless committed.
class Transaction {
public:
    explicit Transaction(Database& db, const RetryPolicy& retry = kCounterLock);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Database& m_db;
    bool m_open = true;
};

}  // namespace keltro::db
