// Due and discount dates from a payment term: the cash term, terms without early
// discount, and counting across month, leap-day and year ends.
#include <gtest/gtest.h>

#include "store/ReferenceData.h"

namespace keltro {
namespace {

using db::Date;

struct Case {
    const char* what;
    store::PaymentTerm term;
    Date start;
    std::optional<Date> due;
    std::optional<Date> discount;
};

store::PaymentTerm term(const char* paymentTerm, std::optional<int> duedays,
                        std::optional<int> earlyDays) {
    store::PaymentTerm t;
    t.termNo = paymentTerm;
    t.paymentTerm = paymentTerm;
    t.duedays = duedays;
    t.earlyDays = earlyDays;
    return t;
}

TEST(ReferenceTermDates, dueAndDiscountDatesFromATerm) {
    const std::vector<Case> cases = {
        {"net 30 with 10 days' discount", term("30", 30, 10), {2024, 3, 15},
         Date{2024, 4, 14}, Date{2024, 3, 25}},
        {"cash term: no due date", term("00", 30, 10), {2024, 3, 15}, std::nullopt,
         Date{2024, 3, 25}},
        {"no early days: no discount date", term("30", 30, std::nullopt), {2024, 3, 15},
         Date{2024, 4, 14}, std::nullopt},
        {"zero early days: no discount date", term("30", 30, 0), {2024, 3, 15},
         Date{2024, 4, 14}, std::nullopt},
        {"negative early days: no discount date", term("30", 30, -5), {2024, 3, 15},
         Date{2024, 4, 14}, std::nullopt},
        {"empty due days count as 0", term("COD", std::nullopt, std::nullopt), {2024, 3, 15},
         Date{2024, 3, 15}, std::nullopt},
        {"month end into a leap February", term("30", 29, 1), {2024, 1, 31}, Date{2024, 2, 29},
         Date{2024, 2, 1}},
        {"month end past a common February", term("30", 30, 28), {2023, 1, 31},
         Date{2023, 3, 2}, Date{2023, 2, 28}},
        {"across the year end", term("30", 30, 1), {2024, 12, 31}, Date{2025, 1, 30},
         Date{2025, 1, 1}},
        {"a long term over a leap year", term("365", 366, 365), {2024, 1, 1},
         Date{2025, 1, 1}, Date{2024, 12, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const store::TermDates dates = store::termDates(c.term, c.start);
        EXPECT_EQ(dates.dueDate, c.due);
        EXPECT_EQ(dates.discountDate, c.discount);
    }
}

}  // namespace
}  // namespace keltro
