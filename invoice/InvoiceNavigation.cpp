#include "invoice/InvoiceNavigation.h"

#include <algorithm>
#include <cctype>

#include "services/Numbering.h"

namespace keltro::invoice {

namespace {

// The first document from key number `from` on, moving by `step`, within 1 .. counter − 1.
std::optional<store::ArDocument> firstFrom(db::Database& db, const std::string& doctype,
                                           std::int64_t from, int step) {
    const std::int64_t counter = keyCounter(db, doctype);
    for (std::int64_t n = from; n >= 1 && n < counter; n += step) {
        const std::string fkey = services::DocumentKey(store::kCompany, doctype, n);
        if (auto document = store::loadDocument(db, fkey)) return document;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> keyNumberOf(const std::string& fkey) {
    const auto dash = fkey.rfind('-');
    if (dash == std::string::npos || dash + 1 == fkey.size()) return std::nullopt;
    const std::string digits = fkey.substr(dash + 1);
    if (digits.size() > 18 || !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    return std::stoll(digits);
}

std::int64_t keyCounter(db::Database& db, const std::string& doctype) {
    const auto row = db.queryOne(
        "SELECT * FROM [Next_number_fkey_table] WHERE company = 1 AND doctype = ?", {doctype});
    return row ? (*row)["fkeyno"].integerOr(1) : 1;
}

std::optional<store::ArDocument> lastDocument(db::Database& db, const std::string& doctype) {
    return firstFrom(db, doctype, keyCounter(db, doctype) - 1, -1);
}

std::optional<store::ArDocument> steppedDocument(db::Database& db, const std::string& doctype,
                                                 const std::string& fkey, int step) {
    const auto number = keyNumberOf(fkey);
    if (!number) return std::nullopt;
    return firstFrom(db, doctype, *number + step, step);
}

}  // namespace keltro::invoice
