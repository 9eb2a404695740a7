#include "receipts/ReceiptNavigation.h"

#include "receipts/ReceiptRecords.h"
#include "store/DocumentWalk.h"

namespace keltro::receipts {

namespace {

constexpr const char* kHeaderTable = "Receipt_header_table";

}  // namespace

std::optional<std::string> lastReceiptKey(db::Database& db, std::string_view doctype) {
    return store::lastDocumentKey(db, kHeaderTable, doctype);
}

std::optional<std::string> neighbourReceiptKey(db::Database& db, std::int64_t id, int step,
                                               std::string_view doctype) {
    return store::neighbourDocumentKey(db, kHeaderTable, doctype, id, step);
}

}  // namespace keltro::receipts
