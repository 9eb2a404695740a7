#include "receipts/ReceiptPrint.h"

#include "services/SqlLiteral.h"

namespace keltro::receipts {

namespace {

using services::sqlLiteral;

constexpr const char* kHeaderColumns[] = {"receipt_no",
                                          "payer",
                                          "payby",
                                          "cash_accno",
                                          "bank_code",
                                          "check_no",
                                          "remark",
                                          "receipt_amount",
                                          "currency",
                                          "exchange_rate",
                                          "receipt_base_amount",
                                          "total_amount",
                                          "total_currency",
                                          "total_base_amount",
                                          "unapplied_docno",
                                          "unapplied_amount",
                                          "void",
                                          "period",
                                          "fyear"};

constexpr const char* kLineColumns[] = {"pay_item",
                                        "invoice_no",
                                        "invoice_date",
                                        "gross_amount",
                                        "open_amount",
                                        "discount_available",
                                        "applied_amount",
                                        "applied_base_amount",
                                        "discount_taken",
                                        "writeoff",
                                        "invoice_balance",
                                        "invoice_exchange_rate",
                                        "receipt_exchange_rate"};

template <std::size_t N>
std::string qualified(const char* table, const char* const (&columns)[N]) {
    std::string text;
    for (const char* column : columns)
        text += std::string(" ") + table + "." + column + ",";
    return text;
}

}  // namespace

std::string previewTitle(const PrintedReceipt& receipt) {
    return "A/R Receipt," + receipt.docno + ",0";
}

std::string previewQuery(const PrintedReceipt& r) {
    return "SELECT Receipt_header_table.docno, Receipt_header_table.customer_no, " +
           sqlLiteral(r.customerName) + " AS customer_name, " + sqlLiteral(r.receiptDate) +
           " AS receipt_date, " + sqlLiteral(r.checkDate) + " AS check_date, " +
           sqlLiteral(r.rateDate) + " AS rate_date," +
           qualified("Receipt_header_table", kHeaderColumns) +
           qualified("Receipt_transaction_table", kLineColumns) +
           " Receipt_transaction_table.currency AS line_currency," +
           " (SELECT MAX(AR_header_table.doctype) FROM AR_header_table" +
           " WHERE AR_header_table.company = 1" +
           " AND AR_header_table.docno = Receipt_transaction_table.invoice_no) AS document_type" +
           " FROM Receipt_header_table LEFT JOIN Receipt_transaction_table ON " +
           " Receipt_header_table.fkey = Receipt_transaction_table.fkey" +
           " WHERE Receipt_header_table.fkey = " + sqlLiteral(r.fkey) +
           " Order by Receipt_transaction_table.pay_item";
}

std::string miscReceiptPreviewQuery(const std::string& fkey) {
    return "SELECT h.docno, h.receipt_date AS \"date\", h.payer, h.payby AS \"pay by\","
           " h.Currency AS \"currency\", h.receipt_amount AS \"receipt amount\","
           " l.lineno AS \"line no\", l.accno AS \"account no\","
           " a.accname AS \"account name\", l.amount, l.Description AS \"description\","
           " l.Reference AS \"reference\""
           " FROM (Receipt_misc_header_table h INNER JOIN Receipt_misc_transaction_table l"
           " ON h.fkey = l.fkey) LEFT JOIN Account_master_table a ON l.accno = a.accno"
           " WHERE h.fkey = " +
           sqlLiteral(fkey) + " ORDER BY l.lineno";
}

std::string fastReceiptPreviewQuery(const std::string& fkey) {
    return "SELECT h.docno, h.receipt_date AS \"date\", h.bank_code AS \"bank\","
           " l.lineno AS \"line no\", CASE l.transaction_type WHEN 1 THEN 'Receipt'"
           " WHEN 2 THEN 'Unapplied cash' WHEN 3 THEN 'Prepayment'"
           " WHEN 4 THEN 'Miscellaneous receipt' END AS \"transaction type\","
           " CASE l.receipt_by WHEN 2 THEN 'Check' ELSE 'Cash' END AS \"receipt by\","
           " l.check_no AS \"check no\", l.customer_no AS \"customer no\","
           " c.customer_name AS \"customer name\", l.invoice_no AS \"invoice no\","
           " l.accno AS \"account no\", l.amount, h.Currency AS \"currency\","
           " l.real_docno AS \"document\", l.Description AS \"description\""
           " FROM (AR_Fast_Receipt_header_table h INNER JOIN AR_Fast_Receipt_transaction_table l"
           " ON h.fkey = l.fkey) LEFT JOIN Customer_table c ON l.customer_no = c.customer_no"
           " WHERE h.fkey = " +
           sqlLiteral(fkey) + " ORDER BY l.lineno";
}

}  // namespace keltro::receipts
