#include "receipts/ReceiptNavigation.h"

#include "receipts/ReceiptRecords.h"
#include "store/DocumentWalk.h"

namespace keltro::receipts {

namespace {

constexpr const char* kHeaderTable = "Receipt_header_table";

}  // namespace

std::optional<std::string> lastReceiptKey(db::Database& db) {
    return store::lastDocumentKey(db, kHeaderTable, kReceiptDoctype);
}

std::optional<std::string> neighbourReceiptKey(db::Database& db, std::int64_t id, int step) {
    return store::neighbourDocumentKey(db, kHeaderTable, kReceiptDoctype, id, step);
}

}  // namespace keltro::receipts
