// The checks before a save of the invoice screen: the first that fails shows its message
// and the save stops with nothing written.
//
// A new invoice is checked in this order:
//
//     customer       "Please specify customer no."; an unknown one "Customer number is
//                    invalid"; an inactive one (invoices only) customer name + " is
//                    inactive. Invoice will not be saved."
//     payment term   "Please specify Payment term", "payment term is invalid"
//     currency       "Please specify Currency"; a foreign one without a rate above 0
//                    "Please specify exchange rate"
//     invoice date   "please specify invoice date"
//     lines          "No data input" when no line has a pay item
//     receivable     the customer's account, else the module's; "Error : receiveable
//                    account for " + customer + " is empty"
//     period         "please specify period"
//     fiscal year    "please specify fiscal year"
//     working period "Fiscal period/year is out of working period."
//
// Debit and credit notes, and every edit save, check the receivable account last.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "invoice/InvoiceKind.h"
#include "invoice/InvoiceLines.h"
#include "services/Ui.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

// The header of the screen as typed; dates already read in the user's format.
struct TypedHeader {
    std::string customerNo;
    std::string paymentTerm;
    std::string currency;
    std::string exchangeRate;  // as typed; read only for a foreign currency
    std::optional<db::Date> invoiceDate;
    std::string period;
    std::string fyear;
};

enum class SaveKind { NewDocument, Edit };

// What the checks found, for the save to use.
struct ValidatedEntry {
    store::Customer customer;
    store::PaymentTerm term;
    std::string receivableAccno;
    std::optional<double> exchangeRate;  // foreign currency only
    int period = 0;
    std::string fyear;
};

struct ValidationContext {
    db::Database& db;
    services::Ui& ui;
    std::string baseCurrency;
    std::string moduleReceivable;  // the module's receivable account
};

std::optional<ValidatedEntry> validateEntry(const ValidationContext& context,
                                            const InvoiceKind& kind, SaveKind save,
                                            const TypedHeader& header,
                                            const std::vector<EntryLine>& lines);

// A rate as typed: a number above 0, else nothing.
std::optional<double> rateOfText(const std::string& text);

}  // namespace keltro::invoice
