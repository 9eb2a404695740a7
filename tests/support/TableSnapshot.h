// Every row of some tables as text ("table|value|value…", Null as "null"), sorted: what a
// save that failed part way must leave exactly as it found it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::test {

inline std::vector<std::string> tableRows(db::Database& db,
                                          const std::vector<std::string>& tables) {
    std::vector<std::string> rows;
    for (const auto& table : tables)
        for (const auto& row : db.query("SELECT * FROM " + table)) {
            std::string text = table;
            for (const auto& value : row.values()) text += "|" + value.textOr("null");
            rows.push_back(std::move(text));
        }
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace keltro::test
