#include "store/ColumnValues.h"

#include <deque>

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

namespace {

// A record of one kind is written with the same columns every time, so each statement
// text is made once per thread and found again by its table, clause and columns. The
// column lists are the store's own, so there are only as many texts as kinds of record.
struct MadeStatement {
    std::string table;
    std::string where;  // "" for an INSERT
    std::vector<std::string> columns;
    std::string sql;
};

bool sameColumns(const std::vector<std::string>& made, const std::vector<std::string_view>& asked) {
    if (made.size() != asked.size()) return false;
    for (std::size_t i = 0; i < made.size(); ++i)
        if (made[i] != asked[i]) return false;
    return true;
}

template <typename Make>
const std::string& madeOnce(std::string_view table, std::string_view where,
                            const std::vector<std::string_view>& columns, Make make) {
    thread_local std::deque<MadeStatement> made;  // texts handed out stay where they are
    for (const auto& statement : made)
        if (statement.table == table && statement.where == where && sameColumns(statement.columns, columns))
            return statement.sql;
    return made.push_back({std::string(table), std::string(where), {columns.begin(), columns.end()}, make()}),
           made.back().sql;
}

}  // namespace

const std::string& ColumnValues::insertSql(std::string_view table) const {
    return madeOnce(table, "", m_columns, [&] { return makeInsertSql(table); });
}

const std::string& ColumnValues::updateSql(std::string_view table, std::string_view where) const {
    return madeOnce(table, where, m_columns, [&] { return makeUpdateSql(table, where); });
}

std::string ColumnValues::makeInsertSql(std::string_view table) const {
    std::string sql;
    sql.reserve(32 + table.size() + m_columns.size() * 24);
    sql.append("INSERT INTO [").append(table).append("] (");
    for (std::size_t i = 0; i < m_columns.size(); ++i)
        sql.append(i ? ", [" : "[").append(m_columns[i]).append("]");
    sql.append(") VALUES (");
    for (std::size_t i = 0; i < m_columns.size(); ++i) sql.append(i ? ", ?" : "?");
    return sql.append(")");
}

std::string ColumnValues::makeUpdateSql(std::string_view table, std::string_view where) const {
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
