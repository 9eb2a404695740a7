// Saving a matching: the checks, first failure wins and nothing is written,
//
//     1. the credit side differs from the debit side   "Unapplied amount must equal Invoice amount"
//     2. "please specify date", "please specify customer", "please specify period",
//        "please specify fiscal year"
//     3. the working period                            "Fiscal period/year is out of working period."
//     4. the line checks (MatchingGrid.h `lineRefusal`)
//
// then one transaction: the number and key (doctype "mc", the matching's fiscal year), the
// header, for each line that settles something its matching line and the open item it
// lowers (with the matching's flag statements on the item's document, see
// receipts/SettledDocuments.h), the journal (MatchingPosting.h) and its key on the header.
// Any refusal or database error rolls all of it back, numbers included.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "matching/MatchingGrid.h"
#include "matching/MatchingPosting.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::matching {

// The screen as the save reads it.
struct MatchingDraft {
    std::optional<db::Date> date;
    std::optional<db::Date> rateDate;
    std::string customerNo;
    std::string remark;
    std::string periodText;
    std::string fyear;
    std::string unappliedText;    // `txtua_amount` as shown
    std::string invoiceBaseText;  // `txtinvoice_base`
    std::string totalText;        // `txttotal`
    std::string totalCurrency;    // `label_total_currency`
    std::optional<std::string> lineRefusal;  // the first line check that failed
    std::vector<MatchingLine> lines;
    std::string dateFormat;
};

struct CheckedMatching {
    db::Date date;
    int period = 0;
    std::string fyear;
    std::string customerNo;
    std::string receivable;  // the customer's `ar_accno`
};

std::optional<CheckedMatching> checkMatching(db::Database& db, services::Ui& ui,
                                             const MatchingDraft& draft);

struct MatchingSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    std::string realizedGain;
    std::string realizedLoss;
};

struct SavedMatching {
    std::string fkey;
    std::string docno;
    std::string glFkey;
};

// Nothing after a message (a database error is thrown): the transaction is rolled back.
std::optional<SavedMatching> saveNewMatching(MatchingSaveContext& context,
                                             const MatchingDraft& draft,
                                             const CheckedMatching& checked);

}  // namespace keltro::matching
