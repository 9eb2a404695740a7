// Saving a prepayment, and its journal: all of it in one transaction, or nothing.
//
// A new prepayment, once checked (PrepaymentValidation.h):
//
//     1. its number and key (doctype 'rpp', the prepayment's fiscal year): "1rpp-7"
//     2. the receipt header (Receipt_header_table, doctype 'rpp', source form
//        "A/R Prepayment"), with the liability account it posts to
//     3. the open credit line (AR_transaction_table, pay item 1): the amount negated in
//        gross and open amount, document currency only — what matching and invoices
//        later consume
//     4. the journal ("AR-PREPAY"): the cash side debited and the liability credited,
//        both with the amount, each written as an 'A' line in the base currency or as an
//        'F' line with its base amount at the prepayment's rate
//     5. the journal's key in the header's `GLFKEY`
//
// then the commit. Any refusal (a message) or database error rolls everything back,
// numbers included. The customer's owing balance is not touched (see
// docs/ARCHITECTURE.md, "Prepayments").
//
// The liability account is the customer's own `prepayment_accno`, else the module's
// 'AR Prepayment Liability account'.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"
#include "matching/PrepaymentValidation.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/JournalWriter.h"
#include "receipts/ReceiptRecords.h"
#include "services/Ui.h"

namespace keltro::matching {

inline constexpr const char* kPrepaymentDoctype = "rpp";
inline constexpr const char* kPrepaymentForm = "A/R Prepayment";
inline constexpr const char* kPrepaymentSource = "AR-PREPAY";

// The module accounts the screen reads when it opens.
struct PrepaymentAccounts {
    std::string defaultLiability;
    std::string realizedGain;
    std::string realizedLoss;
};

// Where a save or a void runs and who makes it.
struct PrepaymentSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    PrepaymentAccounts accounts;

    services::JournalContext journal() const { return {ledger, clock, user, baseCurrency}; }
};

struct SavedPrepayment {
    std::string fkey;
    std::string docno;
    std::string glFkey;
};

// The open credit of a prepayment (its AR_transaction_table line, pay item 1, at −amount in
// gross and open amount): the customer is owed the amount until it is consumed. Its
// source form is the header's.
void insertPrepaymentCredit(db::Database& db, const receipts::ReceiptHeader& header,
                            const std::string& checkNo);

// The customer's liability account, else the module's.
std::string liabilityAccount(const store::Customer& customer, const std::string& moduleDefault);

// The side of the ledger each account is kept on (`Account_master_table.debit`).
struct PrepaymentSides {
    bool cashSideIsDebit = true;
    bool liabilityIsDebit = false;
};

// The two entries, the amount and its base each: the cash side debited, the liability
// credited. Signed by the journal's convention, a debit is positive on a debit account
// and negative on a credit account (a card's payable account is debited so).
services::JournalEntries prepaymentEntries(const CheckedPrepayment& checked,
                                           const std::string& currency,
                                           const std::string& liabilityAccno,
                                           const PrepaymentSides& sides);

std::optional<SavedPrepayment> saveNewPrepayment(PrepaymentSaveContext& context,
                                                 const PrepaymentDraft& draft,
                                                 const CheckedPrepayment& checked);

}  // namespace keltro::matching
