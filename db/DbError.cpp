#include "db/DbError.h"

namespace keltro::db {

namespace {

std::string describe(const std::string& what, const std::string& sql,
                     const std::string& engineMessage) {
    std::string text = what;
    if (!engineMessage.empty()) text += ": " + engineMessage;
    if (!sql.empty()) text += "\nSQL: " + sql;
    return text;
}

}  // namespace

DbError::DbError(std::string what, std::string sql, std::string engineMessage, std::string code)
    : std::runtime_error(describe(what, sql, engineMessage)),
      m_sql(std::move(sql)),
      m_engineMessage(std::move(engineMessage)),
      m_code(std::move(code)) {}

}  // namespace keltro::db
