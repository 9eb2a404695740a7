// Walking the documents of one kind on the invoice screen.
//
// Documents of a kind are walked by the running number of their key: "1ar-7" is invoice
// key 7. The kind's counter (`Next_number_fkey_table.fkeyno`) is the next number to hand
// out, so the keys in use lie between 1 and counter − 1; numbers of saves that rolled
// back, and documents of another company, leave holes that the walk steps over:
//
//     lastDocument(db, "ar")              the highest key below the counter with a header
//     steppedDocument(db, "ar", "1ar-7", +1)   the next one above 7, or nothing at the end
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/Database.h"
#include "store/ArDocument.h"
#include "store/RecurringDefinition.h"

namespace keltro::invoice {

// The number after the dash of a key ("1ar-12" gives 12); nothing for another text.
std::optional<std::int64_t> keyNumberOf(const std::string& fkey);

// The kind's counter: the next key number to hand out (1 when it has none).
std::int64_t keyCounter(db::Database& db, const std::string& doctype);

std::optional<store::ArDocument> lastDocument(db::Database& db, const std::string& doctype);

// The nearest document above (`step` +1) or below (−1) the key `fkey` within 1 ..
// counter − 1; nothing when there is none.
std::optional<store::ArDocument> steppedDocument(db::Database& db, const std::string& doctype,
                                                 const std::string& fkey, int step);

// The same walk over recurring definitions (document type "cur").
std::optional<store::RecurringDefinition> lastRecurring(db::Database& db);
std::optional<store::RecurringDefinition> steppedRecurring(db::Database& db,
                                                           const std::string& fkey, int step);

}  // namespace keltro::invoice
