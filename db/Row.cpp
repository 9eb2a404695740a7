#include "db/Row.h"

#include <algorithm>
#include <cctype>

#include "db/DbError.h"

namespace keltro::db {

namespace {

std::string fold(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

ColumnNames::ColumnNames(std::vector<std::string> names) : m_names(std::move(names)) {
    m_folded.reserve(m_names.size());
    for (const auto& n : m_names) m_folded.push_back(fold(n));
}

int ColumnNames::find(std::string_view name) const {
    const std::string key = fold(name);
    for (std::size_t i = 0; i < m_folded.size(); ++i)
        if (m_folded[i] == key) return static_cast<int>(i);
    // "Table.column" as written in a join finds the bare column.
    if (auto dot = key.rfind('.'); dot != std::string::npos) return find(key.substr(dot + 1));
    return -1;
}

const Value& Row::operator[](std::string_view column) const {
    const int i = m_columns->find(column);
    if (i < 0) throw DbError("No column \"" + std::string(column) + "\" in the result");
    return m_values[static_cast<std::size_t>(i)];
}

}  // namespace keltro::db
