// The journal of an invoice, debit note or credit note.
//
// Every save posts the document as one journal (services/JournalWriter.h), inside the
// save's transaction. Per line, in grid order, the amounts go into the journal's table of
// account and currency entries:
//
//     receivable account   + gross      (a debit account: the customer owes more)
//     sales account        + taxable    (a credit account)
//     liability account    + tax        per authority of the line's tax-table rows
//
// A credit note posts every amount negated. A foreign-currency document posts 'F' lines
// with base amounts round(amount × rate); when those leave the journal off by less than 1,
// the writer adds a rounding line on the realized gain or loss account. The journal says
// "Invoice no. ", "Debit Note no. " or "Credit Note no. " + the document number in its
// remark (nothing for an "ar" invoice) and comes from "AR-INVOICE", "A/R Invoice Entry".
//
// A line without its amounts stops the posting: "No taxable amount", "No gross amount",
// "Please specify sales account".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "invoice/InvoiceLines.h"
#include "invoice/InvoiceTax.h"
#include "services/JournalWriter.h"

namespace keltro::invoice {

// The document as the journal needs it.
struct PostedDocument {
    std::string doctype;  // its own: "ar", "inv", "dn" or "cn"
    std::string docno;
    std::string customerNo;
    db::Date invoiceDate;
    int period = 0;
    std::string fyear;
    std::string currency;
    std::optional<double> exchangeRate;  // foreign currency only
    std::string receivableAccno;
};

// The realized gain and loss accounts of the rounding line.
struct RoundingAccounts {
    std::string gainAccno;
    std::string lossAccno;
};

// The journal's entries; nothing after a message.
std::optional<services::JournalEntries> invoiceJournalEntries(
    db::Database& db, services::Ui& ui, const std::string& baseCurrency,
    const PostedDocument& document, const std::vector<EntryLine>& lines, const TaxTable& taxes);

// Posts the document; gives the journal's key, or nothing after a message (the caller
// rolls back).
std::optional<std::string> postInvoiceJournal(services::JournalContext& context,
                                              const PostedDocument& document,
                                              const std::vector<EntryLine>& lines,
                                              const TaxTable& taxes,
                                              const RoundingAccounts& rounding);

}  // namespace keltro::invoice
