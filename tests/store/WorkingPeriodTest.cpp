// The working-period rule at the edges of its windows, across a fiscal-year boundary,
// with and without history updates.
#include <gtest/gtest.h>

#include "store/WorkingPeriod.h"

namespace keltro {
namespace {

// Working window: period 11 of 2023 to period 2 of 2024. Allowed history window: period 1
// of 2023 to period 6 of 2023.
store::WorkingPeriodConfig config(bool allowHistory) {
    store::WorkingPeriodConfig c;
    c.activated = true;
    c.working = {"2023", 11, "2024", 2};
    c.allowHistoryUpdate = allowHistory;
    c.allowed = {"2023", 1, "2023", 6};
    return c;
}

struct Case {
    const char* fyear;
    int period;
    bool withoutHistory;
    bool withHistory;
};

TEST(WorkingPeriod, windowEdgesWithAndWithoutHistoryUpdates) {
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fyear) + "/" + std::to_string(c.period));
        EXPECT_EQ(store::isWithinWorkingPeriod(config(false), c.fyear, c.period), c.withoutHistory);
        EXPECT_EQ(store::isWithinWorkingPeriod(config(true), c.fyear, c.period), c.withHistory);
    }
}

TEST(WorkingPeriod, checkAppliesOnlyWhenActivatedWithAnEndPeriod) {
    store::WorkingPeriodConfig off = config(false);
    off.activated = false;
    EXPECT_TRUE(store::isWithinWorkingPeriod(off, "2030", 1));

    store::WorkingPeriodConfig openEnded = config(false);
    openEnded.working.endPeriod.reset();
    EXPECT_TRUE(store::isWithinWorkingPeriod(openEnded, "2030", 1));

    store::WorkingPeriodConfig anyHistory = config(true);
    anyHistory.allowed.endPeriod.reset();
    EXPECT_TRUE(store::isWithinWorkingPeriod(anyHistory, "2001", 1))
        << "history allowed without an allowed window lets every period through";
    EXPECT_EQ(store::periodKey("2024", 3), "202403");
    EXPECT_EQ(store::periodKey("2024", std::nullopt), "2024");
}

}  // namespace
}  // namespace keltro
