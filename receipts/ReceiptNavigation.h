// Walking the stored receipts: in the order they were added (their `id`), one doctype at
// a time (receipts 'rc' by default; prepayments 'rpp' share the table and are walked on
// their own screen).
//
// "&Last record" goes to the highest id; "&Next record" and "&Previous record" to the
// nearest id above or below the shown one, and nowhere at either end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "db/Database.h"
#include "receipts/ReceiptRecords.h"

namespace keltro::receipts {

// The key of the last receipt; nothing when there is none.
std::optional<std::string> lastReceiptKey(db::Database& db,
                                          std::string_view doctype = kReceiptDoctype);

// The key of the receipt after (`step` +1) or before (-1) the one with `id`.
std::optional<std::string> neighbourReceiptKey(db::Database& db, std::int64_t id, int step,
                                               std::string_view doctype = kReceiptDoctype);

}  // namespace keltro::receipts
