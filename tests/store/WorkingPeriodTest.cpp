// The working-period rule at the edges of its windows, across a fiscal-year boundary,
// with and without history updates.
#include <gtest/gtest.h>

#include "store/WorkingPeriod.h"

namespace keltro::store {
namespace {

// Working window: period 11 of 2023 to period 2 of 2024. Allowed history window: period 1
// of 2023 to period 6 of 2023.
WorkingPeriodConfig config(bool allowHistory) {
    return {.activated = true, .working = {"2023", 11, "2024", 2}, .allowHistoryUpdate = allowHistory,
            .allowed = {"2023", 1, "2023", 6}};
}

TEST(WorkingPeriod, windowEdgesWithAndWithoutHistoryUpdatesWhenActivatedWithAnEndPeriod) {
    const std::tuple<const char*, int, bool, bool> cases[] = {
        // fyear, period, allowed without history updates, allowed with them
        {"2023", 11, true, true},    // first working period
        {"2023", 12, true, true},    // last period of the year, inside
        {"2024", 1, true, true},     // across the year boundary
        {"2024", 2, true, true},     // last working period
        {"2024", 3, false, false},   // one after
        {"2023", 10, false, false},  // one before, between the windows
        {"2023", 6, false, true},    // last allowed history period
        {"2023", 7, false, false},   // one after the allowed window
        {"2023", 1, false, true},    // first allowed history period
        {"2022", 12, false, false},  // one before the allowed window
        {"2024", 13, false, false},  // adjustment period of a later year
    };
    for (const auto& [fyear, period, withoutHistory, withHistory] : cases) {
        SCOPED_TRACE(std::string(fyear) + "/" + std::to_string(period));
        EXPECT_EQ(isWithinWorkingPeriod(config(false), fyear, period), withoutHistory);
        EXPECT_EQ(isWithinWorkingPeriod(config(true), fyear, period), withHistory);
    }

    // The check applies only when activated with an end period.
    WorkingPeriodConfig off = config(false), openEnded = config(false), anyHistory = config(true);
    off.activated = false;
    openEnded.working.endPeriod.reset();
    anyHistory.allowed.endPeriod.reset();  // history allowed without an allowed window: every period
    for (const auto& c : {off, openEnded}) EXPECT_TRUE(isWithinWorkingPeriod(c, "2030", 1));
    EXPECT_TRUE(isWithinWorkingPeriod(anyHistory, "2001", 1));
    EXPECT_EQ(periodKey("2024", 3), "202403");
    EXPECT_EQ(periodKey("2024", std::nullopt), "2024");
}

}  // namespace
}  // namespace keltro::store
