#include "store/ColumnValues.h"

namespace keltro::store {

ColumnValues& ColumnValues::add(std::string_view column, db::Value value) {
    m_columns.emplace_back(column);
    m_values.push_back(std::move(value));
    return *this;
}

ColumnValues& ColumnValues::addText(std::string_view column, const std::string& text) {
    return add(column, text.empty() ? db::Value() : db::Value(text));
}

ColumnValues& ColumnValues::append(const ColumnValues& other) {
    m_columns.insert(m_columns.end(), other.m_columns.begin(), other.m_columns.end());
    m_values.insert(m_values.end(), other.m_values.begin(), other.m_values.end());
    return *this;
}

// Both statements are made for every record written; they are built in one buffer.
std::string ColumnValues::insertSql(std::string_view table) const {
    std::string sql;
    sql.reserve(32 + table.size() + m_columns.size() * 24);
    sql.append("INSERT INTO [").append(table).append("] (");
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        sql.append(i ? ", [" : "[").append(m_columns[i]).append("]");
    sql.append(") VALUES (");
    for (std::size_t i = 0; i < m_columns.size(); ++i) sql.append(i ? ", ?" : "?");
    return sql.append(")");
}

std::string ColumnValues::updateSql(std::string_view table, std::string_view where) const {
    std::string sql;
    sql.reserve(32 + table.size() + where.size() + m_columns.size() * 24);
    sql.append("UPDATE [").append(table).append("] SET ");
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        sql.append(i ? ", [" : "[").append(m_columns[i]).append("] = ?");
    return sql.append(" WHERE ").append(where);
}

db::Params ColumnValues::paramsWith(const db::Params& extra) const {
    db::Params all = m_values;
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
}

std::optional<int> optionalInt(const db::Value& value) {
    if (auto i = value.integer()) return static_cast<int>(*i);
    return std::nullopt;
}

}  // namespace keltro::store
