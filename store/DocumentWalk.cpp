#include "store/DocumentWalk.h"

namespace keltro::store {

namespace {

std::optional<std::string> keyOf(const std::optional<db::Row>& row) {
    if (!row) return std::nullopt;
    return (*row)["fkey"].textOr();
}

}  // namespace

std::optional<std::string> lastDocumentKey(db::Database& db, std::string_view table,
                                           std::string_view doctype) {
    return keyOf(db.queryOne("SELECT id, fkey FROM " + std::string(table) +
                                 " WHERE company = 1 AND doctype = ? ORDER BY id DESC LIMIT 1",
                             {doctype}));
}

std::optional<std::string> neighbourDocumentKey(db::Database& db, std::string_view table,
                                                std::string_view doctype, std::int64_t id,
                                                int step) {
    const std::string select =
        "SELECT id, fkey FROM " + std::string(table) + " WHERE company = 1 AND doctype = ? ";
    return keyOf(step > 0 ? db.queryOne(select + "AND id > ? ORDER BY id LIMIT 1", {doctype, id})
                          : db.queryOne(select + "AND id < ? ORDER BY id DESC LIMIT 1",
                                        {doctype, id}));
}

}  // namespace keltro::store
