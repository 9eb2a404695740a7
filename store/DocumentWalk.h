// Walking the stored documents of one kind in the order they were added (their `id`):
// "&Last record" goes to the highest id, "&Next record" and "&Previous record" to the
// nearest id above or below the one shown, and nowhere at either end.
//
//     lastDocumentKey(db, "Receipt_header_table", "rc");            // "1rc-12"
//     neighbourDocumentKey(db, "Receipt_header_table", "rc", 7, -1); // the one before id 7
//
// `table` is one of the store's own table names, never text a person typed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/Database.h"

namespace keltro::store {

// The key of the last document of `doctype` (company 1); nothing when there is none.
std::optional<std::string> lastDocumentKey(db::Database& db, std::string_view table,
                                           std::string_view doctype);

// The key of the document after (`step` +1) or before (-1) the one with `id`.
std::optional<std::string> neighbourDocumentKey(db::Database& db, std::string_view table,
                                                std::string_view doctype, std::int64_t id,
                                                int step);

}  // namespace keltro::store
