// Pay-item lines: what a document line and a recurring template line have in common.
//
// A document's lines (`AR_transaction_table`) and a recurring definition's template lines
// (`AR_recur_transaction_table`) share their columns: the pay item and its text, the
// amounts, the tax code with up to five tax-authority groups, the sales and receivable
// accounts, stamps, and copies of header values (currency, dates, term, period …) that
// each line repeats so that open-item queries need no join.
//
// Copies come from the header when lines are written; a line's own `copies` are only
// filled when it is read. A line's tax is a list of shares, one per authority of its tax
// code in the code's `item_no` order; shares beyond the fifth are not stored.
//
// Sign of credit notes: a "cn" document stores every amount of its lines negated, so
// that sums over a customer's open items net credit notes against invoices. The store
// applies the sign where lines are written and read; the records handed to and from
// callers always hold positive amounts.
//
//     line.grossAmount = 105.00;               // stored as -105.00 on a credit note
//     line.taxes = {{"GST", 100.00, 5.0, 5.00, false}};
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "store/ColumnValues.h"

namespace keltro::store {

// Document types of the A/R document tables.
namespace doctype {
inline constexpr std::string_view kInvoice = "ar";
inline constexpr std::string_view kSaleInvoice = "inv";
inline constexpr std::string_view kDebitNote = "dn";
inline constexpr std::string_view kCreditNote = "cn";
inline constexpr std::string_view kRecurring = "cur";
inline constexpr std::string_view kUnappliedCash = "ua";
}  // namespace doctype

// The company every A/R record belongs to.
inline constexpr int kCompany = 1;
// A line stores at most this many tax-authority groups.
inline constexpr std::size_t kTaxSlots = 5;

bool isCreditNote(std::string_view doctype);

// `user_created`, `date_created`, `time_created` ("hh:mm:ss").
struct CreationStamp {
    std::string user;
    std::optional<db::Date> date;
    std::string time;
};

// `date_lastmodified`, `time_lastmodified`.
struct ChangeStamp {
    std::optional<db::Date> date;
    std::string time;
};

// The payment term as copied onto a document at save: `payment_term` (the term's
// `term_no`), `duedays`, `early_days`, `early_discount` (percent).
struct TermCopies {
    std::string paymentTerm;
    std::optional<int> duedays;
    std::optional<int> earlyDays;
    std::optional<double> earlyDiscount;
};

// One tax-authority group of a line: `tax_authorityN`, `taxable_amountN`, `tax_rateN`
// (percent), `tax_amountN`, `taxableN`.
struct TaxShare {
    std::string authority;
    double taxableAmount = 0;
    double rate = 0;
    double taxAmount = 0;
    bool taxable = false;
};

// Header values every line repeats. On a recurring template line `docno` holds the
// definition's `recurno` and the dated copies stay empty.
struct HeaderCopies {
    std::string fkey;
    std::string docno;
    std::string doctype;
    std::string customerNo;
    std::string currency;
    std::optional<double> exchangeRate;
    std::optional<db::Date> invoiceDate;
    TermCopies term;
    std::optional<db::Date> dueDate;
    std::optional<db::Date> discountDate;
    std::optional<int> period;
    std::string fyear;
};

struct PayItemLine {
    std::string payItem;  // unique within the document; a line without one is not saved
    std::string description;
    double grossAmount = 0;    // including tax
    double openAmount = 0;     // part of the gross amount still unpaid
    double taxableAmount = 0;  // before tax
    double taxAmount = 0;      // sum of the shares' tax
    std::string taxCode;
    std::vector<TaxShare> taxes;
    std::string salesAccno;
    std::string arAccno;
    std::string computerId;
    CreationStamp created;
    std::string userUpdated;
    ChangeStamp modified;
    HeaderCopies copies;  // read back from the line; ignored when writing
};

// ----- used by the document and recurring stores ------------------------------------

TermCopies readTermCopies(const db::Row& row);
void addTermColumns(ColumnValues& row, const TermCopies& term);
CreationStamp readCreationStamp(const db::Row& row);
void addCreationColumns(ColumnValues& row, const CreationStamp& stamp);
ChangeStamp readChangeStamp(const db::Row& row);
void addChangeColumns(ColumnValues& row, const ChangeStamp& stamp);

// Reads the shared columns of a line row (amounts as stored, sign not applied).
void readPayItemLine(const db::Row& row, PayItemLine& line);
// Adds the header copies and the shared columns of `line` (amounts as given).
void addPayItemColumns(ColumnValues& row, const HeaderCopies& copies, const PayItemLine& line);
// Negates the shared amounts: gross, open, taxable, tax and every share's base and tax.
void negateAmounts(PayItemLine& line);
double negated(double amount);
std::optional<double> negated(const std::optional<double>& amount);

// The lines of `fkey` in `table`, "ORDER BY [pay_item]". The pay item is text, so the
// lines come in text order: "1", "10", "2".
db::Rows queryLines(db::Database& db, std::string_view table, std::string_view fkey);
// Deletes the lines of `fkey` in `table`; refuses to run outside a transaction, since a
// replacement of lines must not be able to stop half way.
void deleteLinesInTransaction(db::Database& db, std::string_view table, std::string_view fkey);

}  // namespace keltro::store
