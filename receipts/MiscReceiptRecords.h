// Miscellaneous receipt records: one `Receipt_misc_header_table` row per receipt (doctype
// 'mrc', key "1mrc-" + a counter) and one `Receipt_misc_transaction_table` row per line,
// each line the G/L account it credits and the amount.
//
// A miscellaneous receipt is written once with its lines and journal, by its own screen
// or by the fast receipt screen (which also fills `bank_accno` and `fast_docno`);
// afterwards only its reference, payer, pay by, cheque and remark change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"

namespace keltro::receipts {

inline constexpr const char* kMiscReceiptDoctype = "mrc";
inline constexpr const char* kMiscReceiptTable = "Receipt_misc_header_table";

struct MiscReceiptHeader {
    std::int64_t id = 0;
    std::string docno;
    std::string fkey;
    std::string receiptNo;
    std::optional<db::Date> receiptDate;
    std::string currency;
    std::optional<double> exchangeRate;  // foreign currency only
    std::optional<db::Date> rateDate;
    std::string payer;
    std::string payby;
    std::string cashAccno;
    std::string bankCode;
    std::string bankAccno;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string remark;
    double receiptAmount = 0;
    std::optional<int> period;
    std::string fyear;
    std::string glFkey;
    std::string fastDocno;
    bool isVoid = false;
    bool printed = false;
    std::string userCreated;
};

struct MiscReceiptLine {
    int lineno = 0;
    std::string accno;
    double amount = 0;
    std::string description;
    std::string reference;
    std::string computerId;
};

// ----- reading ----------------------------------------------------------------------------
std::optional<MiscReceiptHeader> findMiscReceipt(db::Database& db, std::string_view fkey);
std::optional<MiscReceiptHeader> findMiscReceiptByDocno(db::Database& db, std::string_view docno);
// Its lines in line order.
std::vector<MiscReceiptLine> miscReceiptLines(db::Database& db, std::string_view fkey);

// ----- writing (inside the caller's transaction) --------------------------------------
// The header (company 1, doctype 'mrc', not void, not printed); gives its `Id`.
std::int64_t insertMiscReceipt(db::Database& db, const MiscReceiptHeader& header);
// A line with the header's copies (docno, key, currency).
void insertMiscReceiptLine(db::Database& db, const MiscReceiptHeader& header,
                           const MiscReceiptLine& line);
void setMiscReceiptJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey);
// What "&Edit mode" rewrites: reference, payer, pay by, remark, and the cheque when paid
// by cheque.
void updateEditedMiscReceipt(db::Database& db, const MiscReceiptHeader& header);

}  // namespace keltro::receipts
