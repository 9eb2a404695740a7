// The balance of one account, ledger and currency over one fiscal year, period by period.
//
// A `Balance_period_table` row holds, for one fiscal year, the balance brought forward
// (`opening_balance`), the movement of each period (`period1`, `Period2`, `Period3`,
// `period4` .. `period13`), the adjustment and closing movements of the year (`adjust`,
// `closing`), the balance at the end of each period (`balperiod1` .. `balperiod13`) and
// the year-to-date balance (`ytd_balance`); the `e_` columns hold the same quantities in
// base currency. The period-end balances run from the opening through the periods; the
// year-to-date balance adds the adjustment and closing movements too:
//
//     opening 50, period 3 moves +100:
//         balperiod1 = 50, balperiod2 = 50, balperiod3 .. balperiod13 = 150, ytd = 150
//     a further +7 in "AD" (adjust): every balperiod stays, ytd = 157
//
// A journal line names its movement by a period code: "1" to "13" for a period, "AD" for
// the adjustment column and "CL" for the closing column; any other code moves nothing.
// Every sum is rounded to cents on the way (services/Money.h). An empty (Null) column
// counts as 0, and is stored as 0 once the row has been recalculated. The opening
// balance is never changed here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Row.h"

namespace keltro::services {

inline constexpr int kPeriodCount = 13;
// Movement slots: 0 .. 12 are periods 1 .. 13, then the adjustment and closing columns.
inline constexpr int kAdjustSlot = 13;
inline constexpr int kClosingSlot = 14;
inline constexpr int kMovementSlots = 15;

// One side of a period row: the plain columns, or the base-currency `e_` columns.
struct PeriodSide {
    double opening = 0;
    std::array<double, kMovementSlots> movements{};
    std::array<double, kPeriodCount> periodEnd{};  // balperiod1 .. balperiod13
    double ytd = 0;
};

struct PeriodBalances {
    PeriodSide plain;
    PeriodSide base;  // the e_ columns
};

// The movement slot of a period code; nullopt for a code that moves nothing.
std::optional<int> MovementSlot(std::string_view periodCode);

// Adds `value` to the movement of `periodCode` and recalculates the plain side.
void AddPeriodAmount(PeriodBalances& row, std::string_view periodCode, double value);
// The same on the base-currency side.
void AddPeriodAmountBase(PeriodBalances& row, std::string_view periodCode, double value);

// Period-end and year-to-date balances from the opening and the movements.
void RecalcPeriodBalances(PeriodBalances& row);
void RecalcPeriodBalancesBase(PeriodBalances& row);
// The same for one side, as both operations and the books audit compute it.
PeriodSide RecalculatedSide(PeriodSide side);

// ----- the row's columns --------------------------------------------------------------

// Column names of one side, in the order `PeriodSide` holds them: opening, the fifteen
// movements, the thirteen period-end balances, year to date. `prefix` is "" or "e_".
std::vector<std::string> PeriodSideColumns(std::string_view prefix);

// The amounts of a `Balance_period_table` row (every amount column selected).
PeriodBalances ReadPeriodBalances(const db::Row& row);

// The openings and movements of a row, both sides; the period-end and year-to-date
// balances are left at 0 (a recalculation makes them anew from these), so the row needs
// only the `PeriodMovementColumns`.
PeriodBalances ReadPeriodMovements(const db::Row& row);
std::vector<std::string> PeriodMovementColumns();

// The values of one side in column order, opening included (see PeriodSideColumns).
std::vector<double> PeriodSideValues(const PeriodSide& side);

}  // namespace keltro::services
