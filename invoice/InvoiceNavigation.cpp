#include "invoice/InvoiceNavigation.h"

#include <algorithm>
#include <cctype>

#include "services/Numbering.h"

namespace keltro::invoice {

namespace {

// The first record `load` finds from key number `from` on, moving by `step`, within
// 1 .. counter − 1.
template <class Load>
auto firstFrom(db::Database& db, const std::string& doctype, std::int64_t from, int step,
               Load load) -> decltype(load(std::string())) {
    const std::int64_t counter = keyCounter(db, doctype);
    for (std::int64_t n = from; n >= 1 && n < counter; n += step)
        if (auto found = load(services::DocumentKey(store::kCompany, doctype, n))) return found;
    return std::nullopt;
}

auto documentLoader(db::Database& db) {
    return [&db](const std::string& fkey) { return store::loadDocument(db, fkey); };
}

auto recurringLoader(db::Database& db) {
    return [&db](const std::string& fkey) { return store::loadRecurring(db, fkey); };
}

const std::string kRecurring(store::doctype::kRecurring);

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
    return firstFrom(db, doctype, keyCounter(db, doctype) - 1, -1, documentLoader(db));
}

std::optional<store::ArDocument> steppedDocument(db::Database& db, const std::string& doctype,
                                                 const std::string& fkey, int step) {
    const auto number = keyNumberOf(fkey);
    if (!number) return std::nullopt;
    return firstFrom(db, doctype, *number + step, step, documentLoader(db));
}

std::optional<store::RecurringDefinition> lastRecurring(db::Database& db) {
    return firstFrom(db, kRecurring, keyCounter(db, kRecurring) - 1, -1, recurringLoader(db));
}

std::optional<store::RecurringDefinition> steppedRecurring(db::Database& db,
                                                           const std::string& fkey, int step) {
    const auto number = keyNumberOf(fkey);
    if (!number) return std::nullopt;
    return firstFrom(db, kRecurring, *number + step, step, recurringLoader(db));
}

}  // namespace keltro::invoice
