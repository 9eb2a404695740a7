// Saving a revaluation: its four tables and its two journals in one transaction, or
// nothing.
//
// Checked first, in this order, each refusal a message and nothing written:
//     "please specify period", "please specify fiscal year",
//     "Fiscal period/year is out of working period." (store/WorkingPeriod.h)
//
// Then, in one transaction:
//     1. the number and key of document type "arre" in the revaluation's fiscal year
//     2. the header, the criteria lines, one result row per revalued item and one summary
//        row per account line (the debit, or minus the credit)
//     3. the revaluation journal ("AR-REVALUE", remark "A/R Revaluation", dated on the
//        revaluation date, in its period): one base-currency line per account line, the
//        summary amount signed by the account's normal side — a receivable debited 150.00
//        is +150.00, the gain account credited 150.00 is +150.00 too
//     4. the reversing journal: the same lines negated, dated today, remark "Reverse A/R
//        Revaluation " + number, in the period after the revaluation's — period 1 of the
//        next fiscal year after the last period of a year (the host's number of periods)
//     5. the revaluation journal's key on the header; commit.
// A refusal on the way (numbering, accounts, balances, the journal check) or a database
// error rolls everything back.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"
#include "revaluation/RevaluationSearch.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::revaluation {

// What the person typed on the header.
struct RevaluationDraft {
    std::optional<db::Date> date;  // the revaluation date; today when empty
    std::string description;
    std::string periodText;
    std::string fyear;
};

struct RevaluationSaveContext {
    db::Database& db;
    services::Ui& ui;
    const services::Clock& clock;
    services::LedgerContext& ledger;
    std::string user;
    std::string baseCurrency;
    int periodsPerYear = 12;  // the host's number of periods
};

struct SavedRevaluation {
    std::string fkey;
    std::string docno;
    std::string glFkey;
    std::string reversingGlFkey;  // empty when the revaluation moved no account
};

// A fiscal period.
struct PeriodOfYear {
    int period = 0;
    std::string fyear;

    bool operator==(const PeriodOfYear&) const = default;
};

// The period after `period` of `fyear`: period 1 of the next year (the year's number plus
// one) after the last period. Nothing when the year is not a number.
std::optional<PeriodOfYear> periodAfter(const PeriodOfYear& period, int periodsPerYear);

// The header checks; the period to save into, or nothing after the message.
std::optional<PeriodOfYear> checkRevaluation(db::Database& db, services::Ui& ui,
                                             const RevaluationDraft& draft);

// Steps 1 to 5 in their own transaction; nothing after a refusal's message (the
// transaction rolled back). Database errors are thrown, after the rollback.
std::optional<SavedRevaluation> saveRevaluation(RevaluationSaveContext& context,
                                                const RevaluationDraft& draft,
                                                const PeriodOfYear& period,
                                                const Revaluation& revaluation);

}  // namespace keltro::revaluation
