// The one error type of the data-access layer.
//
// It carries what failed (the SQL text, or the operation), the engine's own message and
// its code (SQLite's result code, or PostgreSQL's SQLSTATE), so that a failed save can be
// reported and logged with everything needed to find the cause. `LockTimeout` is the
// refusal of a row lock after the bounded retries: the row stayed locked by another
// workstation.
#pragma once

#include <stdexcept>
#include <string>

namespace keltro::db {

class DbError : public std::runtime_error {
public:
    DbError(std::string what, std::string sql = {}, std::string engineMessage = {},
            std::string code = {});

    const std::string& sql() const { return m_sql; }
    const std::string& engineMessage() const { return m_engineMessage; }
    const std::string& code() const { return m_code; }

private:
    std::string m_sql;
    std::string m_engineMessage;
    std::string m_code;
};

class LockTimeout : public DbError {
public:
    LockTimeout(std::string what, std::string sql, int tries)
        : DbError(std::move(what), std::move(sql)), m_tries(tries) {}
    int tries() const { return m_tries; }

private:
    int m_tries;
};

}  // namespace keltro::db
