#include "receipts/ReceiptNavigation.h"

#include "receipts/ReceiptRecords.h"

namespace keltro::receipts {

namespace {

std::optional<std::string> keyOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return (*row)["fkey"].textOr();
}

}  // namespace

std::optional<std::string> lastReceiptKey(db::Database& db, std::string_view doctype) {
    return keyOf(
        db.queryOne("SELECT id, fkey FROM Receipt_header_table WHERE company = 1 "
                    "AND doctype = ? ORDER BY id DESC LIMIT 1",
                    {doctype}));
}

std::optional<std::string> neighbourReceiptKey(db::Database& db, std::int64_t id, int step,
                                               std::string_view doctype) {
    return keyOf(step > 0 ? db.queryOne("SELECT id, fkey FROM Receipt_header_table WHERE "
                                        "company = 1 AND doctype = ? AND id > ? "
                                        "ORDER BY id LIMIT 1",
                                        {doctype, id})
                          : db.queryOne("SELECT id, fkey FROM Receipt_header_table WHERE "
                                        "company = 1 AND doctype = ? AND id < ? "
                                        "ORDER BY id DESC LIMIT 1",
                                        {doctype, id}));
}

}  // namespace keltro::receipts
