#include "reports/RecurringDue.h"

#include <map>
#include <set>

#include "store/ArDocument.h"
#include "store/ReferenceData.h"

namespace keltro::reports {

namespace {

constexpr int kLastDayOfMonth = 31;

db::Date firstOfMonth(const db::Date& day) { return {day.year, day.month, 1}; }

db::Date lastOfMonth(const db::Date& day) {
    const db::Date firstOfNext =
        day.month == 12 ? db::Date{day.year + 1, 1, 1} : db::Date{day.year, day.month + 1, 1};
    return store::addDays(firstOfNext, -1);
}

// The months of the current quarter in which each definition already has an invoice, by
// `recurno`, among the definitions whose range holds today.
std::map<std::string, std::set<std::string>> generatedThisQuarter(db::Database& db,
                                                                  const db::Date& today) {
    const PeriodMonths quarter = periodMonths(kQuarterly, today);
    const db::Rows rows = db.query(
        "SELECT recur_no, [month] FROM AR_header_table WHERE [year] = ? AND [month] >= ? AND "
        "[month] <= ? AND recur_no IN (SELECT recurno FROM AR_recur_header_table "
        "WHERE begin_date <= ? AND end_date >= ?)",
        {std::to_string(today.year), quarter.first, quarter.last, today, today});
    std::map<std::string, std::set<std::string>> months;
    for (const auto& row : rows) months[row["recur_no"].textOr()].insert(row["month"].textOr());
    return months;
}

// Only the two frequencies a definition may have are ever due.
bool isFrequency(const std::string& frequency) {
    return frequency == kMonthly || frequency == kQuarterly;
}

bool alreadyGenerated(const std::set<std::string>& generatedMonths, const PeriodMonths& period) {
    for (const auto& month : generatedMonths)
        if (month >= period.first && month <= period.last) return true;
    return false;
}

}  // namespace

db::Date dueDateInMonth(int recurDate, const db::Date& today) {
    if (recurDate == 0) return today;
    if (recurDate == kLastDayOfMonth) return lastOfMonth(today);
    return store::addDays(firstOfMonth(today), recurDate - 1);
}

PeriodMonths periodMonths(const std::string& frequency, const db::Date& today) {
    if (frequency != kQuarterly) {
        const std::string month = store::monthText(today.month);
        return {month, month};
    }
    const int quarter = (today.month - 1) / 3 + 1;
    return {store::monthText(3 * (quarter - 1) + 1), store::monthText(3 * quarter)};
}

std::vector<DueDefinition> listDueDefinitions(
    db::Database& db, const db::Date& today,
    const std::function<void(long done, long total)>& progress) {
    db.execute(
        "UPDATE AR_recur_header_table SET inactive = TRUE WHERE end_date < ? AND inactive = FALSE",
        {today});
    const db::Rows rows = db.query(
        "SELECT * FROM AR_recur_header_table WHERE begin_date <= ? AND end_date >= ? "
        "ORDER BY recurno",
        {today, today});
    const auto generated = generatedThisQuarter(db, today);
    std::vector<DueDefinition> due;
    const long total = static_cast<long>(rows.size());
    long done = 0;
    for (const auto& row : rows) {
        store::RecurHeader header = store::readRecurHeader(row);
        const auto found = generated.find(header.recurno);
        const bool generatedBefore =
            found != generated.end() &&
            alreadyGenerated(found->second, periodMonths(header.frequency, today));
        if (isFrequency(header.frequency) && !generatedBefore) {
            const db::Date dueDate = dueDateInMonth(header.recurDate, today);
            due.push_back({std::move(header), dueDate});
        }
        if (progress) progress(++done, total);
    }
    return due;
}

std::vector<store::RecurHeader> findDefinitions(db::Database& db, const std::string& customerNo) {
    const db::Rows rows =
        customerNo.empty()
            ? db.query("SELECT * FROM AR_recur_header_table ORDER BY recurno")
            : db.query("SELECT * FROM AR_recur_header_table WHERE customer_no = ? ORDER BY recurno",
                       {customerNo});
    std::vector<store::RecurHeader> headers;
    headers.reserve(rows.size());
    for (const auto& row : rows) headers.push_back(store::readRecurHeader(row));
    return headers;
}

}  // namespace keltro::reports
