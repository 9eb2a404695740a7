// Which recurring-invoice definitions are due, and on what day.
//
// A definition falls due once a month ("monthly") or once a quarter ("quarterly"), on the
// day its `recur_date` names in the current month:
//
//     recur_date 0     today (the invoice is issued by hand, whenever the person asks)
//     recur_date 31    the last day of the month (28 February 2027, 30 April 2027)
//     recur_date n     the first of the month plus n - 1 days (the 5th for 5)
//
// The due list first marks `inactive` every definition whose `end_date` lies before
// today, then offers each definition whose `begin_date` .. `end_date` holds today unless
// an invoice generated from it (`AR_header_table.recur_no`) already falls in the current
// period: the current month for a monthly one, the current quarter (January-March,
// April-June ...) for a quarterly one. Generated invoices carry their invoice date's month
// as two digits (`month`, "02") and year as four (`year`, "2027"), which is what is searched.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "store/RecurringDefinition.h"

namespace keltro::reports {

inline constexpr const char* kMonthly = "monthly";
inline constexpr const char* kQuarterly = "quarterly";

// The day a definition with this `recur_date` falls due in the month of `today`.
db::Date dueDateInMonth(int recurDate, const db::Date& today);

// The months ("01" .. "12") of the current period of a frequency: the month of `today`
// for "monthly" (and anything else), its quarter's three months for "quarterly".
struct PeriodMonths {
    std::string first;
    std::string last;
};
PeriodMonths periodMonths(const std::string& frequency, const db::Date& today);

// A definition the due list offers, with the day it falls due.
struct DueDefinition {
    store::RecurHeader header;
    db::Date dueDate;
};

// The whole due list (after marking the expired definitions inactive), in the order the
// definitions are stored; `progress(done, total)` after each definition looked at.
std::vector<DueDefinition> listDueDefinitions(
    db::Database& db, const db::Date& today,
    const std::function<void(long done, long total)>& progress = {});

// Every definition, or those of one customer (empty: every customer), in stored order.
std::vector<store::RecurHeader> findDefinitions(db::Database& db, const std::string& customerNo);

}  // namespace keltro::reports
