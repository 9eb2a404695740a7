// Saving a receipt: all of it in one transaction, or nothing.
//
// A new receipt, once checked (ReceiptValidation.h):
//
//     1. its number and key (doctype 'rc', the receipt's fiscal year)
//     2. the header
//     3. each applied row: its Receipt_transaction_table line, then the document line it
//        settles and the document's paid flags (SettledDocuments.h)
//     4. the receipt journal (ReceiptPosting.h)
//     5. when the receipt exceeds what it applies, an unapplied-cash document ('ua') for
//        the excess, and its number and amount on the header
//
// then the commit; the journal's key goes into the header's `GLFKEY` after it (see
// `storeJournalKey`). Completing a receipt stored by the fast receipt screen rewrites its
// header instead of adding one, and checks its rows' invoice dates and accounts on the
// way. Any refusal (a message) or database error rolls everything back, numbers included.
//
// The excess E is kept in the receipt's currency: round((receipt base amount − applied
// base amount) / receipt rate, 2). The unapplied-cash document owes the customer E (its
// line stands at −E), carries the receipt's rate and is offered to later receipts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "receipts/ReceiptPosting.h"
#include "receipts/ReceiptRecords.h"
#include "receipts/ReceiptValidation.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::receipts {

// The module accounts the screen reads when it opens.
struct ModuleAccounts {
    std::string receivable;
    std::string discount;
    std::string writeoff;
    std::string realizedGain;
    std::string realizedLoss;
};

// Where a save runs and who makes it.
struct ReceiptSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    std::string dateFormat;
    ModuleAccounts accounts;
    // The accounts a row's discount and write-off may name (`dd1`, `dd2`).
    std::vector<std::string> rowAccounts;
};

struct SavedReceipt {
    std::string fkey;
    std::string docno;
    std::string glFkey;  // empty when the receipt posted no journal
};

std::optional<SavedReceipt> saveNewReceipt(ReceiptSaveContext& context, const ReceiptDraft& draft,
                                           const CheckedReceipt& checked);

// Completes the stored receipt `stored` (new_from_fast TRUE).
std::optional<SavedReceipt> completeFastReceipt(ReceiptSaveContext& context,
                                                const ReceiptHeader& stored,
                                                const ReceiptDraft& draft,
                                                const CheckedReceipt& checked);

// An unapplied-cash document ('ua'): money a customer paid that no document took, offered
// to later receipts and matching as a credit of −amount.
struct UnappliedCash {
    std::string customerNo;
    db::Date date;  // its number comes from this date's fiscal year
    std::string currency;
    std::optional<double> rate;  // foreign currency only
    int period = 0;
    std::string fyear;
    std::string receiptDocno;
    std::string checkNo;
    std::string sourceForm;
};
struct UnappliedCashContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    std::string user;
};
// Numbers and writes the document inside the caller's transaction; its number, nothing
// after a message.
std::optional<std::string> addUnappliedCashDocument(const UnappliedCashContext& context,
                                                    const UnappliedCash& cash, double amount);

// After the commit: the receipt's journal key in its header (nothing for an empty key).
void storeJournalKey(db::Database& db, const SavedReceipt& saved);

// The unapplied excess in the receipt currency; 0 when the receipt applies all of it.
double unappliedExcess(double receiptBase, double totalBase, double rate);

}  // namespace keltro::receipts
