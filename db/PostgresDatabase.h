// The shared engine: a PostgreSQL server that several workstations use at once.
//
// Values travel as text with their types named (whole number, double, boolean, date);
// plain text goes untyped so that the server reads it as the column it meets. Results
// come back as text and are read by the column's type. A row lock is
// `SELECT … FOR UPDATE NOWAIT` inside a savepoint, the three sent in one pipeline (one
// round trip): when another workstation holds the row, the savepoint is rolled back,
// which leaves the transaction usable, and the lock is tried again after the policy's
// wait.
//
// Inside a transaction, the writes whose answers the caller does not need (`queue`) are
// sent in libpq's pipeline mode and not waited for; the next statement that waits for its
// answer joins the pipeline, and the sync after it brings every answer back in one round
// trip. The first failure among them is thrown as its own statement's DbError; the
// statements after it were skipped by the server, and the transaction rolls back. At most
// `kMostQueued` statements wait in the pipeline before their answers are read.
//
// A statement with parameters is prepared on the server the first time it runs on the
// connection (for each combination of value types it is given) and executed by name
// after that, so the server parses and plans it once; statements without parameters
// (scripts, report queries with their values written in) run as they come. A streamed
// read (`forEachRow`) runs in libpq's single-row mode. At most
// `kMostPrepared` statements are kept per connection.
#pragma once

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/Database.h"

namespace keltro::db {

class PostgresDatabase final : public Database {
public:
    explicit PostgresDatabase(std::string_view url);
    ~PostgresDatabase() override;

    Engine engine() const override { return Engine::Postgres; }
    Rows query(std::string_view sql, const Params& params = {}) override;
    void forEachRow(std::string_view sql, const Params& params,
                    const std::function<void(const Row&)>& each) override;
    std::int64_t execute(std::string_view sql, const Params& params = {}) override;
    void queue(std::string_view sql, const Params& params = {}) override;
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
    struct ResultDeleter {
        void operator()(PGresult* r) const { PQclear(r); }
    };
    using Result = std::unique_ptr<PGresult, ResultDeleter>;
    // A statement's values as libpq takes them.
    struct WireParams;

    // The answers of the statements of one pipeline, in the order they were sent, with
    // the texts they were sent as; `failed` is the first one the server refused (those
    // after it were skipped), or the first whose answer did not come.
    struct Answers {
        std::vector<Result> results;
        std::vector<std::string> texts;
        std::optional<std::size_t> failed;
    };

    // Runs the statement (already in PostgreSQL's form); throws on failure. With writes
    // queued it goes in their pipeline and its answer comes back with theirs.
    Result run(const std::string& pgSql, const Params& params, std::string_view originalSql);
    Result runPlain(const char* sql);
    // Throws the server's refusal of a statement (`result` null: the sending failed).
    [[noreturn]] void failed(const PGresult* result, std::string_view originalSql) const;
    // Sends a statement into the pipeline, entering pipeline mode first when needed.
    // `name` is its prepared statement's, or empty to send `pgSql` itself.
    void send(const std::string& name, const std::string& pgSql, const WireParams& wire,
              std::string_view originalSql);
    // Sends the sync and reads every answer of the pipeline; leaves pipeline mode.
    Answers collect();
    // Collects the pipeline; throws its first failure.
    void settle();
    // Collects the pipeline with `pgSql` last in it; its answer, or the first failure thrown.
    Result runLast(const std::string& name, const std::string& pgSql, const WireParams& wire,
                   std::string_view originalSql);
    // One try at the row locks inside their savepoint: the answers of the savepoint, the
    // selects and the release. Throws when a statement queued before them failed.
    Answers lockOnce(const std::string& pgSql, const std::vector<Params>& each, std::string_view originalSql);
    // The name of the statement prepared for `pgSql` with these value types; empty when
    // it is not to be prepared. Throws when the server refuses it.
    std::string preparedName(const std::string& pgSql, const std::vector<Oid>& types, std::string_view originalSql);
    static Rows readRows(PGresult* result);

    static constexpr std::size_t kMostPrepared = 2000;
    std::string m_url;
    static constexpr std::size_t kMostQueued = 500;
    PGconn* m_conn = nullptr;
    std::unordered_map<std::string, std::string> m_prepared;  // statement and types → name
    std::vector<std::string> m_pipeline;  // the texts of the statements sent, not yet answered
};

}  // namespace keltro::db
