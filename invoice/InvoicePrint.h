// Printing an invoice, debit note or credit note: the query the host's report engine runs.
//
// "&Preview" asks the host for "ActiveReport" with the report title, the document number
// and a flag ("A/R Invoice,INV-26-00001,0") and the query below, which reads the
// document's header and lines. The values the screen shows (customer name, dates in the
// user's format, payment term) and the document's key are written into the query as
// quoted literals (services::sqlLiteral), each quote doubled, so the text runs as it
// stands on SQLite and on PostgreSQL: O'Brien Hardware becomes 'O''Brien Hardware'.
//
// A credit note's lines are stored negative; its query reads every amount negated under
// its own name ("AR_transaction_table.gross_amount * -1 As gross_amount"), so that the
// printout shows them positive.
#pragma once

#include <string>

namespace keltro::invoice {

// The shown values the query carries as literals.
struct PrintedDocument {
    std::string fkey;
    std::string customerName;
    std::string invoiceDate;  // as shown, in the user's format
    std::string rateDate;
    std::string paymentTerm;
    std::string dueDate;
    std::string discountDate;
    bool creditNote = false;
};

// The report query of the document.
std::string previewQuery(const PrintedDocument& document);

}  // namespace keltro::invoice
