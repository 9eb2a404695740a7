// The stored revaluation: four tables tied by the revaluation's number (`docno`) and key
// (`fkey`, "1arre-" + counter).
//
//     AR_Revalue_header_table       one row: cut-off and revaluation dates, description,
//                                   period, fiscal year, the revaluation journal's key
//     AR_Revalue_transaction_table  the criteria lines (currency, rate, customers)
//     AR_Revalue_Result_table       one row per revalued open item
//     AR_Revalue_GL_summary_table   one row per account line: the debit, or minus the credit
//
// The writers run inside the save's transaction; the readers give a stored revaluation
// back as a run gave it (its results in the order they were written). Revaluations are
// walked by the number of their key: the last is the highest, next and previous the
// nearest above and below.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "revaluation/RevaluationSearch.h"
#include "services/Ui.h"

namespace keltro::revaluation {

inline constexpr const char* kRevaluationDoctype = "arre";

struct RevaluationHeader {
    std::string docno;
    std::string fkey;
    std::optional<db::Date> cutoff;  // `last_transaction_date`
    std::optional<db::Date> date;
    std::string description;
    std::optional<int> period;
    std::string fyear;
    std::string glFkey;
    bool printed = false;
};

// ----- writing ---------------------------------------------------------------------

void insertHeader(db::Database& db, const RevaluationHeader& header);
void storeJournalKey(db::Database& db, const std::string& fkey, const std::string& glFkey);
void insertCriteria(db::Database& db, const RevaluationHeader& header,
                    const std::vector<Criterion>& criteria);
// Reports its progress to `ui` as it goes.
void insertResults(db::Database& db, services::Ui& ui, const RevaluationHeader& header,
                   const std::vector<RevaluedItem>& items);
void insertSummary(db::Database& db, const RevaluationHeader& header,
                   const std::vector<AccountLine>& accounts);

// ----- reading ---------------------------------------------------------------------

std::optional<RevaluationHeader> findHeader(db::Database& db, const std::string& fkey);
std::optional<RevaluationHeader> findHeaderByDocno(db::Database& db, const std::string& docno);

// The stored criteria, results and account lines (with names and sides from the chart of
// accounts, customer names from the customers).
Revaluation readRevaluation(db::Database& db, const RevaluationHeader& header);

// ----- walking ---------------------------------------------------------------------

std::optional<std::string> lastRevaluationKey(db::Database& db);
// The key after (`step` +1) or before (−1) `fkey`; nothing at either end.
std::optional<std::string> neighbourRevaluationKey(db::Database& db, const std::string& fkey,
                                                   int step);

}  // namespace keltro::revaluation
