#include "db/Database.h"

#include <thread>

#include "db/PostgresDatabase.h"
#include "db/SqliteDatabase.h"

namespace keltro::db {

std::string_view engineName(Engine engine) {
    return engine == Engine::Sqlite ? "sqlite" : "postgresql";
}

std::string placeholders(std::size_t count) {
    std::string text = "(";
    for (std::size_t i = 0; i < count; ++i) text += i ? ", ?" : "?";
    return text + ")";
}

std::optional<Row> Database::queryOne(std::string_view sql, const Params& params) {
    Rows rows = query(sql, params);
    if (rows.empty()) return std::nullopt;
    return std::move(rows.front());
}

void Database::sleep(std::chrono::milliseconds wait) const {
    if (m_sleeper)
        m_sleeper(wait);
    else
        std::this_thread::sleep_for(wait);
}

std::unique_ptr<Database> openDatabase(std::string_view url) {
    if (url.starts_with("sqlite:")) return std::make_unique<SqliteDatabase>(url.substr(7));
    if (url.starts_with("postgresql://") || url.starts_with("postgres://"))
        return std::make_unique<PostgresDatabase>(url);
    throw DbError("Unknown database URL \"" + std::string(url) +
                  "\" (use sqlite:PATH or postgresql://…)");
}

Transaction::Transaction(Database& db, const RetryPolicy& retry) : m_db(db) { m_db.begin(retry); }

Transaction::~Transaction() {
    if (!m_open) return;
    try {
        m_db.rollback();
    } catch (...) {
        // A destructor never throws; the engine has dropped the transaction already.
    }
}

void Transaction::commit() {
    m_db.commit();
    m_open = false;
}

void Transaction::rollback() {
    m_open = false;
    m_db.rollback();
}

}  // namespace keltro::db
