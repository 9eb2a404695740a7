// `keltro-ar init` and `keltro-ar info` as a person runs them, on the engine of this run,
// and the mistakes the commands report before they change anything.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/Database.h"
#include "schema/Schema.h"
#include "schema/SuiteTables.h"
#include "support/CommandRun.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using test::runKeltroAr;

std::string quotedUrl(const test::TestDatabase& database) { return "'" + database.url() + "'"; }

TEST(InitCommand, createsEveryTableOnceAndRefusesASecondTime) {
    test::TestDatabase database;
    const auto first = runKeltroAr("init --db " + quotedUrl(database));
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_EQ(schema::existingSuiteTables(database.db()).size(), schema::suiteTables().size());

    database.db().execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)",
                          {"1001", "O'Brien Hardware"});
    const auto second = runKeltroAr("init --db " + quotedUrl(database) + " --demo");
    EXPECT_EQ(second.status, 1);
    EXPECT_THAT(second.err, HasSubstr("already holds the suite's tables"));
    EXPECT_THAT(second.err, HasSubstr("nothing was changed"));
    const auto customers = database.db().query("SELECT customer_name FROM Customer_table");
    ASSERT_EQ(customers.size(), 1u) << "the refused init must not add the demo company";
    EXPECT_EQ(customers[0]["customer_name"].text(), "O'Brien Hardware");
}

TEST(InitCommand, demoCompanyIsCreatedAndDescribed) {
    test::TestDatabase database;
    const auto init = runKeltroAr("init --db " + quotedUrl(database) + " --demo --today 2026-12-06");
    ASSERT_EQ(init.status, 0) << init.out << init.err;
    const auto customers = database.db().queryOne("SELECT COUNT(*) FROM Customer_table")->at(0).integerOr(0);
    EXPECT_GT(customers, 0);
    EXPECT_TRUE(database.db().queryOne("SELECT * FROM Fiscalyear_table WHERE fyear = ?", {"2026"}));

    const auto info = runKeltroAr("info --db " + quotedUrl(database));
    ASSERT_EQ(info.status, 0) << info.out << info.err;
    EXPECT_THAT(info.out, HasSubstr("Customers: " + std::to_string(customers) + "\n"));
    EXPECT_THAT(init.out, EndsWith(info.out)) << "init --demo ends with the summary info prints";
}

TEST(InitCommand, mistakesAreReportedWithTheirExitStatusAndNothingElse) {
    test::TestDatabase database;
    const std::string dbOption = " --db " + quotedUrl(database);
    struct Case {
        std::string arguments;
        int status;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"init", 2, "init needs --db URL"},
        {"init --db mysql://nowhere", 1, "Unknown database URL"},
        {"init" + dbOption + " --today 2026-02-30", 1, "is not a date"},
        {"info" + dbOption, 1, "holds no company yet"},
        {"frobnicate", 2, "unknown command \"frobnicate\""},
        {"bench" + dbOption, 2, "bench needs the name of a benchmark: invoice, receipt, recurring, aging, revalue, matching or workstations"},
        {"bench payments" + dbOption, 2, "bench needs the name of a benchmark: invoice, receipt, recurring, aging, revalue, matching or workstations"},
        {"bench receipt" + dbOption + " --preload 10", 2, "--preload goes with bench invoice"},
        {"bench matching" + dbOption + " --count 10", 2, "bench matching takes no --count"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto run = runKeltroAr(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        EXPECT_THAT(run.err, HasSubstr(c.expected));
        EXPECT_THAT(run.out, IsEmpty());
    }
    EXPECT_TRUE(schema::existingSuiteTables(database.db()).empty());
}

}  // namespace
}  // namespace keltro
