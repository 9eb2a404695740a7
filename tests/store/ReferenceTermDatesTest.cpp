// Due and discount dates from a payment term: the cash term, terms without early
// discount, and counting across month, leap-day and year ends.
#include <gtest/gtest.h>

#include "store/ReferenceData.h"

namespace keltro::store {
namespace {

using db::Date;

PaymentTerm term(const char* paymentTerm, std::optional<int> duedays, std::optional<int> earlyDays) {
    return {.termNo = "T", .paymentTerm = paymentTerm, .duedays = duedays, .earlyDays = earlyDays};
}

TEST(ReferenceTermDates, dueAndDiscountDatesFromATerm) {
    const std::tuple<const char*, PaymentTerm, Date, std::optional<Date>, std::optional<Date>> cases[] = {
        // what, term, start, due date, discount date
        {"net 30 with 10 days' discount", term("30", 30, 10), {2024, 3, 15}, {{2024, 4, 14}}, {{2024, 3, 25}}},
        {"cash term: no due date", term("00", 30, 10), {2024, 3, 15}, {}, {{2024, 3, 25}}},
        {"no early days: no discount date", term("30", 30, {}), {2024, 3, 15}, {{2024, 4, 14}}, {}},
        {"zero early days: no discount date", term("30", 30, 0), {2024, 3, 15}, {{2024, 4, 14}}, {}},
        {"negative early days: no discount date", term("30", 30, -5), {2024, 3, 15}, {{2024, 4, 14}}, {}},
        {"empty due days count as 0", term("COD", {}, {}), {2024, 3, 15}, {{2024, 3, 15}}, {}},
        {"month end into a leap February", term("30", 29, 1), {2024, 1, 31}, {{2024, 2, 29}}, {{2024, 2, 1}}},
        {"month end past a common February", term("30", 30, 28), {2023, 1, 31}, {{2023, 3, 2}}, {{2023, 2, 28}}},
        {"across the year end", term("30", 30, 1), {2024, 12, 31}, {{2025, 1, 30}}, {{2025, 1, 1}}},
        {"a long term over a leap year", term("365", 366, 365), {2024, 1, 1}, {{2025, 1, 1}}, {{2024, 12, 31}}},
    };
    for (const auto& [what, term, start, due, discount] : cases) {
        SCOPED_TRACE(what);
        const TermDates dates = termDates(term, start);
        EXPECT_EQ(dates.dueDate, due);
        EXPECT_EQ(dates.discountDate, discount);
    }
}

}  // namespace
}  // namespace keltro::store
