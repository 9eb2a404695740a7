// Fast receipt batches: one `AR_Fast_Receipt_header_table` row per batch (doctype 'fr',
// key "1fr-" + a counter) and one `AR_Fast_Receipt_transaction_table` row per line, each
// line a payment and what it is for:
//
//     1 "Receipt"                 money for an invoice, applied later on the receipt screen
//     2 "Unapplied cash"          money kept on the customer's account
//     3 "Prepayment"              money paid before any invoice
//     4 "Miscellaneous receipt"   money that settles no A/R document, credited to an account
//
// paid by 1 "Cash" or 2 "Check". Every stored line carries the key of its journal
// (`GLFKEY`); once the batch's documents are generated each line also names the document
// made from it (`real_docno`, `real_doctype`) and the batch is `complete`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"

namespace keltro::receipts {

inline constexpr const char* kFastReceiptDoctype = "fr";
inline constexpr const char* kFastReceiptTable = "AR_Fast_Receipt_header_table";
inline constexpr const char* kFastReceiptForm = "Fast Receipt Entry";

enum class FastLineType { Receipt = 1, UnappliedCash = 2, Prepayment = 3, Miscellaneous = 4 };
enum class ReceivedBy { Cash = 1, Check = 2 };

// "Receipt", "Unapplied cash", "Prepayment", "Miscellaneous receipt"; "Cash", "Check".
const std::vector<std::string>& fastLineTypeLabels();
const std::vector<std::string>& receivedByLabels();
std::optional<FastLineType> fastLineTypeOfLabel(const std::string& label);
std::optional<ReceivedBy> receivedByOfLabel(const std::string& label);
std::string labelOf(FastLineType type);
std::string labelOf(ReceivedBy by);

struct FastReceiptHeader {
    std::int64_t id = 0;
    std::string docno;
    std::string fkey;
    std::string bankCode;
    std::optional<db::Date> receiptDate;
    std::string currency;
    std::optional<double> exchangeRate;  // foreign currency only
    std::optional<db::Date> rateDate;
    double receiptAmount = 0;
    double receiptBaseAmount = 0;
    std::string remark;
    std::optional<int> period;
    std::string fyear;
    bool complete = false;
    bool isVoid = false;
    bool printed = false;
};

struct FastReceiptLine {
    int lineno = 0;
    FastLineType type = FastLineType::Receipt;
    ReceivedBy by = ReceivedBy::Cash;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string customerNo;
    std::string payer;
    double amount = 0;
    std::string invoiceNo;
    std::string receiptNo;
    std::string orderNo;
    std::string customerPo;
    std::string accno;
    std::string description;
    std::optional<int> period;
    std::string fyear;
    std::string computerId;
    std::string glFkey;
    std::string realDocno;
    std::string realDoctype;
};

// ----- reading ----------------------------------------------------------------------------
std::optional<FastReceiptHeader> findFastReceipt(db::Database& db, std::string_view fkey);
std::optional<FastReceiptHeader> findFastReceiptByDocno(db::Database& db, std::string_view docno);
// Its lines by line number.
std::vector<FastReceiptLine> fastReceiptLines(db::Database& db, std::string_view fkey);

// ----- writing (inside the caller's transaction) --------------------------------------
// A new batch (company 1, doctype 'fr', not complete, void or printed); gives its `Id`.
std::int64_t insertFastReceipt(db::Database& db, const FastReceiptHeader& header);
// What editing a batch rewrites: bank, remark, rate, amounts, period and year.
void updateFastReceipt(db::Database& db, const FastReceiptHeader& header);
void insertFastReceiptLine(db::Database& db, const FastReceiptHeader& header,
                           const FastReceiptLine& line);
// Rewrites the stored line with the same line number.
void updateFastReceiptLine(db::Database& db, const FastReceiptHeader& header,
                           const FastReceiptLine& line);
void deleteFastReceiptLine(db::Database& db, std::string_view fkey, int lineno);
void setFastLineJournalKey(db::Database& db, std::string_view fkey, int lineno,
                           std::string_view glFkey);
void setFastLineDocument(db::Database& db, std::string_view fkey, int lineno,
                         std::string_view docno, std::string_view doctype);
void markFastReceiptComplete(db::Database& db, std::string_view fkey);
void markFastReceiptVoid(db::Database& db, std::string_view fkey);

}  // namespace keltro::receipts
