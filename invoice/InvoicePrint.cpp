#include "invoice/InvoicePrint.h"

#include <vector>

#include "services/SqlLiteral.h"

namespace keltro::invoice {

namespace {

struct LineColumn {
    const char* name;
    bool amount;  // read negated for a credit note
};

// The line columns of the printout, in the order the report reads them.
constexpr LineColumn kLineColumns[] = {
    {"pay_item", false},        {"description", false},    {"gross_amount", true},
    {"open_amount", true},      {"discount_available", true}, {"discount_taken", true},
    {"writeoff", true},         {"taxable_amount", true},  {"tax_amount", true},
    {"tax_code", false},        {"paid_amount", true},     {"sales_accno", false},
};

std::string lineColumn(const LineColumn& column, bool creditNote) {
    const std::string qualified = std::string("AR_transaction_table.") + column.name;
    if (!creditNote || !column.amount) return qualified;
    return qualified + " * -1 As " + column.name;
}

// Two columns to a group: " a, b, " … " y, z ".
std::string lineColumns(bool creditNote) {
    constexpr std::size_t count = std::size(kLineColumns);
    std::string text;
    for (std::size_t i = 0; i < count; i += 2)
        text += " " + lineColumn(kLineColumns[i], creditNote) + ", " +
                lineColumn(kLineColumns[i + 1], creditNote) + (i + 2 < count ? ", " : " ");
    return text;
}

std::string literal(const std::string& text) { return " " + services::sqlLiteral(text); }

}  // namespace

std::string previewQuery(const PrintedDocument& d) {
    return "SELECT AR_header_table.docno, AR_header_table.customer_no, " +
           literal(d.customerName) + " AS customer_name, AR_header_table.parent_no, " +
           literal(d.invoiceDate) + " As invoice_date, " +
           " AR_header_table.currency, AR_header_table.exchange_rate, " +
           literal(d.rateDate) + " As rate_date, " + literal(d.paymentTerm) +
           " As payment_term, " + literal(d.dueDate) + " As due_date, " +
           literal(d.discountDate) + " As discount_date, " +
           " AR_header_table.paid, AR_header_table.customer_po, AR_header_table.order_no, " +
           " AR_header_table.source_docno, AR_header_table.source, " +
           " AR_header_table.period, AR_header_table.fyear,AR_header_table.remark, " +
           " AR_header_table.apply_to_docno," + lineColumns(d.creditNote) +
           " FROM AR_header_table INNER JOIN AR_transaction_table ON " +
           " AR_header_table.fkey = AR_transaction_table.fkey" +
           " WHERE AR_header_table.fkey = " + services::sqlLiteral(d.fkey) +
           " Order by AR_transaction_table.pay_item";
}

}  // namespace keltro::invoice
