// One row of a query result, with its columns found by name without regard to case.
//
// PostgreSQL folds unquoted names to lower case and SQLite keeps them as declared, so
// `row["Currency"]`, `row["currency"]` and `row["CURRENCY"]` all read the same column on
// both engines. Asking for a column the query did not select is a programming error and
// throws `DbError`, naming the column.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Value.h"

namespace keltro::db {

class ColumnNames {
public:
    explicit ColumnNames(std::vector<std::string> names);
    const std::vector<std::string>& names() const { return m_names; }
    // Position of the column, or -1.
    int find(std::string_view name) const;

private:
    // Hashes and compares names without regard to case, so that a name is found without
    // making a folded copy of it.
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    std::vector<std::string> m_names;
    // Each name's first position (a join may select two columns of one name).
    std::unordered_map<std::string, int, FoldedHash, FoldedEqual> m_positions;
    // Whether a position holds the first column of its name.
    std::vector<bool> m_first;
    // Records read their columns mostly in order: the position after the last one found
    // is tried before the names are hashed.
    mutable std::atomic<int> m_next{0};
};

class Row {
public:
    Row(std::shared_ptr<const ColumnNames> columns, std::vector<Value> values)
        : m_columns(std::move(columns)), m_values(std::move(values)) {}

    const Value& operator[](std::string_view column) const;
    const Value& at(std::size_t index) const { return m_values.at(index); }
    bool has(std::string_view column) const { return m_columns->find(column) >= 0; }
    std::size_t size() const { return m_values.size(); }
    const std::vector<std::string>& columnNames() const { return m_columns->names(); }
    const std::vector<Value>& values() const { return m_values; }
    const std::shared_ptr<const ColumnNames>& columns() const { return m_columns; }
    // For an engine streaming a result: the values it overwrites row after row.
    std::vector<Value>& valuesToFill() { return m_values; }

private:
    std::shared_ptr<const ColumnNames> m_columns;
    std::vector<Value> m_values;
};

// The positions of a fixed list of columns in the rows of a result, found once for the
// result (and kept while the statement's rows keep their columns) rather than per row.
//
//     ColumnPositions amounts({"amount", "base_amount"});
//     for (const auto& row : rows) total += row.at(amounts.in(row)[0]).numberOr(0);
class ColumnPositions {
public:
    explicit ColumnPositions(std::vector<std::string> names) : m_names(std::move(names)) {}
    // The position of each column in `row`; throws DbError for a column the row lacks.
    const std::vector<std::size_t>& in(const Row& row);

private:
    std::vector<std::string> m_names;
    std::shared_ptr<const ColumnNames> m_of;
    std::vector<std::size_t> m_positions;
};

using Rows = std::vector<Row>;

}  // namespace keltro::db
