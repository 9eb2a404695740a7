// The aging of open items: how many 30-day classes an item's due date lies behind the
// report's day, and the statement's lines, customer by customer.
//
// A run rewrites `age_range` of every unpaid item of every customer in one statement, so
// the classes stay in the table for other readers (on a second connection, beside the
// reading of the statement, when the database can open one):
//
//     class = (days from the due date to the day) \ 30 + 1      (\ drops the fraction)
//
// which gives class 1 from 29 days before the due date to 29 days after it, 2 from 30 to
// 59 days overdue, 3 from 60 to 89, 4 from 90 on. An item is aged by `due_datedb` when it
// carries one; invoice lines are saved without it, so they are aged by their `due_date`,
// and a line with neither by its invoice date. The statement then lists the unpaid items
// of one customer or of all ("*" or nothing), by customer, document and pay item.
//
// Placing a class in the four age columns: 1 and anything earlier (an item 30 days or more
// before its due date) go in "1 - 30", 4 and anything later (120 days on) in "> 90".
//
// A run may look back to an earlier day (`asOf`): the items open on that day are aged by
// it, with the open amount they had then (payments of receipts and matchings dated after
// it given back); the stored classes are left as the last run of today set them. The
// class width may differ from 30 days as well; the four columns stay.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"

namespace keltro::reports {

inline constexpr int kDefaultClassWidth = 30;

// The four age columns, by their captions.
inline constexpr const char* kAgeColumns[] = {"1 - 30", "31 - 60", "61 - 90", "> 90"};

// The age column (0 to 3) a class is shown in.
int ageColumnOf(long ageClass);

struct AgingRun {
    std::string customer;          // "" or "*": every customer
    db::Date today;                // the clock's day
    std::optional<db::Date> asOf;  // a day before today to look back to
    int classWidth = kDefaultClassWidth;

    bool everyCustomer() const { return customer.empty() || customer == "*"; }
    const db::Date& agedOn() const { return asOf ? *asOf : today; }
};

// A customer of the statement, with the name and credit limit its first line shows.
struct AgingCustomer {
    std::string customerNo;
    std::string name;
    std::optional<double> creditLimit;
};

// One line of the statement: an item, or a customer's total after its items. A statement
// may have a million of them, so a line is kept small: its customer is a position in the
// statement's customers, its document number and pay item lie in the statement's text.
struct AgingLine {
    bool total = false;
    bool firstOfCustomer = false;  // shows the customer's name and credit limit
    std::int8_t ageColumn = -1;    // 0 to 3; -1 on a total line
    std::uint16_t docnoLength = 0;
    std::uint16_t payItemLength = 0;
    std::uint32_t customer = 0;    // in AgingStatement::customers
    std::uint32_t text = 0;        // where the docno, then the pay item, start
    std::optional<db::Date> invoiceDate;
    double grossAmount = 0;
    double openAmount = 0;  // the customer's total on a total line
};

struct AgingStatement {
    std::vector<AgingCustomer> customers;
    std::vector<AgingLine> lines;
    std::string texts;  // the lines' document numbers and pay items

    const AgingCustomer& customerOf(const AgingLine& line) const { return customers[line.customer]; }
    std::string_view docno(const AgingLine& line) const { return {texts.data() + line.text, line.docnoLength}; }
    std::string_view payItem(const AgingLine& line) const {
        return {texts.data() + line.text + line.docnoLength, line.payItemLength};
    }
};

// Rewrites `age_range` of every unpaid item as of `day`; gives the number of rows
// written (those whose class changed).
std::int64_t AgeUnpaidItems(db::Database& db, const db::Date& day, int classWidth);

// The run: the classes rewritten (not on a look back) and the statement's lines, each
// line's class worked out as it is read; the run returns once both are done and throws
// what stopped either. `progress(done, total)` is called as the lines are made.
AgingStatement RunAging(db::Database& db, const AgingRun& run,
                                const std::function<void(long, long)>& progress = {});

}  // namespace keltro::reports
