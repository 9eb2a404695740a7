// Receipt records: one `Receipt_header_table` row per receipt and one
// `Receipt_transaction_table` row per pay item it applied, tied by the receipt's key
// (`fkey`, "1rc-" + a counter); and the open items a receipt is applied to.
//
// A receipt is stored once, with its lines, and afterwards only a few of its header
// fields change (reference, payer, pay by, cheque, remark); voiding marks it and its lines
// void. A receipt that the fast receipt screen generated is stored header-only with
// `new_from_fast` TRUE until the receipt screen completes it.
//
// Open items are read signed, as stored: a credit note's lines and an unapplied-cash
// document are negative, so that what a receipt applies nets without case analysis.
//
//     auto items = openItems(db, "1002", std::nullopt);   // every unpaid, not void line
//     auto header = findReceiptByDocno(db, "RC-26-00001");
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "receipts/ReceiptApplication.h"
#include "store/PayItemLine.h"

namespace keltro::receipts {

inline constexpr const char* kReceiptDoctype = "rc";
inline constexpr const char* kReceiptForm = "A/R Receipt Entry";
inline constexpr const char* kReceiptSource = "AR-RECEIPT";

struct ReceiptHeader {
    std::int64_t id = 0;  // `id`, given by the database
    std::string doctype = kReceiptDoctype;  // 'rc', or 'rpp' for a prepayment
    std::string docno;
    std::string fkey;
    std::string receiptNo;  // the person's own reference
    std::optional<db::Date> receiptDate;
    std::string customerNo;
    std::string payer;
    std::string payby;  // "Cash", "Check", "Pay Later" or a card name
    std::string cashAccno;
    std::string bankCode;
    std::string checkNo;
    std::optional<db::Date> checkDate;
    std::string remark;
    double receiptAmount = 0;  // receipt currency
    std::string currency;
    std::optional<double> exchangeRate;  // foreign currency only
    std::optional<db::Date> rateDate;
    double receiptBaseAmount = 0;
    double totalAmount = 0;
    std::string totalCurrency;
    double totalBaseAmount = 0;
    std::optional<int> period;
    std::string fyear;
    std::string sourceForm;
    store::CreationStamp created;
    std::string glFkey;
    std::string unappliedDocno;
    std::optional<double> unappliedAmount;
    bool isVoid = false;
    std::optional<db::Date> voidDate;
    bool newFromFast = false;
    std::string fastApplyInvoiceNo;
    std::string fastDocno;
    bool printed = false;
    // Kept by prepayments only.
    std::string orderNo;
    std::string customerPo;
    std::string prepaymentLiabilityAccno;
    std::string prepaymentInvoiceNo;  // the invoice that consumed the prepayment
    std::string bankAccno;
};

// One applied pay item.
struct ReceiptLine {
    std::string invoiceNo;
    std::string payItem;
    std::optional<db::Date> invoiceDate;
    double grossAmount = 0;
    double openAmount = 0;  // before this receipt
    double discountAvailable = 0;
    double applied = 0;
    double appliedBase = 0;
    double discountTaken = 0;
    std::string discountAccno;
    double writeoff = 0;
    std::string writeoffAccno;
    double invoiceBalance = 0;  // open − applied − discount − write-off
    std::string currency;
    std::optional<double> invoiceRate;  // foreign currency only
    std::optional<double> receiptRate;
    std::string computerId;
    std::string remark;
    bool isVoid = false;
    std::string receiptNo;  // the header's reference, copied
    std::string docno;      // the receipt's number, copied
};

// ----- reading ----------------------------------------------------------------------------

std::optional<ReceiptHeader> findReceipt(db::Database& db, std::string_view fkey);
// A receipt (doctype 'rc', or the one given) of company 1 by its number.
std::optional<ReceiptHeader> findReceiptByDocno(db::Database& db, std::string_view docno,
                                                std::string_view doctype = kReceiptDoctype);
// Its lines "ORDER BY invoice_no, pay_item".
std::vector<ReceiptLine> receiptLines(db::Database& db, std::string_view fkey);
// A line of another receipt, not void, that applied the document `docno`.
std::optional<ReceiptLine> lineApplying(db::Database& db, std::string_view docno);

// The customer's unpaid, not void lines in `id` order; with `currency`, of that one only.
std::vector<OpenItem> openItems(db::Database& db, std::string_view customerNo,
                                const std::optional<std::string>& currency);

// ----- writing (inside the caller's transaction) --------------------------------------

// Inserts the header (company 1, the header's doctype); queued, its `id` is not read back.
void insertReceiptHeader(db::Database& db, const ReceiptHeader& header);
// What completing a fast receipt rewrites of its header.
void updateCompletedHeader(db::Database& db, const ReceiptHeader& header);
// What "&Edit mode" rewrites: reference, payer, pay by, remark, and the cheque when paid
// by cheque.
void updateEditedHeader(db::Database& db, const ReceiptHeader& header);
void setReceiptJournalKey(db::Database& db, std::string_view fkey, std::string_view glFkey);
void setUnappliedDocument(db::Database& db, std::string_view fkey, std::string_view docno,
                          double amount);
// Inserts a line with the header's copies.
void insertReceiptLine(db::Database& db, const ReceiptHeader& header, const ReceiptLine& line);
// Marks the receipt and its lines void on `today`.
void markReceiptVoid(db::Database& db, std::string_view fkey, const db::Date& today);

}  // namespace keltro::receipts
