// The receipt journal: what a saved receipt posts to the general ledger, one journal per
// receipt, written by the shared journal writer inside the save's transaction.
//
// Each applied row (applied amount A, discount D, write-off W, settled S = A + D + W, in
// the row's currency; the document's rate IR, the rate it is received at RR) adds to the
// entries, per account and currency:
//
//     the account the money went into   A        base: A, or round(A × RR, 2)
//     the row's discount account        D        base: D, or round(D × RR, 2)
//     the row's write-off account       W        base: W, or round(W × RR, 2)
//     the receivable account           -S        base: -S, or round(-S × IR, 2)
//     realized loss (or gain)          |X|       base currency, X = round((IR - RR) × S, 2)
//
// The exchange difference X goes to the realized loss account when it is positive (the
// documents were worth more than what came in for them) and to the realized gain account
// when it is negative. Every line follows its entry's own currency, an 'F' line at the
// rate its amounts imply; a foreign-currency receipt off by a cent after rounding gets a
// rounding line. The worked example, received at 1.40 on a document at 1.50:
//
//     debit account 98.00 / 137.20, discount 2.00 / 2.80, receivable -100.00 / -150.00,
//     realized loss 10.00 / 10.00
//
// A receipt completed from the fast receipt screen finds the money already posted: the
// batch line's journal debited the bank and credited the receivable with it. Its journal
// leaves out the debit account and gives the receivable back what that line took
// (A, base round(A × RR, 2)), so that only discount, write-off and exchange difference are
// posted.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/Value.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptRecords.h"
#include "services/JournalLines.h"
#include "services/JournalWriter.h"

namespace keltro::receipts {

struct ReceiptAccounts {
    std::string debit;       // where the money went
    std::string receivable;  // the customer's, else the module's
    std::string realizedGain;
    std::string realizedLoss;
};

enum class DebitPosting {
    Receipt,        // a receipt: the money is debited here
    AlreadyPosted,  // a completed fast receipt: the batch posted it
};

using AccountExists = std::function<bool(const std::string& accno)>;

// The entries of the rows; nothing after "please specify receipt exchange rate",
// "please specify discount account", "discount account is invalid",
// "please specify write-off account" or "write-off account is invalid".
std::optional<services::JournalEntries> receiptJournalEntries(
    services::Ui& ui, const AccountExists& accountExists, const std::string& baseCurrency,
    const std::vector<ApplicationLine>& lines, const ReceiptAccounts& accounts, DebitPosting debit);

// The receipt the journal belongs to.
struct PostedReceipt {
    std::string docno;
    db::Date date;
    int period = 0;
    std::string fyear;
    std::string currency;
    std::optional<double> exchangeRate;  // foreign currency only
    std::string customerNo;
};

// Posts the journal; its key, "" when the entries move nothing (a completed fast receipt
// without discount, write-off or exchange difference), nothing after a message.
std::optional<std::string> postReceiptJournal(services::JournalContext& context,
                                              const PostedReceipt& receipt,
                                              const std::vector<ApplicationLine>& lines,
                                              const ReceiptAccounts& accounts, DebitPosting debit);

}  // namespace keltro::receipts
