// `keltro-ar init` and `keltro-ar info` as a person runs them, on the engine of this run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "db/Database.h"
#include "schema/Schema.h"
#include "schema/SuiteTables.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

struct RunResult {
    int status;
    std::string output;  // standard output and error together
};

RunResult runKeltroAr(const std::string& arguments) {
    const std::string command = std::string(KELTRO_AR_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "cannot start " + command};
    std::string output;
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string quotedUrl(const test::TestDatabase& database) { return "'" + database.url() + "'"; }

TEST(InitCommand, createsEveryTableOnceAndRefusesASecondTime) {
    test::TestDatabase database;
    auto first = runKeltroAr("init --db " + quotedUrl(database));
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_EQ(schema::existingSuiteTables(database.db()).size(), schema::suiteTables().size());

    database.db().execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)",
                          {"1001", "O'Brien Hardware"});
    auto second = runKeltroAr("init --db " + quotedUrl(database) + " --demo");
    EXPECT_EQ(second.status, 1);
    EXPECT_NE(second.output.find("already holds the suite's tables"), std::string::npos)
        << second.output;
    EXPECT_NE(second.output.find("nothing was changed"), std::string::npos) << second.output;
    auto customers = database.db().query("SELECT customer_name FROM Customer_table");
    ASSERT_EQ(customers.size(), 1u) << "the refused init must not add the demo company";
    EXPECT_EQ(customers[0]["customer_name"].text(), "O'Brien Hardware");
}

TEST(InitCommand, demoCompanyIsCreatedAndDescribed) {
    test::TestDatabase database;
    auto init = runKeltroAr("init --db " + quotedUrl(database) + " --demo --today 2026-12-06");
    ASSERT_EQ(init.status, 0) << init.output;
    const auto customers =
        database.db().queryOne("SELECT COUNT(*) AS n FROM Customer_table")->at(0).integerOr(0);
    EXPECT_GT(customers, 0);
    EXPECT_TRUE(database.db().queryOne("SELECT * FROM Fiscalyear_table WHERE fyear = ?", {"2026"}));

    auto info = runKeltroAr("info --db " + quotedUrl(database));
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(init.output.find(info.output), std::string::npos)
        << "init --demo ends with the same summary that info prints";
}

TEST(InitCommand, mistakesAreReportedWithTheirExitStatus) {
    test::TestDatabase database;
    struct Case {
        std::string arguments;
        int status;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"init", 2, "init needs --db URL"},
        {"init --db mysql://nowhere", 1, "Unknown database URL"},
        {"init --db " + quotedUrl(database) + " --today 2026-02-30", 1, "is not a date"},
        {"info --db " + quotedUrl(database), 1, "holds no company yet"},
        {"frobnicate", 2, "unknown command \"frobnicate\""},
    };
    for (const auto& c : cases) {
        auto result = runKeltroAr(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.output;
        EXPECT_NE(result.output.find(c.expected), std::string::npos) << c.arguments << "\n" << result.output;
    }
    EXPECT_TRUE(schema::existingSuiteTables(database.db()).empty());
}

}  // namespace
}  // namespace keltro
