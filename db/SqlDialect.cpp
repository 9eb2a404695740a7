#include "db/SqlDialect.h"

#include <cctype>

namespace keltro::db {

namespace {

// Copies a quoted run starting at `i` (a ' or " character), doubled quotes included.
std::size_t copyQuoted(std::string_view sql, std::size_t i, std::string& out) {
    const char quote = sql[i];
    out += sql[i++];
    while (i < sql.size()) {
        out += sql[i];
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                out += sql[++i];
            } else {
                return i + 1;
            }
        }
        ++i;
    }
    return i;
}

}  // namespace

std::string toPostgresSql(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    int parameter = 0;
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            i = copyQuoted(sql, i, out);
        } else if (c == '?') {
            out += '$' + std::to_string(++parameter);
            ++i;
        } else if (c == '[') {
            const std::size_t end = sql.find(']', i);
            if (end == std::string_view::npos) {
                out.append(sql.substr(i));
                break;
            }
            out += '"';
            for (std::size_t k = i + 1; k < end; ++k)
                out += static_cast<char>(std::tolower(static_cast<unsigned char>(sql[k])));
            out += '"';
            i = end + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace keltro::db
