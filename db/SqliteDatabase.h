// The embedded engine: one SQLite file, shared by the workstations that open it.
//
// The file runs in WAL mode so that readers never wait for a writer. A writing
// transaction begins with `BEGIN IMMEDIATE`, which takes the file's one write lock at
// once; while another workstation holds it, the begin is retried under the caller's
// retry policy. Having the write lock, the transaction owns every row it then locks.
// Prepared statements are kept per SQL text for the life of the connection. A connection
// is used by one thread at a time (each workstation thread opens its own), so SQLite's
// own per-connection locking is left out.
#pragma once

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <functional>
#include <unordered_map>

#include "db/Database.h"

namespace keltro::db {

class SqliteDatabase final : public Database {
public:
    explicit SqliteDatabase(std::string_view path);
    ~SqliteDatabase() override;

    Engine engine() const override { return Engine::Sqlite; }
    Rows query(std::string_view sql, const Params& params = {}) override;
    void forEachRow(std::string_view sql, const Params& params,
                    const std::function<void(const Row&)>& each) override;
    std::int64_t execute(std::string_view sql, const Params& params = {}) override;
    // A write that is not waited for is simply run: SQLite answers without a round trip.
    void queue(std::string_view sql, const Params& params = {}) override { execute(sql, params); }
    std::int64_t insert(std::string_view sql, const Params& params,
                        std::string_view idColumn) override;
    void executeScript(std::string_view sql) override;
    bool tableExists(std::string_view table) override;

    void begin(const RetryPolicy& retry = kCounterLock) override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

    Rows lockRows(std::string_view selectSql, const Params& params,
                  const RetryPolicy& retry) override;
    std::unique_ptr<Database> openAnother() override;
    std::vector<Rows> lockRowsOfEach(std::string_view selectSql, const std::vector<Params>& each,
                                     const RetryPolicy& retry) override;

private:
    struct StatementDeleter {
        void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

    // A prepared statement and the column names of its result, kept until SQLite
    // prepares the statement again (after a change to the tables it reads).
    struct Prepared {
        Statement stmt;
        std::shared_ptr<const ColumnNames> columns;
        int reprepared = 0;  // SQLITE_STMTSTATUS_REPREPARE when the names were read
    };
    // Finds statements by the SQL text as given, without copying it.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };

    using Statements = std::unordered_map<std::string, Prepared, TextHash, std::equal_to<>>;

    Prepared& prepare(std::string_view sql, const Params& params);
    Prepared& preparedFor(std::string_view sql);
    std::shared_ptr<const ColumnNames> columnsOf(Prepared& prepared);
    [[noreturn]] void fail(const std::string& what, std::string_view sql, int rc) const;
    void stepToEnd(sqlite3_stmt* stmt, std::string_view sql);
    // Steps a statement without parameters or rows once; SQLITE_OK when it is done.
    int runPrepared(std::string_view sql);

    std::string m_path;
    sqlite3* m_db = nullptr;
    Statements m_statements;
    // Most statements come from the same text each time (a constant, or a text made once):
    // where a text was last seen is tried first, and only its bytes are compared, so a
    // long INSERT is not hashed on every row. A slot per address, the last one wins.
    struct SeenAt {
        const char* text = nullptr;
        Statements::value_type* statement = nullptr;
    };
    static constexpr std::size_t kSeenSlots = 512;
    std::array<SeenAt, kSeenSlots> m_seenAt{};
};

}  // namespace keltro::db
