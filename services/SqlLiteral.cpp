#include "services/SqlLiteral.h"

namespace keltro::services {

std::string sqlLiteral(std::string_view text) {
    std::string literal;
    literal.reserve(text.size() + 2);
    literal += '\'';
    for (char c : text) {
        literal += c;
        if (c == '\'') literal += '\'';
    }
    literal += '\'';
    return literal;
}

}  // namespace keltro::services
