// The receipt bench: its floor writes what a save through the screen writes, either run
// leaves the books in order, and `keltro-ar bench receipt` prints one well-formed line per
// customer and mode.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
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

// A file name of this test process's own in the temporary folder.
std::filesystem::path ownTempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           ("keltro_bench_receipt_" + std::to_string(getpid()) + "_" + name);
}

class ReceiptBenchTest : public ::testing::Test {
protected:
    ReceiptBenchTest() : database(test::Contents::DemoCompany), clock(test::kDemoToday) {}

    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return database.db().queryOne(sql, params)->at(0).integerOr(-1);
    }

    // What a receipt run leaves: receipts, their lines and journal lines, settled
    // documents (line paid, document fully paid), the receipts' key counter.
    std::map<std::string, std::int64_t> state(const std::string& customer) {
        return {
            {"receipts", count("SELECT COUNT(*) FROM Receipt_header_table WHERE customer_no = ?",
                               {customer})},
            {"receipt lines",
             count("SELECT COUNT(*) FROM Receipt_transaction_table WHERE customer_no = ?",
                   {customer})},
            {"journal lines",
             count("SELECT COUNT(*) FROM GL_transaction_table WHERE Source = 'AR-RECEIPT'")},
            {"settled", count("SELECT COUNT(*) FROM AR_transaction_table l JOIN AR_header_table h "
                              "ON h.fkey = l.fkey WHERE l.customer_no = ? AND l.paid = TRUE AND "
                              "l.open_amount = 0 AND l.paid_amount = l.gross_amount AND "
                              "h.paid = TRUE AND h.fully_paid = TRUE",
                              {customer})},
            {"receipt key", count("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 "
                                  "AND doctype = 'rc'")},
        };
    }

    static std::map<std::string, std::int64_t> added(
        const std::map<std::string, std::int64_t>& before,
        const std::map<std::string, std::int64_t>& after) {
        std::map<std::string, std::int64_t> difference;
        for (const auto& [what, n] : after) difference[what] = n - before.at(what);
        return difference;
    }

    test::TestDatabase database;
    services::FixedClock clock;
};

TEST_F(ReceiptBenchTest, screenAndFloorWriteTheSameRowsAndKeepTheBooks) {
    ReceiptBench bench(database.db(), clock);
    bench.prepare();
    for (const long items : ReceiptBench::kOpenItemCounts)
        EXPECT_EQ(bench.openItems(ReceiptBench::customerWith(items)), items);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    const std::string customer = ReceiptBench::customerWith(10);
    EXPECT_GT(bench.listMs(customer, 1), 0);
    const auto beforeScreen = state(customer);
    EXPECT_EQ(bench.runScreen(customer, 2).count, 2);
    const auto byScreen = added(beforeScreen, state(customer));
    EXPECT_EQ(byScreen.at("receipts"), 2);
    EXPECT_EQ(byScreen.at("receipt lines"), 20);
    EXPECT_EQ(byScreen.at("settled"), 20);
    EXPECT_EQ(byScreen.at("receipt key"), 2);
    // Cash against the receivable: two lines a receipt.
    EXPECT_EQ(byScreen.at("journal lines"), 4);
    EXPECT_EQ(bench.openItems(customer), 10) << "topped up after each receipt";
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    const auto beforeFloor = state(customer);
    EXPECT_EQ(bench.runFloor(customer, 2).count, 2);
    EXPECT_EQ(added(beforeFloor, state(customer)), byScreen);
    EXPECT_EQ(bench.openItems(customer), 10);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    // The screen goes on numbering after the floor's receipts and pays the items it left.
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

// ----- the command ------------------------------------------------------------------------

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
    while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        out.append(buffer.data(), n);
    const int status = pclose(pipe);
    std::ostringstream err;
    std::FILE* file = std::fopen(errFile.c_str(), "r");
    while (file && std::fgets(buffer.data(), static_cast<int>(buffer.size()), file))
        err << buffer.data();
    if (file) std::fclose(file);
    std::filesystem::remove(errFile);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err.str()};
}

// An empty database for the bench: a file it may create, or an empty schema.
class BenchTarget {
public:
    BenchTarget() {
        if (test::testEngine() == db::Engine::Sqlite) {
            m_path = ownTempFile("bench.sqlite");
            removeFiles();
            m_url = "sqlite:" + m_path.string();
        } else {
            m_database = std::make_unique<test::TestDatabase>();
            m_url = m_database->url();
        }
    }
    ~BenchTarget() { removeFiles(); }
    std::string quotedUrl() const { return "'" + m_url + "'"; }

private:
    void removeFiles() {
        if (m_path.empty()) return;
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(m_path.string() + suffix);
    }

    std::filesystem::path m_path;
    std::unique_ptr<test::TestDatabase> m_database;
    std::string m_url;
};

TEST(ReceiptBenchCommand, printsALinePerCustomerAndModeAndLeavesTheBooksInOrder) {
    BenchTarget target;
    const auto run = runKeltroAr("bench receipt --db " + target.quotedUrl() +
                                 " --count 2 --mode both --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    std::vector<std::string> seen;  // mode and open items, in order
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const host::Json json = host::parseJson(line);
        EXPECT_EQ(json.text("bench"), "receipt") << line;
        EXPECT_EQ(json.text("engine"), std::string(db::engineName(test::testEngine()))) << line;
        EXPECT_EQ(json.text("count"), "2") << line;
        for (const char* figure : {"list_ms", "per_s", "floor_per_s", "ratio", "ms_per_receipt",
                                   "floor_ms_per_receipt"}) {
            const host::Json* value = json.member(figure);
            ASSERT_TRUE(value && value->number()) << figure << " in " << line;
            EXPECT_GE(*value->number(), 0) << figure << " in " << line;
        }
        EXPECT_GT(*json.member("per_s")->number(), 0) << line;
        EXPECT_GT(*json.member("floor_per_s")->number(), 0) << line;
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
    struct Case {
        std::string arguments;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"bench --db " + target.quotedUrl(),
         "bench needs the name of a benchmark: invoice or receipt"},
        {"bench payments --db " + target.quotedUrl(),
         "bench needs the name of a benchmark: invoice or receipt"},
        {"bench receipt --db " + target.quotedUrl() + " --preload 10",
         "--preload goes with bench invoice"},
    };
    for (const auto& c : cases) {
        const auto run = runKeltroAr(c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_THAT(run.out, IsEmpty());
    }
}

}  // namespace
}  // namespace keltro::bench
