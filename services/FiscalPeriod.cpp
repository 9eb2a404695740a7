#include "services/FiscalPeriod.h"

namespace keltro::services {

namespace {

bool encloses(const db::Row& year, const db::Date& date) {
    const auto start = year["StartDate"].date();
    const auto end = year["EndDate"].date();
    return start && end && *start <= date && date <= *end;
}

int monthsBetween(const db::Date& from, const db::Date& to) {
    return (to.year - from.year) * 12 + (to.month - from.month);
}

}  // namespace

std::optional<FiscalPeriod> FiscalPeriodOfDate(db::Database& db, Ui& ui, const db::Date& date) {
    // No ORDER BY: the years are tried in the order the table holds them.
    for (const auto& year : db.query("SELECT * FROM Fiscalyear_table")) {
        if (encloses(year, date))
            return FiscalPeriod{monthsBetween(*year["StartDate"].date(), date) + 1,
                                year["fyear"].textOr()};
    }
    ui.message("No fiscal year for " + date.iso());
    return std::nullopt;
}

}  // namespace keltro::services
