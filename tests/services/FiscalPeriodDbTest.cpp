// Fiscal year and period of a date over the years the general ledger defined.
#include <gtest/gtest.h>

#include "services/FiscalPeriod.h"
#include "support/TestDatabase.h"

namespace keltro::services {
namespace {

class FiscalPeriodTest : public ::testing::Test {
protected:
    void addYear(const char* fyear, db::Date start, db::Date end) {
        database.db().execute(
            "INSERT INTO Fiscalyear_table (fyear, StartDate, EndDate, history) VALUES (?, ?, ?, FALSE)",
            {fyear, start, end});
    }
    std::optional<FiscalPeriod> periodOf(db::Date date) { return FiscalPeriodOfDate(database.db(), ui, date); }

    test::TestDatabase database{test::Contents::Tables};
    RecordingUi ui;
};

TEST_F(FiscalPeriodTest, periodsCountCalendarMonthsFromTheStart) {
    addYear("2009", {2009, 4, 1}, {2010, 3, 31});  // April to March
    addYear("2010", {2010, 4, 1}, {2011, 3, 31});
    addYear("2012", {2011, 4, 1}, {2012, 4, 30});   // thirteen months
    addYear("2013", {2012, 5, 15}, {2013, 5, 14});  // starts on the 15th
    const std::tuple<db::Date, int, const char*> cases[] = {
        {{2009, 4, 1}, 1, "2009"},   {{2009, 4, 15}, 1, "2009"},  {{2009, 4, 30}, 1, "2009"},
        {{2009, 5, 1}, 2, "2009"},   {{2009, 12, 31}, 9, "2009"}, {{2010, 3, 1}, 12, "2009"},
        {{2010, 3, 31}, 12, "2009"}, {{2010, 4, 1}, 1, "2010"},   {{2011, 3, 31}, 12, "2010"},
        {{2012, 4, 30}, 13, "2012"}, {{2012, 3, 31}, 12, "2012"}, {{2012, 5, 15}, 1, "2013"},
        {{2012, 5, 31}, 1, "2013"},  {{2012, 6, 1}, 2, "2013"},   {{2013, 5, 14}, 13, "2013"},
    };
    for (const auto& [date, period, fyear] : cases)
        EXPECT_EQ(periodOf(date), (FiscalPeriod{period, fyear})) << date.iso();
    EXPECT_TRUE(ui.said().empty());
}

TEST_F(FiscalPeriodTest, aDateOutsideEveryYearIsRefusedAndOverlapsGoToTheRowAddedFirst) {
    EXPECT_EQ(periodOf({2009, 4, 1}), std::nullopt);  // no years at all
    addYear("B", {2009, 7, 1}, {2010, 6, 30});
    addYear("A", {2009, 1, 1}, {2009, 12, 31});
    EXPECT_EQ(periodOf({2008, 12, 31}), std::nullopt);
    EXPECT_EQ(periodOf({2010, 7, 1}), std::nullopt);
    EXPECT_EQ(ui.texts(), (std::vector<std::string>{"No fiscal year for 2009-04-01", "No fiscal year for 2008-12-31",
                                                    "No fiscal year for 2010-07-01"}));
    EXPECT_EQ(ui.said().at(0).kind, RecordingUi::Kind::Message);
    EXPECT_EQ(periodOf({2009, 8, 1}), (FiscalPeriod{2, "B"}));
    EXPECT_EQ(periodOf({2009, 6, 30}), (FiscalPeriod{6, "A"}));
}

}  // namespace
}  // namespace keltro::services
