// The queries of the inquiry and history reports, built from their filters as SQL text
// with every value bound (`?`), never written into the text.
//
// Inquiry: a document number outweighs every other filter (its lines come unsorted);
// otherwise the customer ("0" or nothing: all), the status, the invoice-date range and
// the document type, sorted by document and pay item.
//
// Invoice/receipt history: the receipt lines and the matching lines that reached each
// invoice, one UNION, per invoice from the highest balance down. An invoice number (or a
// range from it to a second one) outweighs the customer, the dates and the options; a
// customer search lists doctype 'inv' only.
//
// Receipt cheque history: receipts by cheque number, else by receipt number, else by
// customer and receipt dates with an optional status.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"

namespace keltro::reports {

struct BoundQuery {
    std::string sql;
    db::Params params;
};

struct DateRange {
    std::optional<db::Date> from, to;
};

struct InquiryFilter {
    enum class Status { Paid, Open, Void, All };
    enum class Kind { Invoice, CreditNote, DebitNote };

    std::string docno;
    std::string customer;
    Status status = Status::All;
    DateRange invoiceDates;
    Kind kind = Kind::Invoice;
};

BoundQuery InquiryQuery(const InquiryFilter& filter);

struct InvoiceHistoryFilter {
    enum class Option { Paid, Partial, All };

    std::string customer;
    std::string docno;
    std::string docnoTo;
    DateRange invoiceDates;
    Option option = Option::All;

    bool byNumber() const { return !docno.empty(); }
};

BoundQuery InvoiceHistoryQuery(const InvoiceHistoryFilter& filter);

struct ReceiptHistoryFilter {
    enum class Option { None, Complete, Partial };

    std::string checkNo;
    std::string receiptNo;
    std::string customer;
    DateRange receiptDates;
    Option option = Option::None;
};

// The receipts of a cheque history; nullopt when neither a cheque, a receipt nor a
// customer is given.
std::optional<BoundQuery> ReceiptHistoryQuery(const ReceiptHistoryFilter& filter);

}  // namespace keltro::reports
