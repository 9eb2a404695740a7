// `keltro-ar bench aging` on a small book: every run ages and lists every item, the grid
// and the PDF hold its lines, and the classes the runs wrote are in the table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "db/Database.h"
#include "host/Json.h"
#include "support/BenchTarget.h"
#include "support/CommandRun.h"

namespace keltro::bench {
namespace {

using test::runKeltroAr;

TEST(AgingBenchCommand, agesAndListsEveryItemInEachRunAndPrintsTheFirstLines) {
    test::BenchTarget target;
    const auto run = runKeltroAr("bench aging" + target.dbOption() + " --count 3000 --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    if (!target.database) std::filesystem::remove(target.path.string() + ".aging.pdf");

    // 3,000 items of as many customers (of the 10,000): a line and a total each.
    std::vector<std::string> seen;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        SCOPED_TRACE(line);
        const host::Json json = host::parseJson(line);
        EXPECT_EQ(json.text("engine"), std::string(db::engineName(test::testEngine())));
        ASSERT_TRUE(json.member("ms") && json.member("ms")->number());
        EXPECT_GE(*json.member("ms")->number(), 0);
        const std::string bench = *json.text("bench");
        if (bench == "aging") {
            EXPECT_EQ(json.text("items"), "3000");
            EXPECT_EQ(json.text("lines"), "6000");
            seen.push_back(bench + " " + *json.text("run"));
        } else if (bench == "aging_grid") {
            EXPECT_EQ(json.text("rows"), "6000");
            seen.push_back(bench);
        } else {
            EXPECT_EQ(json.text("rows"), "6000");
            const host::Json* written = json.member("written");
            EXPECT_TRUE(written && written->boolean() && *written->boolean());
            EXPECT_GT(std::stoi(*json.text("pages")), 100);
            seen.push_back(bench);
        }
    }
    EXPECT_THAT(seen, ::testing::ElementsAre("aging first", "aging again", "aging next_day", "aging_grid",
                                             "aging_pdf"));

    // The last run, today's, left every item's class written.
    const auto db = db::openDatabase(target.url());
    EXPECT_EQ(db->queryOne("SELECT COUNT(*) FROM AR_transaction_table WHERE age_range IS NULL")->at(0).integerOr(-1), 0);
    EXPECT_EQ(db->queryOne("SELECT COUNT(DISTINCT age_range) FROM AR_transaction_table")->at(0).integerOr(-1), 7)
        << "due dates from 40 days ahead to 159 behind: classes 0 to 6";
}

}  // namespace
}  // namespace keltro::bench
