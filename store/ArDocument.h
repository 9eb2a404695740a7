// A/R documents: invoices, debit notes, credit notes and the other open items of a
// customer, each one header row (`AR_header_table`) and its pay-item lines
// (`AR_transaction_table`), joined by the internal key `fkey`.
//
// A document has two names: `fkey`, "1" + doctype + "-" + running number, unique over all
// A/R documents and the key every look-up of lines, journal and matching goes through;
// and `docno`, the number the user sees (at most 30 characters). Documents are read by
// either; lines always come "ORDER BY [pay_item]".
//
// Paid state: `paid` is TRUE once anything has been applied to the document, `fully_paid`
// when nothing of it stays open. A document is open while neither `fully_paid` nor `void`
// is TRUE; a partly paid one is still open.
//
// Saving writes the header first (its `Id` comes back), then the lines; an edit replaces
// the lines wholesale inside the save's transaction. Credit-note lines are stored negated
// and handed back positive (see PayItemLine.h).
//
//     db::Transaction tx(db);
//     header.id = insertHeader(db, header);
//     insertLines(db, header, lines);
//     ... post the journal ...
//     setGlFkey(db, header.fkey, journalKey);
//     tx.commit();
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "store/PayItemLine.h"

namespace keltro::store {

struct ArHeader {
    std::int64_t id = 0;  // `Id`, the row number; given by the database on insert
    std::string doctype;
    std::string fkey;
    std::string docno;
    std::string customerNo;
    std::optional<db::Date> invoiceDate;
    std::string customerPo;
    std::string orderNo;
    std::string applyToDocno;  // the document a credit or debit note applies to
    std::optional<db::Date> dueDate;
    std::optional<db::Date> discountDate;
    TermCopies term;
    std::string remark;
    std::string currency;
    std::optional<double> exchangeRate;  // base units per document unit; foreign currency only
    std::optional<db::Date> rateDate;
    std::string billToAddress;
    std::string shipToAddress;
    std::optional<int> period;
    std::string fyear;
    std::string source;  // "AR-INVOICE", "AR-RECUR", "SO-INVOICE" …
    std::string sourceDocno;
    std::string sourceForm;
    std::string glFkey;  // `GLFKEY`, the document's journal
    bool paid = false;
    bool fullyPaid = false;
    bool isVoid = false;
    bool printed = false;
    std::optional<double> prepayment;
    std::string ppfkey;
    std::string recurNo;
    std::string month;  // "MM" of the document; filled from the invoice date when empty
    std::string year;   // "YYYY" likewise
    std::string parentNo;
    CreationStamp created;
    ChangeStamp modified;
};

// A line of a document. Receipts, matching and prepayments fill the settlement columns.
struct ArLine : PayItemLine {
    std::int64_t id = 0;  // `id`, read only
    std::string source;
    std::string sourceDocno;
    std::string sourceForm;
    bool paid = false;
    std::optional<double> paidAmount;
    std::optional<double> discountAvailable;
    std::optional<double> discountTaken;
    std::optional<double> writeoff;
    bool isVoid = false;
    std::string status;
    std::string receiptNo;
    std::string checkNo;
    std::optional<db::Date> dueDateDb;  // the due date as entered (debit and credit notes)
    std::optional<int> ageRange;
    std::string user;  // `User`, the creating user on debit- and credit-note lines
};

struct ArDocument {
    ArHeader header;
    std::vector<ArLine> lines;
};

// A month as the `month` column holds it: two digits, "02".
std::string monthText(int month);

// ----- reading ------------------------------------------------------------------------

std::optional<ArHeader> findHeader(db::Database& db, std::string_view fkey);
// By number, within company 1; with `doctype` only a document of that type.
std::optional<ArHeader> findHeaderByDocno(db::Database& db, std::string_view docno,
                                          std::optional<std::string_view> doctype = {});
std::vector<ArLine> loadLines(db::Database& db, std::string_view fkey);
std::optional<ArDocument> loadDocument(db::Database& db, std::string_view fkey);
std::optional<ArDocument> loadDocumentByDocno(db::Database& db, std::string_view docno,
                                              std::optional<std::string_view> doctype = {});

// Numbers of the open documents of a type, highest first: neither fully paid nor void.
std::vector<std::string> openDocumentNumbers(db::Database& db, std::string_view doctype);

// ----- writing (inside the caller's transaction) ---------------------------------------

// Inserts the header with company 1 and gives its new `Id`.
std::int64_t insertHeader(db::Database& db, const ArHeader& header);
// The same insert queued (Database::queue), for a save that does not need the `Id`.
void queueHeader(db::Database& db, const ArHeader& header);
// Rewrites every column of the header found by its `fkey` (not `Id`, not `fkey`).
void updateHeader(db::Database& db, const ArHeader& header);
void setGlFkey(db::Database& db, std::string_view fkey, std::string_view glFkey);

// Inserts lines in the given order. Identity and header copies come from `header`; the
// credit-note sign follows `header.doctype`.
void insertLines(db::Database& db, const ArHeader& header, const std::vector<ArLine>& lines);
// Deletes the document's lines and inserts `lines`; needs an open transaction, so that a
// failure later in the save brings the old lines back.
void replaceLines(db::Database& db, const ArHeader& header, const std::vector<ArLine>& lines);
// Header, then lines; sets `document.header.id`.
void insertDocument(db::Database& db, ArDocument& document);

// ----- paid and void state ------------------------------------------------------------

enum class PaidState {
    Unpaid,      // paid FALSE, fully_paid FALSE
    PartlyPaid,  // paid TRUE, fully_paid FALSE
    FullyPaid,   // paid TRUE, fully_paid TRUE
};

PaidState paidState(const ArHeader& header);
// The receipt screens' flag statements, by state.
void setPaidState(db::Database& db, std::string_view fkey, PaidState state);
// Voids the header and every line of the document, stamping the change.
void markVoid(db::Database& db, std::string_view fkey, const ChangeStamp& stamp);

}  // namespace keltro::store
