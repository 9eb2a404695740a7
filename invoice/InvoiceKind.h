// The kinds of document the invoice screen works on, and what each one says.
//
// The kind box `cmbdoctype` names the kind; each kind has a doctype code, which is the
// `doctype` of its documents and the counter its keys are numbered from:
//
//     "Invoice"       ar    entered here
//     "Sale Invoice"  inv   made by the sales module (and by recurring generation); shown
//     "Debit Note"    dn    entered here
//     "Credit Note"   cn    entered here; stored negative, shown positive
//
// A new document is saved as "dn" for a debit note, "cn" for a credit note and "ar" for
// anything else. Each kind has its own completion and failure texts, its print title and
// the remark its journal carries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace keltro::invoice {

struct InvoiceKind {
    std::string_view name;        // as the kind box lists it
    std::string_view doctype;     // the code of its documents
    std::string_view added;       // after a new document is saved
    std::string_view addFailed;   // after a new document could not be saved
    std::string_view printTitle;  // the report title sent with "ActiveReport"; empty: no print
    std::string_view journalRemark;  // the journal's remark, followed by the document number
};

inline constexpr std::string_view kInvoiceKind = "Invoice";
inline constexpr std::string_view kSaleInvoiceKind = "Sale Invoice";
inline constexpr std::string_view kDebitNoteKind = "Debit Note";
inline constexpr std::string_view kCreditNoteKind = "Credit Note";

// The kind of that name; "Invoice" for a name that is none.
const InvoiceKind& kindNamed(std::string_view name);
// The kind of a document's doctype; "Invoice" for a code that is none.
const InvoiceKind& kindOfDoctype(std::string_view doctype);
// The names of the kind box, in its order.
std::vector<std::string> kindNames();

// The doctype a new document of the kind is saved under: "dn", "cn", else "ar".
std::string_view savedDoctype(const InvoiceKind& kind);

bool isNote(const InvoiceKind& kind);
bool isInvoice(const InvoiceKind& kind);

}  // namespace keltro::invoice
