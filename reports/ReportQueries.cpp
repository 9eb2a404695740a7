#include "reports/ReportQueries.h"

#include <vector>

namespace keltro::reports {

namespace {

// Conditions joined by " AND " with their values in the same order.
class Conditions {
public:
    Conditions& add(std::string condition, db::Params values = {}) {
        m_conditions.push_back(std::move(condition));
        for (auto& v : values) m_params.push_back(std::move(v));
        return *this;
    }
    Conditions& range(const std::string& column, const DateRange& range) {
        if (range.from) add(column + " >= ?", {*range.from});
        if (range.to) add(column + " <= ?", {*range.to});
        return *this;
    }
    std::string where() const {
        std::string text;
        for (const auto& c : m_conditions) text += (text.empty() ? " WHERE " : " AND ") + c;
        return text;
    }
    const db::Params& params() const { return m_params; }

private:
    std::vector<std::string> m_conditions;
    db::Params m_params;
};

const char* doctypeOf(InquiryFilter::Kind kind) {
    switch (kind) {
    case InquiryFilter::Kind::Invoice: return "inv";
    case InquiryFilter::Kind::CreditNote: return "cn";
    case InquiryFilter::Kind::DebitNote: return "dn";
    }
    return "inv";
}

// The columns both halves of the invoice history give, `p` being the payment's table.
std::string historyColumns(bool matching) {
    std::string columns =
        "SELECT p.invoice_no, h.invoice_date AS invoice_date, p.pay_item, p.gross_amount, "
        "p.open_amount, p.applied_amount, p.invoice_balance, h.Currency AS currencyx, p.writeoff, "
        "p.discount_taken, p.discount_available, p.invoice_exchange_rate, p.receipt_exchange_rate, "
        "p.docno AS receipt_docno, ";
    // A matching has no receipt number or cheque date; its cheque numbers stand as its cheque.
    columns += matching ? "NULL AS receipt_no, p.[Date] AS receipt_date, p.match_check_no AS check_no, "
                          "NULL AS check_date, "
                        : "p.receipt_no, p.receipt_date, p.check_no, p.check_date, ";
    columns += "h.customer_no AS customer_no, ";
    columns += matching ? "TRUE AS matching, p.match_check_no AS match_check_no"
                        : "FALSE AS matching, ' ' AS match_check_no";
    columns += matching ? " FROM AR_header_table h INNER JOIN AR_matching_transaction_table p"
                        : " FROM AR_header_table h INNER JOIN Receipt_transaction_table p";
    return columns + " ON h.docno = p.invoice_no";
}

Conditions historyConditions(const InvoiceHistoryFilter& f) {
    Conditions c;
    if (f.byNumber()) {
        c.add("h.company = 1");
        if (f.docnoTo.empty())
            c.add("p.invoice_no = ?", {f.docno});
        else
            c.add("p.invoice_no >= ?", {f.docno}).add("p.invoice_no <= ?", {f.docnoTo});
        return c;
    }
    c.add("h.customer_no = ?", {f.customer}).range("h.invoice_date", f.invoiceDates).add("h.doctype = 'inv'");
    switch (f.option) {
    case InvoiceHistoryFilter::Option::Paid: c.add("h.fully_paid = TRUE"); break;
    case InvoiceHistoryFilter::Option::Partial: c.add("h.paid = TRUE"); break;
    case InvoiceHistoryFilter::Option::All: c.add("(h.fully_paid = TRUE OR h.paid = TRUE)"); break;
    }
    return c;
}

}  // namespace

BoundQuery InquiryQuery(const InquiryFilter& f) {
    Conditions c;
    if (!f.docno.empty()) {
        c.add("docno = ?", {f.docno});
        return {"SELECT * FROM AR_transaction_table" + c.where(), c.params()};
    }
    if (!f.customer.empty() && f.customer != "0") c.add("customer_no = ?", {f.customer});
    switch (f.status) {
    case InquiryFilter::Status::Paid: c.add("[paid] = TRUE"); break;
    case InquiryFilter::Status::Open: c.add("[paid] = FALSE AND [void] = FALSE"); break;
    case InquiryFilter::Status::Void: c.add("[void] = TRUE"); break;
    case InquiryFilter::Status::All: break;
    }
    c.range("invoice_date", f.invoiceDates).add("doctype = ?", {doctypeOf(f.kind)});
    return {"SELECT * FROM AR_transaction_table" + c.where() + " ORDER BY docno,pay_item", c.params()};
}

BoundQuery InvoiceHistoryQuery(const InvoiceHistoryFilter& f) {
    const Conditions c = historyConditions(f);
    db::Params params = c.params();
    params.insert(params.end(), c.params().begin(), c.params().end());
    return {historyColumns(false) + c.where() + " UNION " + historyColumns(true) + c.where() +
                " ORDER BY invoice_no, invoice_balance DESC",
            params};
}

std::optional<BoundQuery> ReceiptHistoryQuery(const ReceiptHistoryFilter& f) {
    Conditions c;
    if (!f.checkNo.empty()) {
        c.add("check_no = ?", {f.checkNo});
    } else if (!f.receiptNo.empty()) {
        c.add("docno = ?", {f.receiptNo});
    } else if (!f.customer.empty()) {
        c.add("customer_no = ?", {f.customer}).range("receipt_date", f.receiptDates);
        if (f.option == ReceiptHistoryFilter::Option::Complete)
            c.add("(Unapplied_DOCNO IS NULL OR completely_match = TRUE)");
        else if (f.option == ReceiptHistoryFilter::Option::Partial)
            c.add("Unapplied_DOCNO IS NOT NULL");
    } else {
        return std::nullopt;
    }
    return BoundQuery{"SELECT * FROM Receipt_header_table" + c.where() + " ORDER BY docno", c.params()};
}

}  // namespace keltro::reports
