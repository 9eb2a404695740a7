// Recurring-invoice definitions as the invoice screen enters them (with `chkrecur`
// ticked): the checks, the save of a new definition and of an edit, and how a stored
// definition shows.
//
// A definition is a template, never posted: saving one writes its header into
// `AR_recur_header_table` and its lines, with their tax groups, into
// `AR_recur_transaction_table`, and nothing else — no journal, no balance, no owing
// balance moves. The recurring inquiry generates and posts the invoices.
//
// The checks, in order (the first that fails shows its message, nothing is written):
//
//     customer        "Please specify customer no."
//     recurring name  "Please specify recurring name"
//     payment term    "Please specify Payment term"; the cash term "00" "Payment term cash
//                     is invalid."; an unknown one "payment term is invalid"
//     currency        "Please specify Currency"
//     recurring date  a day 0 .. 31 (31: the month's last day, 0: issued by hand):
//                     empty, below 0 or above 31 "please specify recurring date 0-31 (31 =
//                     end of month, 0 = manual issueing)"; "recurring date is not numeric"
//     automatic issue (recurring date above 0): "please specify effective date",
//                     "please specify expiration date"; an edit also "For automatic
//                     recurring invoice please specify customer"
//     invoices        "Number of invoice is invalid" when filled but not a whole number
//     frequency       "recurring frequency is invalid" unless "monthly" or "quarterly"
//     lines           "No data input" when no line has a pay item
//
// A new definition is numbered with document type "cur" in the fiscal year of today; its
// key is "1cur-" + the key number. Save messages: "Add new Recurring invoice complete",
// "Update recurring invoice complete".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "framework/FieldText.h"
#include "invoice/InvoiceLines.h"
#include "invoice/InvoiceTax.h"
#include "invoice/InvoiceValidation.h"
#include "services/Clock.h"
#include "services/Ui.h"
#include "store/RecurringDefinition.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

inline constexpr const char* kNoRecurringMessage =
    "There is no Recurring Invoice.\n"
    "To create recurring Invoice, mark recuring box as true when you create normal invoice.";

// What the screen holds of a definition being saved.
struct RecurringDraft {
    std::string fkey;  // an edit: the definition's key
    std::string customerNo;
    std::string recurName;
    std::string paymentTerm;
    std::string currency;
    std::string recurDateText;
    std::optional<db::Date> effectiveDate;
    std::optional<db::Date> expirationDate;
    std::string noInvoiceText;
    std::string frequency;
    std::string remark;
    std::vector<EntryLine> lines;
    const TaxTable* taxes = nullptr;
};

// What the checks found.
struct CheckedRecurring {
    store::PaymentTerm term;
    int recurDate = 0;
    std::optional<int> noInvoice;
    std::string receivableAccno;  // the customer's, copied onto the template lines
};

std::optional<CheckedRecurring> checkRecurring(db::Database& db, services::Ui& ui,
                                               const RecurringDraft& draft, SaveKind save);

// Where a definition is saved and who saves it. Both saves write inside the caller's
// transaction and report whether it may commit.
struct RecurringSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    std::string user;
};

// The new definition's key, or nothing after a message.
std::optional<std::string> saveNewRecurring(RecurringSaveContext& context,
                                            const RecurringDraft& draft,
                                            const CheckedRecurring& checked);

// Rewrites the definition `draft.fkey` and replaces its lines; false after a message.
bool saveEditedRecurring(RecurringSaveContext& context, const RecurringDraft& draft,
                         const CheckedRecurring& checked);

// The header controls of a stored definition.
framework::FieldValues recurringFieldValues(const store::RecurHeader& header,
                                            const std::string& customerName,
                                            const std::string& dateFormat);

// A definition's template lines as the document lines the line grid shows.
std::vector<store::ArLine> linesForGrid(const std::vector<store::RecurLine>& lines);

}  // namespace keltro::invoice
