// An invoice made from a recurring-invoice definition, and its journal.
//
// The recurring inquiry generates one invoice per definition it was asked for, all inside
// one transaction of its own; this is the work for one definition, inside that
// transaction:
//
//     1. the customer's own receivable account (`ar_accno`) is required; there is no module
//        default here: "Error : Acccount Receivable account for 1006 is empty"
//     2. fiscal year and period of the invoice date; an "inv" number and key "1inv-N"
//     3. the payment term read again ("payment term is invalid" when it is gone): due date
//        = invoice date + `duedays`, discount date = invoice date + `early_days` (when > 0)
//     4. a foreign currency takes its current rate (the latest dated on or before today):
//        "No exchange rate for currency EUR" without one
//     5. the header: doctype "inv", `Source` "AR-RECUR", `recur_no` the definition's
//        number, `month` "MM" and `year` "YYYY" of the invoice date (what the due list
//        searches), bill-to and ship-to the customer's address
//     6. the template lines copied as they are stored (amounts, tax code, sales account),
//        open amount = gross, `source_form` "Recurring Invoice", without per-authority tax
//        groups; the customer's owing balance grows by their gross amounts
//     7. the journal (`Source` "AR", `source_form` "Recurring Invoice", remark "Invoice no. "
//        + docno): receivable + gross, sales + taxable, and each line's tax computed again
//        from its tax code, compound and without the authorities' lower and upper bounds,
//        to each authority's liability account (an authority without one is passed over);
//        a tax code without sales authorities stops it: "Error : No tax code S9"
//
// A refusal says its message and gives nothing; the caller rolls the whole run back.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "invoice/InvoicePosting.h"
#include "services/JournalWriter.h"
#include "store/RecurringDefinition.h"
#include "store/TaxCodes.h"

namespace keltro::invoice {

inline constexpr const char* kSourceRecurring = "AR-RECUR";
inline constexpr const char* kRecurringForm = "Recurring Invoice";
inline constexpr const char* kRecurringJournalSource = "AR";

struct GenerationContext {
    services::JournalContext& journal;  // database, person, clock, user, base currency
    RoundingAccounts rounding;          // realized gain and loss, read once per run
    // The sales authorities of each tax code met so far in the run.
    std::map<std::string, std::vector<store::TaxAuthorityRate>> salesAuthorities;
};

// Generates and posts the invoice of `definition` dated `invoiceDate`; gives its key
// ("1inv-N"), or nothing after a message.
std::optional<std::string> generateRecurringInvoice(GenerationContext& context,
                                                    const store::RecurringDefinition& definition,
                                                    const db::Date& invoiceDate);

}  // namespace keltro::invoice
