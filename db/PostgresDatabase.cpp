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

// Texts (null for Null) and their types.
struct PostgresDatabase::WireParams {
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
    if (!m_pipeline.empty()) return runLast(name, pgSql, wire, originalSql);
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
    settle();  // a statement is prepared outside the pipeline
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
    settle();
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

void PostgresDatabase::executeScript(std::string_view sql) {
    settle();
    runPlain(std::string(sql).c_str());
}

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

void PostgresDatabase::commit() {
    static const std::string sql = "COMMIT";
    if (m_pipeline.empty())
        runPlain(sql.c_str());
    else
        runLast({}, sql, WireParams({}), sql);
}

// The answers of what was queued are of no more use: the transaction ends either way.
void PostgresDatabase::rollback() {
    if (!m_pipeline.empty()) collect();
    if (inTransaction()) runPlain("ROLLBACK");
}

bool PostgresDatabase::inTransaction() const {
    return PQtransactionStatus(m_conn) != PQTRANS_IDLE;
}

void PostgresDatabase::queue(std::string_view sql, const Params& params) {
    if (!inTransaction()) {
        execute(sql, params);
        return;
    }
    const std::string pgSql = toPostgresSql(sql);
    const WireParams wire(params);
    send(preparedName(pgSql, wire.types, sql), pgSql, wire, sql);
    if (m_pipeline.size() >= kMostQueued) settle();
}

void PostgresDatabase::send(const std::string& name, const std::string& pgSql, const WireParams& wire,
                            std::string_view originalSql) {
    const bool sent =
        (PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF || PQenterPipelineMode(m_conn) == 1) &&
        (name.empty() ? PQsendQueryParams(m_conn, pgSql.c_str(), wire.count(), wire.types.data(),
                                          wire.values.data(), nullptr, nullptr, 0)
                      : PQsendQueryPrepared(m_conn, name.c_str(), wire.count(), wire.values.data(), nullptr,
                                            nullptr, 0)) == 1;
    if (sent) {
        m_pipeline.emplace_back(originalSql);
        return;
    }
    const std::string why = PQerrorMessage(m_conn);
    if (!m_pipeline.empty()) collect();
    if (PQpipelineStatus(m_conn) != PQ_PIPELINE_OFF) PQexitPipelineMode(m_conn);
    throw DbError("The statement failed", std::string(originalSql), why);
}

// Each statement's answer ends with a null result; the sync's answer comes last.
PostgresDatabase::Answers PostgresDatabase::collect() {
    Answers answers;
    answers.texts = std::move(m_pipeline);
    m_pipeline.clear();
    const bool synced = PQpipelineSync(m_conn) == 1;
    for (std::size_t i = 0; i < answers.texts.size(); ++i) {
        Result kept;
        while (synced) {
            Result result(PQgetResult(m_conn));
            if (!result) break;
            if (!kept || PQresultStatus(result.get()) == PGRES_FATAL_ERROR) kept = std::move(result);
        }
        const bool refused = !kept || PQresultStatus(kept.get()) == PGRES_FATAL_ERROR;
        if (refused && !answers.failed) answers.failed = i;
        answers.results.push_back(std::move(kept));
    }
    if (synced) Result(PQgetResult(m_conn));
    PQexitPipelineMode(m_conn);
    return answers;
}

void PostgresDatabase::settle() {
    if (m_pipeline.empty()) return;
    Answers answers = collect();
    if (answers.failed) failed(answers.results[*answers.failed].get(), answers.texts[*answers.failed]);
}

PostgresDatabase::Result PostgresDatabase::runLast(const std::string& name, const std::string& pgSql,
                                                   const WireParams& wire, std::string_view originalSql) {
    send(name, pgSql, wire, originalSql);
    Answers answers = collect();
    if (answers.failed) failed(answers.results[*answers.failed].get(), answers.texts[*answers.failed]);
    return std::move(answers.results.back());
}

Rows PostgresDatabase::lockRows(std::string_view selectSql, const Params& params,
                                const RetryPolicy& retry) {
    return std::move(lockRowsOfEach(selectSql, {params}, retry).front());
}

std::vector<Rows> PostgresDatabase::lockRowsOfEach(std::string_view selectSql, const std::vector<Params>& each,
                                                   const RetryPolicy& retry) {
    if (!inTransaction())
        throw DbError("A row can only be locked inside a transaction", std::string(selectSql));
    if (each.empty()) return {};
    const std::string pgSql = toPostgresSql(selectSql) + " FOR UPDATE NOWAIT";
    for (int attempt = 1;; ++attempt) {
        const Answers answers = lockOnce(pgSql, each, selectSql);
        if (!answers.failed) {
            std::vector<Rows> rows;
            for (std::size_t i = 1; i <= each.size(); ++i) rows.push_back(readRows(answers.results[i].get()));
            return rows;
        }
        const PGresult* refusal = answers.results[*answers.failed].get();
        if (*answers.failed == 0) failed(refusal, answers.texts[0]);  // no savepoint was made
        runPlain("ROLLBACK TO SAVEPOINT keltro_row_lock; RELEASE SAVEPOINT keltro_row_lock");
        const char* code = refusal ? PQresultErrorField(refusal, PG_DIAG_SQLSTATE) : nullptr;
        if (!code || std::string_view(code) != kLockNotAvailable) failed(refusal, selectSql);
        if (attempt >= retry.tries)
            throw LockTimeout("The row stays locked by another workstation", std::string(selectSql), attempt);
        sleep(retry.wait);
    }
}

// The savepoint, the locking selects and the savepoint's release go to the server together
// in one pipeline, after the writes queued before them, one round trip; a refused lock
// fails its select, the server skips the rest, and the caller rolls back to the
// savepoint, which frees the rows the others locked.
PostgresDatabase::Answers PostgresDatabase::lockOnce(const std::string& pgSql, const std::vector<Params>& each,
                                                     std::string_view originalSql) {
    std::vector<WireParams> wires;
    std::vector<std::string> names;
    for (const auto& params : each) {
        wires.emplace_back(params);
        names.push_back(preparedName(pgSql, wires.back().types, originalSql));  // may settle the pipeline
    }
    const WireParams none({});
    static const std::string savepoint = "SAVEPOINT keltro_row_lock";
    static const std::string release = "RELEASE SAVEPOINT keltro_row_lock";
    const std::size_t queuedBefore = m_pipeline.size();
    send({}, savepoint, none, savepoint);
    for (std::size_t i = 0; i < wires.size(); ++i) send(names[i], pgSql, wires[i], originalSql);
    send({}, release, none, release);
    Answers answers = collect();
    if (answers.failed && *answers.failed < queuedBefore)
        failed(answers.results[*answers.failed].get(), answers.texts[*answers.failed]);
    const auto ours = static_cast<std::ptrdiff_t>(queuedBefore);
    answers.results.erase(answers.results.begin(), answers.results.begin() + ours);
    answers.texts.erase(answers.texts.begin(), answers.texts.begin() + ours);
    if (answers.failed) *answers.failed -= queuedBefore;
    return answers;
}

}  // namespace keltro::db
