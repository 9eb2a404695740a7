#include "invoice/InvoiceKind.h"

namespace keltro::invoice {

namespace {

constexpr InvoiceKind kKinds[] = {
    {kInvoiceKind, "ar", "Add new Invoice complete", "Add new invoice failed", "A/R Invoice,", ""},
    {kSaleInvoiceKind, "inv", "Add new Invoice complete", "Add new invoice failed", "",
     "Invoice no. "},
    {kDebitNoteKind, "dn", "Add new Debit Note complete", "Add new Debit note failed",
     "A/R Debit Note,", "Debit Note no. "},
    {kCreditNoteKind, "cn", "Add new Credit Note complete", "Add new Credit note failed",
     "A/R Credit Note,", "Credit Note no. "},
};

}  // namespace

const InvoiceKind& kindNamed(std::string_view name) {
    for (const auto& kind : kKinds)
        if (kind.name == name) return kind;
    return kKinds[0];
}

const InvoiceKind& kindOfDoctype(std::string_view doctype) {
    for (const auto& kind : kKinds)
        if (kind.doctype == doctype) return kind;
    return kKinds[0];
}

std::vector<std::string> kindNames() {
    std::vector<std::string> names;
    for (const auto& kind : kKinds) names.emplace_back(kind.name);
    return names;
}

std::string_view savedDoctype(const InvoiceKind& kind) {
    return isNote(kind) ? kind.doctype : std::string_view("ar");
}

bool isNote(const InvoiceKind& kind) {
    return kind.name == kDebitNoteKind || kind.name == kCreditNoteKind;
}

bool isInvoice(const InvoiceKind& kind) { return kind.name == kInvoiceKind; }

}  // namespace keltro::invoice
