#include "db/Row.h"

#include "db/DbError.h"

namespace keltro::db {

namespace {

// Column names are ASCII; folding them never depends on the locale.
char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool foldedEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// Names are mostly asked for as the query spelt them; the byte compare settles those.
bool sameName(std::string_view stored, std::string_view asked) {
    return stored == asked || foldedEqual(stored, asked);
}

}  // namespace

std::size_t ColumnNames::FoldedHash::operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;  // FNV-1a over the folded bytes
    for (char c : name) {
        hash ^= static_cast<unsigned char>(asciiLower(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

bool ColumnNames::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    return foldedEqual(a, b);
}

ColumnNames::ColumnNames(std::vector<std::string> names) : m_names(std::move(names)) {
    m_positions.reserve(m_names.size());
    m_first.reserve(m_names.size());
    for (std::size_t i = 0; i < m_names.size(); ++i)
        m_first.push_back(m_positions.emplace(m_names[i], static_cast<int>(i)).second);
}

int ColumnNames::find(std::string_view name) const {
    const int next = m_next.load(std::memory_order_relaxed);
    if (next < static_cast<int>(m_names.size()) && m_first[static_cast<std::size_t>(next)] &&
        sameName(m_names[static_cast<std::size_t>(next)], name)) {
        m_next.store(next + 1, std::memory_order_relaxed);
        return next;
    }
    if (const auto found = m_positions.find(name); found != m_positions.end()) {
        m_next.store(found->second + 1, std::memory_order_relaxed);
        return found->second;
    }
    // "Table.column" as written in a join finds the bare column.
    if (auto dot = name.rfind('.'); dot != std::string_view::npos) return find(name.substr(dot + 1));
    return -1;
}

namespace {

std::size_t positionOf(const ColumnNames& columns, std::string_view column) {
    const int i = columns.find(column);
    if (i < 0) throw DbError("No column \"" + std::string(column) + "\" in the result");
    return static_cast<std::size_t>(i);
}

}  // namespace

const Value& Row::operator[](std::string_view column) const {
    return m_values[positionOf(*m_columns, column)];
}

const std::vector<std::size_t>& ColumnPositions::in(const Row& row) {
    if (row.columns() == m_of) return m_positions;
    std::vector<std::size_t> positions;
    positions.reserve(m_names.size());
    for (const auto& name : m_names) positions.push_back(positionOf(*row.columns(), name));
    m_positions = std::move(positions);
    m_of = row.columns();
    return m_positions;
}

}  // namespace keltro::db
