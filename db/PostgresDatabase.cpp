#include "db/PostgresDatabase.h"

#include <cctype>
#include <charconv>
#include <variant>

#include "db/SqlDialect.h"

namespace keltro::db {

namespace {

// Type numbers of the server's built-in types.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701,
              kNumeric = 1700, kDate = 1082;

constexpr const char* kLockNotAvailable = "55P03";

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // for compilers without aggregate deduction

std::string doubleText(double v) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, ptr);
}

// A value as the server reads it: its text and its type (0: let the server decide).
struct WireValue {
    std::optional<std::string> text;
    Oid type = 0;
};

WireValue toWire(const Value& value) {
    return std::visit(Overloaded{
                          [](std::monostate) { return WireValue{}; },
                          [](std::int64_t v) { return WireValue{std::to_string(v), kInt8}; },
                          [](double v) { return WireValue{doubleText(v), kFloat8}; },
                          [](const std::string& v) { return WireValue{v, 0}; },
                          [](bool v) { return WireValue{v ? "t" : "f", kBool}; },
                          [](const Date& v) { return WireValue{v.iso(), kDate}; },
                      },
                      value.storage());
}

// A statement's values as libpq takes them: texts (null for Null) and their types.
struct WireParams {
    explicit WireParams(const Params& params) {
        wire.reserve(params.size());
        for (const auto& p : params) wire.push_back(toWire(p));
        for (const auto& w : wire) {
            values.push_back(w.text ? w.text->c_str() : nullptr);
            types.push_back(w.type);
        }
    }
    int count() const { return static_cast<int>(values.size()); }

    std::vector<WireValue> wire;
    std::vector<const char*> values;
    std::vector<Oid> types;
};

Value fromWire(const char* text, int length, Oid type) {
    const std::string_view s(text, static_cast<std::size_t>(length));
    switch (type) {
        case kBool:
            return Value(s == "t");
        case kInt2:
        case kInt4:
        case kInt8: {
            long long v = 0;
            std::from_chars(s.data(), s.data() + s.size(), v);
            return Value(v);
        }
        case kFloat4:
        case kFloat8:
        case kNumeric: {
            double v = 0;
            std::from_chars(s.data(), s.data() + s.size(), v);
            return Value(v);
        }
        case kDate:
            if (auto d = Date::fromIso(s)) return Value(*d);
            return Value(std::string(s));
        default:
            return Value(std::string(s));
    }
}

// Reads a column into `out`; plain text reuses the room of the text `out` held.
void fromWireInto(Value& out, const char* text, int length, Oid type) {
    switch (type) {
        case kBool: case kInt2: case kInt4: case kInt8: case kFloat4: case kFloat8: case kNumeric:
        case kDate:
            out = fromWire(text, length, type);
            return;
        default:
            out.assignText({text, static_cast<std::size_t>(length)});
    }
}

std::string quotedLower(std::string_view name) {
    std::string out = "\"";
    for (char c : name) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out + "\"";
}

void ignoreNotice(void*, const char*) {}

}  // namespace

PostgresDatabase::PostgresDatabase(std::string_view url) : m_url(url) {
    m_conn = PQconnectdb(m_url.c_str());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        std::string message = PQerrorMessage(m_conn);
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DbError("Cannot connect to the database server", {}, message);
    }
    PQsetNoticeProcessor(m_conn, ignoreNotice, nullptr);
    runPlain("SET client_encoding = 'UTF8'; SET DateStyle = 'ISO, YMD'");
}

PostgresDatabase::~PostgresDatabase() { PQfinish(m_conn); }

std::unique_ptr<Database> PostgresDatabase::openAnother() {
    const auto commitSetting = queryOne("SELECT current_setting('synchronous_commit')");
    auto other = std::make_unique<PostgresDatabase>(m_url);
    if (commitSetting)
        other->query("SELECT set_config('synchronous_commit', ?, FALSE)", {commitSetting->at(0).textOr()});
    return other;
}

PostgresDatabase::Result PostgresDatabase::run(const std::string& pgSql, const Params& params,
                                               std::string_view originalSql) {
    const WireParams wire(params);
    const std::string name = preparedName(pgSql, wire.types, originalSql);
    Result result(name.empty() ? PQexecParams(m_conn, pgSql.c_str(), wire.count(), wire.types.data(),
                                              wire.values.data(), nullptr, nullptr, 0)
                               : PQexecPrepared(m_conn, name.c_str(), wire.count(), wire.values.data(),
                                                nullptr, nullptr, 0));
    const auto status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) failed(result.get(), originalSql);
    return result;
}

void PostgresDatabase::failed(const PGresult* result, std::string_view originalSql) const {
    const char* state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* message = result ? PQresultErrorMessage(result) : nullptr;
    throw DbError("The statement failed", std::string(originalSql),
                  message && *message ? message : PQerrorMessage(m_conn), state ? state : "");
}

std::string PostgresDatabase::preparedName(const std::string& pgSql, const std::vector<Oid>& types,
                                           std::string_view originalSql) {
    if (types.empty()) return {};
    std::string key = pgSql;
    for (Oid type : types) key += ',' + std::to_string(type);
    if (auto found = m_prepared.find(key); found != m_prepared.end()) return found->second;
    if (m_prepared.size() >= kMostPrepared) return {};
    std::string name = "keltro_" + std::to_string(m_prepared.size() + 1);
    Result result(PQprepare(m_conn, name.c_str(), pgSql.c_str(), static_cast<int>(types.size()), types.data()));
    if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        throw DbError("The statement cannot be prepared", std::string(originalSql), PQerrorMessage(m_conn),
                      state ? state : "");
    }
    m_prepared.emplace(std::move(key), name);
    return name;
}

PostgresDatabase::Result PostgresDatabase::runPlain(const char* sql) {
    Result result(PQexec(m_conn, sql));
    const auto status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        const char* state = result ? PQresultErrorField(result.get(), PG_DIAG_SQLSTATE) : nullptr;
        throw DbError("The statement failed", std::string(sql).substr(0, 2000),
                      PQerrorMessage(m_conn), state ? state : "");
    }
    return result;
}

Rows PostgresDatabase::readRows(PGresult* result) {
    const int fields = PQnfields(result);
    std::vector<std::string> names;
    std::vector<Oid> types;
    for (int c = 0; c < fields; ++c) {
        names.emplace_back(PQfname(result, c));
        types.push_back(PQftype(result, c));
    }
    auto columns = std::make_shared<const ColumnNames>(std::move(names));
    Rows rows;
    const int count = PQntuples(result);
    rows.reserve(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        std::vector<Value> values;
        values.reserve(static_cast<std::size_t>(fields));
        for (int c = 0; c < fields; ++c) {
            if (PQgetisnull(result, r, c))
                values.emplace_back();
            else
                values.push_back(fromWire(PQgetvalue(result, r, c), PQgetlength(result, r, c),
                                          types[static_cast<std::size_t>(c)]));
        }
        rows.emplace_back(columns, std::move(values));
    }
    return rows;
}

Rows PostgresDatabase::query(std::string_view sql, const Params& params) {
    Result result = run(toPostgresSql(sql), params, sql);
    return readRows(result.get());
}

// Single-row mode: the server sends the rows as they are made and libpq gives them one
// result each. Whatever ends the read, the rest of the stream is taken off the
// connection, so that it is free for the next statement.
void PostgresDatabase::forEachRow(std::string_view sql, const Params& params,
                                  const std::function<void(const Row&)>& each) {
    const std::string pgSql = toPostgresSql(sql);
    const WireParams wire(params);
    const std::string name = preparedName(pgSql, wire.types, sql);
    const int sent = name.empty() ? PQsendQueryParams(m_conn, pgSql.c_str(), wire.count(), wire.types.data(),
                                                      wire.values.data(), nullptr, nullptr, 0)
                                  : PQsendQueryPrepared(m_conn, name.c_str(), wire.count(), wire.values.data(),
                                                        nullptr, nullptr, 0);
    if (!sent) failed(nullptr, sql);
    struct DrainStream {
        PGconn* conn;
        ~DrainStream() {
            while (PGresult* rest = PQgetResult(conn)) PQclear(rest);
        }
    } drain{m_conn};
    PQsetSingleRowMode(m_conn);

    std::optional<Row> row;
    std::vector<Oid> types;
    while (Result result{PQgetResult(m_conn)}) {
        const auto status = PQresultStatus(result.get());
        if (status == PGRES_TUPLES_OK) continue;  // the end of the rows
        if (status != PGRES_SINGLE_TUPLE) failed(result.get(), sql);
        const int fields = PQnfields(result.get());
        if (!row) {
            std::vector<std::string> names;
            for (int c = 0; c < fields; ++c) {
                names.emplace_back(PQfname(result.get(), c));
                types.push_back(PQftype(result.get(), c));
            }
            row.emplace(std::make_shared<const ColumnNames>(std::move(names)),
                        std::vector<Value>(static_cast<std::size_t>(fields)));
        }
        std::vector<Value>& values = row->valuesToFill();
        for (int c = 0; c < fields; ++c) {
            auto& value = values[static_cast<std::size_t>(c)];
            if (PQgetisnull(result.get(), 0, c))
                value = Value();
            else
                fromWireInto(value, PQgetvalue(result.get(), 0, c), PQgetlength(result.get(), 0, c),
                             types[static_cast<std::size_t>(c)]);
        }
        each(*row);
    }
}

std::int64_t PostgresDatabase::execute(std::string_view sql, const Params& params) {
    Result result = run(toPostgresSql(sql), params, sql);
    const char* changed = PQcmdTuples(result.get());
    return changed && *changed ? std::stoll(changed) : 0;
}

std::int64_t PostgresDatabase::insert(std::string_view sql, const Params& params,
                                      std::string_view idColumn) {
    const std::string pgSql = toPostgresSql(sql) + " RETURNING " + quotedLower(idColumn);
    Result result = run(pgSql, params, sql);
    if (PQntuples(result.get()) != 1) throw DbError("The insert gave no new number", std::string(sql));
    return std::stoll(PQgetvalue(result.get(), 0, 0));
}

void PostgresDatabase::executeScript(std::string_view sql) { runPlain(std::string(sql).c_str()); }

bool PostgresDatabase::tableExists(std::string_view table) {
    return queryOne("SELECT 1 FROM information_schema.tables "
                    "WHERE table_schema = current_schema() AND table_name = lower(?)",
                    {std::string(table)})
        .has_value();
}

void PostgresDatabase::begin(const RetryPolicy& /*retry*/) {
    if (inTransaction()) throw DbError("A transaction is already open");
    runPlain("BEGIN");
}

void PostgresDatabase::commit() { runPlain("COMMIT"); }

void PostgresDatabase::rollback() {
    if (inTransaction()) runPlain("ROLLBACK");
}

bool PostgresDatabase::inTransaction() const {
    return PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

Rows PostgresDatabase::lockRows(std::string_view selectSql, const Params& params,
                                const RetryPolicy& retry) {
    if (!inTransaction())
        throw DbError("A row can only be locked inside a transaction", std::string(selectSql));
    const std::string pgSql = toPostgresSql(selectSql) + " FOR UPDATE NOWAIT";
    for (int attempt = 1;; ++attempt) {
        try {
            return lockOnce(pgSql, params, selectSql);
        } catch (const DbError& e) {
            runPlain("ROLLBACK TO SAVEPOINT keltro_row_lock; RELEASE SAVEPOINT keltro_row_lock");
            if (e.code() != kLockNotAvailable) throw;
            if (attempt >= retry.tries)
                throw LockTimeout("The row stays locked by another workstation",
                                  std::string(selectSql), attempt);
        }
        sleep(retry.wait);
    }
}

// The savepoint, the locking select and the savepoint's release go to the server together
// in one pipeline, one round trip; a refused lock fails the select, the server skips the
// release, and the caller rolls back to the savepoint.
Rows PostgresDatabase::lockOnce(const std::string& pgSql, const Params& params, std::string_view originalSql) {
    const WireParams wire(params);
    const auto& values = wire.values;
    const auto& types = wire.types;
    const std::string name = preparedName(pgSql, types, originalSql);
    const auto plain = [&](const char* sql) {
        return PQsendQueryParams(m_conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
    };
    const int count = static_cast<int>(params.size());
    bool sent = PQenterPipelineMode(m_conn) == 1 && plain("SAVEPOINT keltro_row_lock");
    sent = sent && (name.empty() ? PQsendQueryParams(m_conn, pgSql.c_str(), count, types.data(), values.data(),
                                                     nullptr, nullptr, 0)
                                 : PQsendQueryPrepared(m_conn, name.c_str(), count, values.data(), nullptr,
                                                       nullptr, 0)) == 1;
    sent = sent && plain("RELEASE SAVEPOINT keltro_row_lock") && PQpipelineSync(m_conn) == 1;
    std::optional<Rows> rows;
    std::string failure = sent ? "" : PQerrorMessage(m_conn);
    std::string state;
    // Three statements, each ending with a null result, then the sync.
    for (int statement = 0; sent && statement < 3; ++statement) {
        while (PGresult* raw = PQgetResult(m_conn)) {
            Result result(raw);
            const auto status = PQresultStatus(raw);
            if (statement == 1 && status == PGRES_TUPLES_OK) rows = readRows(raw);
            if (status == PGRES_FATAL_ERROR && failure.empty()) {
                failure = PQresultErrorMessage(raw);
                const char* code = PQresultErrorField(raw, PG_DIAG_SQLSTATE);
                state = code ? code : "";
            }
        }
    }
    if (sent) Result(PQgetResult(m_conn));  // the sync
    PQexitPipelineMode(m_conn);
    if (!failure.empty() || !rows) throw DbError("The statement failed", std::string(originalSql), failure, state);
    return std::move(*rows);
}

}  // namespace keltro::db
