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
    return "SELECT Receipt_misc_header_table.*, Receipt_misc_transaction_table.lineno,"
           " Receipt_misc_transaction_table.accno, Receipt_misc_transaction_table.amount,"
           " Receipt_misc_transaction_table.Description, Receipt_misc_transaction_table.Reference,"
           " Account_master_table.accname"
           " FROM (Receipt_misc_header_table INNER JOIN Receipt_misc_transaction_table"
           " ON Receipt_misc_header_table.fkey = Receipt_misc_transaction_table.fkey)"
           " LEFT JOIN Account_master_table"
           " ON Receipt_misc_transaction_table.accno = Account_master_table.accno"
           " WHERE Receipt_misc_header_table.fkey = " +
           sqlLiteral(fkey) + " ORDER BY Receipt_misc_transaction_table.lineno";
}

std::string fastReceiptPreviewQuery(const std::string& fkey) {
    return "SELECT AR_Fast_Receipt_header_table.*, AR_Fast_Receipt_transaction_table.lineno,"
           " AR_Fast_Receipt_transaction_table.transaction_type,"
           " AR_Fast_Receipt_transaction_table.receipt_by,"
           " AR_Fast_Receipt_transaction_table.check_no AS line_check_no,"
           " AR_Fast_Receipt_transaction_table.customer_no,"
           " AR_Fast_Receipt_transaction_table.amount,"
           " AR_Fast_Receipt_transaction_table.invoice_no,"
           " AR_Fast_Receipt_transaction_table.accno,"
           " AR_Fast_Receipt_transaction_table.Description, Customer_table.customer_name"
           " FROM (AR_Fast_Receipt_header_table INNER JOIN AR_Fast_Receipt_transaction_table"
           " ON AR_Fast_Receipt_header_table.fkey = AR_Fast_Receipt_transaction_table.fkey)"
           " LEFT JOIN Customer_table"
           " ON AR_Fast_Receipt_transaction_table.customer_no = Customer_table.customer_no"
           " WHERE AR_Fast_Receipt_header_table.fkey = " +
           sqlLiteral(fkey) + " ORDER BY AR_Fast_Receipt_transaction_table.lineno";
}

}  // namespace keltro::receipts
