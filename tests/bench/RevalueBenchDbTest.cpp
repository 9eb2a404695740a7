// `keltro-ar bench revalue`: one JSON line per mode with both timings, every open item
// revalued by each measurement, and the books in order afterwards.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/Json.h"
#include "support/BenchTarget.h"
#include "support/CommandRun.h"

namespace keltro::bench {
namespace {

using ::testing::HasSubstr;
using test::runKeltroAr;

TEST(RevalueBenchCommand, printsALinePerModeRevaluesEveryItemAndLeavesTheBooksInOrder) {
    test::BenchTarget target;
    const auto run = runKeltroAr("bench revalue" + target.dbOption() +
                                 " --count 240 --mode both --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    std::vector<std::string> modes;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        SCOPED_TRACE(line);
        const host::Json json = host::parseJson(line);
        EXPECT_EQ(json.text("bench"), "revalue");
        EXPECT_EQ(json.text("engine"), std::string(db::engineName(test::testEngine())));
        EXPECT_EQ(json.text("items"), "240");
        EXPECT_EQ(json.text("customers"), "240");
        for (const char* figure : {"find_ms", "save_ms", "find_cpu_ms", "save_cpu_ms"}) {
            const host::Json* value = json.member(figure);
            ASSERT_TRUE(value && value->number()) << figure;
            EXPECT_GE(*value->number(), 0) << figure;
        }
        EXPECT_GT(*json.member("save_ms")->number(), 0);
        modes.push_back(*json.text("mode"));
    }
    EXPECT_THAT(modes, ::testing::ElementsAre("durable", "cpu"));

    auto db = db::openDatabase(target.url());
    EXPECT_EQ(db->queryOne("SELECT COUNT(*) FROM AR_Revalue_Result_table")->at(0).integerOr(0), 480);
    // Every tenth item is a credit note: the run met losses as well as gains.
    EXPECT_GT(db->queryOne("SELECT COUNT(*) FROM AR_Revalue_Result_table WHERE "
                           "unrealized_gain_loss < 0")->at(0).integerOr(0), 0);
    db.reset();
    const auto check = runKeltroAr("check" + target.dbOption());
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_THAT(check.out, HasSubstr("The books are in order."));
}

}  // namespace
}  // namespace keltro::bench
