// The fiscal year and period a date falls in.
//
// The general ledger defines the fiscal years (`Fiscalyear_table`: `fyear`, `StartDate`,
// `EndDate`, both ends inclusive); A/R only reads them. A date belongs to the first year,
// in the order the table holds its rows (the order they were added), whose dates enclose
// it; overlapping years are not refused, the earlier row simply wins.
//
// The period counts calendar months: 1 for the month the year starts in, one more at every
// first of a month after that. A year from 1 April gives period 1 for 15 April and 12 for
// 1 March; a year starting on the 15th gives period 2 from the 1st of the next month; a
// year running over thirteen calendar months has a period 13.
//
// A date outside every year is refused with "No fiscal year for " and the date as
// "YYYY-MM-DD" (the program's general date form), e.g. "No fiscal year for 2008-03-31".
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::services {

struct FiscalPeriod {
    int period = 0;     // 1 to 13
    std::string fyear;  // as stored, e.g. "2009"

    bool operator==(const FiscalPeriod&) const = default;
};

// The fiscal year and period of `date`; nullopt after the "No fiscal year for " message.
std::optional<FiscalPeriod> FiscalPeriodOfDate(db::Database& db, Ui& ui, const db::Date& date);

}  // namespace keltro::services
