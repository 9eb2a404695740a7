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

std::string ColumnValues::insertSql(std::string_view table) const {
    std::string names;
    std::string marks;
    for (const auto& column : m_columns) {
        if (!names.empty()) {
            names += ", ";
            marks += ", ";
        }
        names += "[" + column + "]";
        marks += "?";
    }
    return "INSERT INTO [" + std::string(table) + "] (" + names + ") VALUES (" + marks + ")";
}

std::string ColumnValues::updateSql(std::string_view table, std::string_view where) const {
    std::string assignments;
    for (const auto& column : m_columns) {
        if (!assignments.empty()) assignments += ", ";
        assignments += "[" + column + "] = ?";
    }
    return "UPDATE [" + std::string(table) + "] SET " + assignments + " WHERE " +
           std::string(where);
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
