// How a revaluation shows on its screen: the criteria grid read and written, the result
// grid with its totals, the account grid, and the titles of its printout.
//
// The result grid lists the revalued items; after each run of items of one currency a row
// "Total" sums their invoice amount, original base, unrealized amount and new base, and at
// the end a "SUMMARY" row heads one line of the same sums per currency. Amounts show
// "#,##0.00", dates in the user's format, rates as the shortest text that reads back as the
// same number. Those extra rows are for the eye only: a save stores the items.
#pragma once

#include <string>
#include <vector>

#include "framework/ScreenParts.h"
#include "reports/ReportPrint.h"
#include "revaluation/RevaluationRecords.h"
#include "revaluation/RevaluationSearch.h"

namespace keltro::revaluation {

namespace column {
inline constexpr const char* kCurrency = "currency";
inline constexpr const char* kRate = "rate";
inline constexpr const char* kEveryCustomer = "every customer";
inline constexpr const char* kCustomerGroup = "customer group";
inline constexpr const char* kCustomerNo = "customer no";
}  // namespace column

// The first column of the result grid in a total row.
inline constexpr const char* kTotalRow = "Total";
inline constexpr const char* kSummaryRow = "SUMMARY";

// ----- the criteria grid (`dbgridcmd`) ---------------------------------------------------

// A tick as the grid's check cells write it: "1", "-1", "True" … are ticked.
bool isTicked(const std::string& text);

std::vector<Criterion> criteriaOf(const std::vector<framework::GridRow>& rows);
std::vector<framework::GridRow> criteriaRows(const std::vector<Criterion>& criteria);

// ----- the result and account grids (`dbgrid1`, `dbgrid2`) -------------------------------

std::vector<framework::GridRow> resultRows(const std::vector<RevaluedItem>& items,
                                           const std::string& dateFormat);

// `debitCaption` and `creditCaption` carry the base currency: "debit (USD)".
std::vector<framework::GridRow> accountRows(const std::vector<AccountLine>& accounts,
                                            const std::string& debitCaption,
                                            const std::string& creditCaption);

// ----- the printout --------------------------------------------------------------------

// The result grid prints as every report screen's grid does (reports/ReportPrint.h):
// "A/R REVALUATION REPORT" with the revaluation's "Fiscal year : " and "Period : " on the
// title line, files named "ar_revaluation…", the viewer asked for "Preview " + the
// screen's caption.
reports::ReportTitles printTitles(const RevaluationHeader& header, const std::string& screenCaption);

}  // namespace keltro::revaluation
