#include "db/SqliteDatabase.h"

#include <mutex>
#include <variant>

namespace keltro::db {

namespace {

constexpr int kBusyTimeoutMs = 5000;

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // for compilers without aggregate deduction

// Reads a column into `out`; a text column reuses the room of the text `out` held.
void readColumnInto(sqlite3_stmt* stmt, int i, Value& out) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER:
            out = Value(static_cast<long long>(sqlite3_column_int64(stmt, i)));
            return;
        case SQLITE_FLOAT:
            out = Value(sqlite3_column_double(stmt, i));
            return;
        case SQLITE_NULL:
            out = Value();
            return;
        default: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            out.assignText({text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))});
        }
    }
}

int bindValue(sqlite3_stmt* stmt, int index, const Value& value) {
    return std::visit(
        Overloaded{
            [&](std::monostate) { return sqlite3_bind_null(stmt, index); },
            [&](std::int64_t v) { return sqlite3_bind_int64(stmt, index, v); },
            [&](double v) { return sqlite3_bind_double(stmt, index, v); },
            // The caller's values outlive the statement's run (the bindings are cleared
            // before `query` or `execute` returns), so text is bound without a copy.
            [&](const std::string& v) {
                return sqlite3_bind_text(stmt, index, v.data(), static_cast<int>(v.size()),
                                         SQLITE_STATIC);
            },
            [&](bool v) { return sqlite3_bind_int(stmt, index, v ? 1 : 0); },
            [&](const Date& v) {
                const std::string iso = v.iso();
                return sqlite3_bind_text(stmt, index, iso.data(), static_cast<int>(iso.size()),
                                         SQLITE_TRANSIENT);
            },
        },
        value.storage());
}

// Resets a statement when the caller is done with it, whatever happens.
struct ResetGuard {
    sqlite3_stmt* stmt;
    ~ResetGuard() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

// SQLite's memory statistics take a global mutex on every allocation; nothing here reads
// them. The setting must come before the library's first use, so the first connection
// makes it (later calls are refused by SQLite and change nothing).
void configureLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
}

}  // namespace

SqliteDatabase::SqliteDatabase(std::string_view path) : m_path(path) {
    configureLibraryOnce();
    const std::string& file = m_path;
    const int rc = sqlite3_open_v2(file.c_str(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError("Cannot open the database " + file, {}, message, std::to_string(rc));
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    if (file != ":memory:") executeScript("PRAGMA journal_mode=WAL");
}

std::unique_ptr<Database> SqliteDatabase::openAnother() {
    if (m_path.empty() || m_path == ":memory:" || m_path.starts_with("file:")) return nullptr;
    const auto synchronous = queryOne("PRAGMA synchronous");
    auto other = std::make_unique<SqliteDatabase>(m_path);
    // Pragmas take no bound values; the level is a number read from SQLite.
    if (synchronous)
        other->executeScript("PRAGMA synchronous = " + std::to_string(synchronous->at(0).integerOr(2)));
    return other;
}

SqliteDatabase::~SqliteDatabase() {
    m_statements.clear();
    sqlite3_close(m_db);
}

void SqliteDatabase::fail(const std::string& what, std::string_view sql, int rc) const {
    throw DbError(what, std::string(sql), sqlite3_errmsg(m_db), std::to_string(rc));
}

SqliteDatabase::Prepared& SqliteDatabase::preparedFor(std::string_view sql) {
    SeenAt& seen = m_seenAt[(reinterpret_cast<std::uintptr_t>(sql.data()) >> 4) % kSeenSlots];
    if (seen.text == sql.data() && seen.statement->first == sql) return seen.statement->second;
    auto it = m_statements.find(sql);
    if (it == m_statements.end()) {
        sqlite3_stmt* raw = nullptr;
        const int rc = sqlite3_prepare_v2(m_db, sql.data(), static_cast<int>(sql.size()), &raw,
                                          nullptr);
        if (rc != SQLITE_OK) fail("The statement cannot be prepared", sql, rc);
        it = m_statements.emplace(std::string(sql), Prepared{Statement(raw), nullptr}).first;
    }
    seen = {sql.data(), &*it};
    return it->second;
}

SqliteDatabase::Prepared& SqliteDatabase::prepare(std::string_view sql, const Params& params) {
    Prepared& prepared = preparedFor(sql);
    sqlite3_stmt* stmt = prepared.stmt.get();
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != static_cast<int>(params.size()))
        throw DbError("The statement takes " + std::to_string(expected) + " values but was given " +
                          std::to_string(params.size()),
                      std::string(sql));
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int rc = bindValue(stmt, static_cast<int>(i) + 1, params[i]);
        if (rc != SQLITE_OK) fail("A value cannot be bound", sql, rc);
    }
    return prepared;
}

// The names are read again only when SQLite has prepared the statement again.
std::shared_ptr<const ColumnNames> SqliteDatabase::columnsOf(Prepared& prepared) {
    sqlite3_stmt* stmt = prepared.stmt.get();
    const int reprepared = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (prepared.columns && prepared.reprepared == reprepared) return prepared.columns;
    const int count = sqlite3_column_count(stmt);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) names.emplace_back(sqlite3_column_name(stmt, i));
    prepared.columns = std::make_shared<const ColumnNames>(std::move(names));
    prepared.reprepared = reprepared;
    return prepared.columns;
}

void SqliteDatabase::stepToEnd(sqlite3_stmt* stmt, std::string_view sql) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail("The statement failed", sql, rc);
}

Rows SqliteDatabase::query(std::string_view sql, const Params& params) {
    Prepared& prepared = prepare(sql, params);
    sqlite3_stmt* stmt = prepared.stmt.get();
    ResetGuard guard{stmt};
    const auto columns = columnsOf(prepared);
    const int count = static_cast<int>(columns->names().size());

    Rows rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Value> values(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) readColumnInto(stmt, i, values[static_cast<std::size_t>(i)]);
        rows.emplace_back(columns, std::move(values));
    }
    if (rc != SQLITE_DONE) fail("The query failed", sql, rc);
    return rows;
}

void SqliteDatabase::forEachRow(std::string_view sql, const Params& params,
                                const std::function<void(const Row&)>& each) {
    Prepared& prepared = prepare(sql, params);
    sqlite3_stmt* stmt = prepared.stmt.get();
    ResetGuard guard{stmt};
    const auto columns = columnsOf(prepared);
    const int count = static_cast<int>(columns->names().size());
    Row row(columns, std::vector<Value>(static_cast<std::size_t>(count)));
    std::vector<Value>& values = row.valuesToFill();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        for (int i = 0; i < count; ++i) readColumnInto(stmt, i, values[static_cast<std::size_t>(i)]);
        each(row);
    }
    if (rc != SQLITE_DONE) fail("The query failed", sql, rc);
}

std::int64_t SqliteDatabase::execute(std::string_view sql, const Params& params) {
    sqlite3_stmt* stmt = prepare(sql, params).stmt.get();
    ResetGuard guard{stmt};
    stepToEnd(stmt, sql);
    return sqlite3_changes64(m_db);
}

std::int64_t SqliteDatabase::insert(std::string_view sql, const Params& params,
                                    std::string_view /*idColumn*/) {
    execute(sql, params);
    return sqlite3_last_insert_rowid(m_db);
}

void SqliteDatabase::executeScript(std::string_view sql) {
    const std::string text(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw DbError("The script failed", text.substr(0, 2000), message, std::to_string(rc));
    }
}

bool SqliteDatabase::tableExists(std::string_view table) {
    return queryOne("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)",
                    {std::string(table)})
        .has_value();
}

void SqliteDatabase::begin(const RetryPolicy& retry) {
    if (inTransaction()) throw DbError("A transaction is already open");
    // The retry is ours: the busy handler would otherwise wait on its own terms.
    sqlite3_busy_timeout(m_db, 0);
    struct RestoreTimeout {
        sqlite3* db;
        ~RestoreTimeout() { sqlite3_busy_timeout(db, kBusyTimeoutMs); }
    } restore{m_db};

    constexpr std::string_view sql = "BEGIN IMMEDIATE";
    for (int attempt = 1;; ++attempt) {
        const int rc = runPrepared(sql);
        if (rc == SQLITE_OK) return;
        if ((rc & 0xff) != SQLITE_BUSY && (rc & 0xff) != SQLITE_LOCKED)
            fail("The transaction cannot begin", sql, rc);
        if (attempt >= retry.tries)
            throw LockTimeout("The database stays locked by another workstation", std::string(sql),
                              attempt);
        sleep(retry.wait);
    }
}

// The statements that begin and commit every save are prepared once, like the others.
int SqliteDatabase::runPrepared(std::string_view sql) {
    sqlite3_stmt* stmt = prepare(sql, {}).stmt.get();
    ResetGuard guard{stmt};
    const int rc = sqlite3_step(stmt);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

void SqliteDatabase::commit() {
    const int rc = runPrepared("COMMIT");
    if (rc != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(m_db);
        if (inTransaction()) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw DbError("The transaction cannot be committed", "COMMIT", message, std::to_string(rc));
    }
}

void SqliteDatabase::rollback() {
    if (!inTransaction()) return;
    const int rc = sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail("The transaction cannot be rolled back", "ROLLBACK", rc);
}

bool SqliteDatabase::inTransaction() const { return sqlite3_get_autocommit(m_db) == 0; }

Rows SqliteDatabase::lockRows(std::string_view selectSql, const Params& params,
                              const RetryPolicy& /*retry*/) {
    // The write lock was taken (with its retry) when the transaction began.
    if (!inTransaction()) throw DbError("A row can only be locked inside a transaction",
                                        std::string(selectSql));
    return query(selectSql, params);
}

std::vector<Rows> SqliteDatabase::lockRowsOfEach(std::string_view selectSql, const std::vector<Params>& each,
                                                 const RetryPolicy& retry) {
    std::vector<Rows> rows;
    for (const auto& params : each) rows.push_back(lockRows(selectSql, params, retry));
    return rows;
}

}  // namespace keltro::db
