// Saving a document of the invoice screen: a new one, or the edit of a shown one. Each
// save is one transaction; any refusal or database error on the way rolls everything
// back (document, lines, counters, journal, balances, the customer's owing balance).
//
// A new document, after the checks (InvoiceValidation.h):
//
//     1. number it: the next docno and key of its doctype and fiscal year; the key is
//        "1" + doctype + "-" + key number
//     2. an invoice passes the credit limit (below) and adds its total to the customer's
//        `owing_balance`
//     3. write the header, then the lines (InvoiceLines.h), credit notes negative
//     4. post the journal (InvoicePosting.h) and keep its key in `GLFKEY`
//
// An edit rewrites the term, remark, dates, rate, addresses, period and fiscal year (a
// document of the sales module keeps its rate, addresses and period), the lines when
// they were changed, and reposts ("AR-INVOICE" documents only) when the lines, the rate,
// the period or the fiscal year changed: the old journal is reversed today and a new one
// posted. The lines always repeat the header's term, dates, rate and period, and the
// document keeps the receivable account its lines carry.
//
// Credit limit: a customer whose `credit_limit` is above 0 may not owe more than it; the
// save is refused with "Credit sales amount exceeds credit limit" and the screen's status
// reads "Credit limit = 5,000 : Balance owing = 4,200.00".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "invoice/InvoiceKind.h"
#include "invoice/InvoiceLines.h"
#include "invoice/InvoicePosting.h"
#include "invoice/InvoiceTax.h"
#include "invoice/InvoiceValidation.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::invoice {

// Where a save runs and who makes it.
struct SaveContext {
    db::Database& db;
    services::Ui& ui;
    // The screen's ledger: the current-earnings account is looked up once per screen.
    services::LedgerContext& ledger;
    const services::Clock& clock;
    std::string user;
    std::string baseCurrency;
    RoundingAccounts rounding;
    // The screen's status text (the credit-limit refusal writes it).
    std::string* status = nullptr;
};

// Everything the screen holds of the document being saved.
struct InvoiceDraft {
    const InvoiceKind* kind = nullptr;
    TypedHeader typed;
    std::string fkey;  // an edit: the document's key
    std::string customerPo;
    std::string orderNo;
    std::string remark;
    std::string billTo;
    std::string shipTo;
    std::optional<db::Date> dueDate;
    std::optional<db::Date> discountDate;
    std::optional<db::Date> rateDate;
    std::string totalText;  // `txttotal` as shown
    std::vector<EntryLine> lines;
    const TaxTable* taxes = nullptr;
    bool linesChanged = false;  // an edit: the lines were changed since edit mode began
};

// Both saves write inside the caller's transaction, which commits only what they report
// saved; after a refusal it is rolled back, so nothing of the document remains.

// Saves a new document; gives its key, or nothing after a message.
std::optional<std::string> saveNewDocument(SaveContext& context, const InvoiceDraft& draft,
                                           const ValidatedEntry& entry);

// Saves the edit of the document `draft.fkey`; false after a message.
bool saveEditedDocument(SaveContext& context, const InvoiceDraft& draft,
                        const ValidatedEntry& entry);

// The credit-limit check of a new invoice, on the customer as read (and locked) by the
// save's validation; when it passes, the customer's owing balance takes the total. False
// after "Total amount is invalid." or the limit's refusal.
bool passCreditLimit(SaveContext& context, const store::Customer& customer,
                     const std::string& totalText);

}  // namespace keltro::invoice
