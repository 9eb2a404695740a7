// The matching journal: what a saved matching posts to the general ledger, written by the
// shared journal writer inside the save's transaction.
//
// The applied amounts move no account: debit and credit items of one customer offset each
// other inside the receivable account. What the matching changes is posted: discounts
// taken, write-offs and exchange differences. Each line (applied a, discount d,
// write-off w in the item's currency; the item's own rate I, the receipt rate R) adds
//
//     item in base currency      discount +d, write-off +w, receivable −(d + w)
//     item in another currency   base entries: discount +round(d × R), write-off
//                                +round(w × R), receivable −round((d + w) × I) and
//                                +round((R − I) × a), realized gain (x > 0) or loss (x < 0)
//                                for x = round((R − I) × (a + d + w));
//                                currency entries: discount +d, write-off +w, receivable −(d + w)
//
// with every amount signed for its account's side (a credit on a debit account is
// negative). Base entries are lines of ledger 'A' in base currency, currency entries
// lines of ledger 'F'; all base entries come first. The lines carry `amount` only and are
// stamped in `userid`. A matching without discount, write-off or exchange difference
// posts a journal without lines.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/Value.h"
#include "matching/MatchingGrid.h"
#include "services/JournalLines.h"
#include "services/JournalWriter.h"

namespace keltro::matching {

inline constexpr const char* kMatchingSource = "AR-MATCH";
inline constexpr const char* kMatchingForm = "AR Matching";

struct MatchingAccounts {
    std::string receivable;  // the customer's `ar_accno`
    std::string realizedGain;
    std::string realizedLoss;
};

// The entries of a matching, base entries first.
struct MatchingEntries {
    services::JournalEntries base;
    services::JournalEntries currency;
};

// The account when it exists: whether it is kept on the debit side.
using AccountSide = std::function<std::optional<bool>(const std::string& accno)>;

// The entries of the lines; nothing after "please specify receipt exchange rate",
// "please specify discount account", "discount account is invalid",
// "please specify write-off account", "write-off account is invalid" or "No account " +
// a gain, loss or receivable account that does not exist.
std::optional<MatchingEntries> matchingEntries(services::Ui& ui, const AccountSide& sideOf,
                                               const std::string& baseCurrency,
                                               const std::vector<MatchingLine>& lines,
                                               const MatchingAccounts& accounts);

// The matching the journal belongs to.
struct PostedMatching {
    std::string docno;
    db::Date date;
    int period = 0;
    std::string fyear;
    std::string customerNo;
};

// Posts the journal and gives its key; nothing after a message (the receivable account
// missing: "Error : receiveable account for " + customer + " is empty").
std::optional<std::string> postMatchingJournal(services::JournalContext& context,
                                               const PostedMatching& matching,
                                               const std::vector<MatchingLine>& lines,
                                               const MatchingAccounts& accounts);

}  // namespace keltro::matching
