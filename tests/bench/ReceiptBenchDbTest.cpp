// The receipt bench: its floor writes what a save through the screen writes, either run
// leaves the books in order, and `keltro-ar bench receipt` prints one line of JSON per
// customer and mode.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ReceiptBench.h"
#include "host/Json.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::bench {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::filesystem::path ownTempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("keltro_bench_receipt_" + std::to_string(getpid()) + "_" + name);
}

TEST(ReceiptBench, screenAndFloorWriteTheSameRowsAndKeepTheBooks) {
    test::TestDatabase database(test::Contents::DemoCompany);
    services::FixedClock clock(test::kDemoToday);
    const auto count = [&](const std::string& sql, const db::Params& params = {}) {
        return database.db().queryOne(sql, params)->at(0).integerOr(-1);
    };
    const std::string customer = ReceiptBench::customerWith(10);
    // Receipts, their lines and journal lines, settled documents, the key counter.
    const auto state = [&] {
        return std::vector<std::int64_t>{
            count("SELECT COUNT(*) FROM Receipt_header_table WHERE customer_no = ?", {customer}),
            count("SELECT COUNT(*) FROM Receipt_transaction_table WHERE customer_no = ?",
                  {customer}),
            count("SELECT COUNT(*) FROM GL_transaction_table WHERE Source = 'AR-RECEIPT'"),
            count("SELECT COUNT(*) FROM AR_transaction_table l JOIN AR_header_table h ON h.fkey = "
                  "l.fkey WHERE l.customer_no = ? AND l.paid = TRUE AND l.open_amount = 0 AND "
                  "l.paid_amount = l.gross_amount AND h.paid = TRUE AND h.fully_paid = TRUE",
                  {customer}),
            count("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = 'rc'")};
    };
    const auto added = [&](const std::vector<std::int64_t>& before) {
        auto after = state();
        for (std::size_t i = 0; i < after.size(); ++i) after[i] -= before[i];
        return after;
    };

    ReceiptBench bench(database.db(), clock);
    bench.prepare();
    for (const long items : ReceiptBench::kOpenItemCounts)
        EXPECT_EQ(bench.openItems(ReceiptBench::customerWith(items)), items);
    EXPECT_GT(bench.listMs(customer, 1), 0);
    const auto beforeScreen = state();
    EXPECT_EQ(bench.runScreen(customer, 2).count, 2);
    const auto byScreen = added(beforeScreen);
    // Two receipts of ten lines, cash against receivable each.
    EXPECT_EQ(byScreen, (std::vector<std::int64_t>{2, 20, 4, 20, 2}));
    EXPECT_EQ(bench.openItems(customer), 10) << "topped up after each receipt";
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    const auto beforeFloor = state();
    EXPECT_EQ(bench.runFloor(customer, 2).count, 2);
    EXPECT_EQ(added(beforeFloor), byScreen);
    EXPECT_EQ(bench.openItems(customer), 10);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    // The screen numbers after the floor's receipts and pays the items it left.
    EXPECT_EQ(bench.runScreen(customer, 1).count, 1);
    EXPECT_EQ(count("SELECT COUNT(DISTINCT docno) FROM Receipt_header_table"),
              count("SELECT COUNT(*) FROM Receipt_header_table"));
    EXPECT_EQ(count("SELECT COUNT(DISTINCT invoice_no) FROM Receipt_transaction_table"),
              count("SELECT COUNT(*) FROM Receipt_transaction_table"))
        << "no open item is settled twice";
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_transaction_table r JOIN AR_transaction_table l "
                    "ON l.docno = r.invoice_no WHERE l.paid = FALSE"),
              0);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
}

struct RunResult {
    int status;
    std::string out;  // standard output only
    std::string err;
};

RunResult runKeltroAr(const std::string& arguments) {
    const auto errFile = ownTempFile("stderr.txt");
    const std::string command =
        std::string(KELTRO_AR_BINARY) + " " + arguments + " 2>'" + errFile.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, "", "cannot start " + command};
    std::string out;
    std::array<char, 4096> buffer{};
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) out.append(buffer.data(), n);
    const int status = pclose(pipe);
    std::ostringstream err;
    err << std::ifstream(errFile).rdbuf();
    std::filesystem::remove(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err.str()};
}

// An empty database for the bench: a new SQLite file it creates, or an empty schema.
struct BenchTarget {
    BenchTarget() {
        removeFiles();
        if (test::testEngine() != db::Engine::Sqlite) database = std::make_unique<test::TestDatabase>();
    }
    ~BenchTarget() { removeFiles(); }
    void removeFiles() const {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
    }
    std::string quotedUrl() const {
        return "'" + (database ? database->url() : "sqlite:" + path.string()) + "'";
    }
    std::filesystem::path path = ownTempFile("bench.sqlite");
    std::unique_ptr<test::TestDatabase> database;
};

TEST(ReceiptBenchCommand, printsALinePerCustomerAndModeAndLeavesTheBooksInOrder) {
    BenchTarget target;
    const auto run = runKeltroAr("bench receipt --db " + target.quotedUrl() +
                                 " --count 2 --mode both --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    std::vector<std::string> seen;  // mode and open items, in order
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        SCOPED_TRACE(line);
        const host::Json json = host::parseJson(line);
        EXPECT_EQ(json.text("bench"), "receipt");
        EXPECT_EQ(json.text("engine"), std::string(db::engineName(test::testEngine())));
        EXPECT_EQ(json.text("count"), "2");
        for (const char* figure : {"list_ms", "per_s", "floor_per_s", "ratio", "ms_per_receipt",
                                   "floor_ms_per_receipt"}) {
            const host::Json* value = json.member(figure);
            ASSERT_TRUE(value && value->number()) << figure;
            EXPECT_GE(*value->number(), 0) << figure;
        }
        EXPECT_GT(*json.member("per_s")->number(), 0);
        EXPECT_GT(*json.member("floor_per_s")->number(), 0);
        seen.push_back(*json.text("mode") + " " + *json.text("open_items"));
    }
    EXPECT_THAT(seen, ::testing::ElementsAre("durable 10", "durable 100", "durable 1000", "cpu 10",
                                             "cpu 100", "cpu 1000"));

    const auto check = runKeltroAr("check --db " + target.quotedUrl());
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_THAT(check.out, HasSubstr("The books are in order."));
}

TEST(ReceiptBenchCommand, mistakesAreReportedAsUsage) {
    BenchTarget target;
    const std::string db = " --db " + target.quotedUrl();
    const std::pair<std::string, std::string> cases[] = {
        {"bench" + db, "bench needs the name of a benchmark: invoice or receipt"},
        {"bench payments" + db, "bench needs the name of a benchmark: invoice or receipt"},
        {"bench receipt" + db + " --preload 10", "--preload goes with bench invoice"},
    };
    for (const auto& [arguments, expected] : cases) {
        const auto run = runKeltroAr(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_THAT(run.err, HasSubstr(expected)) << arguments;
        EXPECT_THAT(run.out, IsEmpty());
    }
}

}  // namespace
}  // namespace keltro::bench
