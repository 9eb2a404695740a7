// The receipt bench: its floor writes what a save through the screen writes, either run
// leaves the books in order, and `keltro-ar bench receipt` prints one line of JSON per
// customer and mode. (Its usage mistakes are checked with those of the other commands.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ReceiptBench.h"
#include "host/Json.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/BenchTarget.h"
#include "support/CommandRun.h"
#include "support/TestDatabase.h"

namespace keltro::bench {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using test::runKeltroAr;

TEST(ReceiptBench, screenAndFloorWriteTheSameRowsAndKeepTheBooks) {
    test::TestDatabase database(test::Contents::DemoCompany);
    services::FixedClock clock(test::kDemoToday);
    const auto count = [&](const std::string& sql, const db::Params& params = {}) {
        return database.db().queryOne(sql, params)->at(0).integerOr(-1);
    };
    const std::string customer = ReceiptBench::customerWith(10);
    // Receipts, their lines and journal lines, settled documents and the key counter: as they
    // stand, or added since `before`.
    const auto since = [&](const std::vector<std::int64_t>& before = {}) {
        std::vector<std::int64_t> counts = {
            count("SELECT COUNT(*) FROM Receipt_header_table WHERE customer_no = ?", {customer}),
            count("SELECT COUNT(*) FROM Receipt_transaction_table WHERE customer_no = ?", {customer}),
            count("SELECT COUNT(*) FROM GL_transaction_table WHERE Source = 'AR-RECEIPT'"),
            count("SELECT COUNT(*) FROM AR_transaction_table l JOIN AR_header_table h ON h.fkey = "
                  "l.fkey WHERE l.customer_no = ? AND l.paid = TRUE AND l.open_amount = 0 AND "
                  "l.paid_amount = l.gross_amount AND h.paid = TRUE AND h.fully_paid = TRUE",
                  {customer}),
            count("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = 'rc'")};
        for (std::size_t i = 0; i < before.size(); ++i) counts[i] -= before[i];
        return counts;
    };
    const auto expectCleanBooks = [&] { EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty()); };

    ReceiptBench bench(database.db(), clock);
    bench.prepare();
    for (const long items : ReceiptBench::kOpenItemCounts)
        EXPECT_EQ(bench.openItems(ReceiptBench::customerWith(items)), items);
    EXPECT_GT(bench.listMs(customer, 1), 0);
    const auto beforeScreen = since();
    EXPECT_EQ(bench.runScreen(customer, 2).count, 2);
    const auto byScreen = since(beforeScreen);
    // Two receipts of ten lines, cash against receivable each.
    EXPECT_EQ(byScreen, (std::vector<std::int64_t>{2, 20, 4, 20, 2}));
    EXPECT_EQ(bench.openItems(customer), 10) << "topped up after each receipt";
    expectCleanBooks();

    const auto beforeFloor = since();
    EXPECT_EQ(bench.runFloor(customer, 2).count, 2);
    EXPECT_EQ(since(beforeFloor), byScreen);
    EXPECT_EQ(bench.openItems(customer), 10);
    expectCleanBooks();

    // The screen numbers after the floor's receipts and pays the items it left.
    EXPECT_EQ(bench.runScreen(customer, 1).count, 1);
    EXPECT_EQ(count("SELECT COUNT(DISTINCT docno) FROM Receipt_header_table"),
              count("SELECT COUNT(*) FROM Receipt_header_table"));
    EXPECT_EQ(count("SELECT COUNT(DISTINCT invoice_no) FROM Receipt_transaction_table"),
              count("SELECT COUNT(*) FROM Receipt_transaction_table")) << "no open item is settled twice";
    EXPECT_EQ(count("SELECT COUNT(*) FROM Receipt_transaction_table r JOIN AR_transaction_table l "
                    "ON l.docno = r.invoice_no WHERE l.paid = FALSE"), 0);
    expectCleanBooks();
}

using test::BenchTarget;

TEST(ReceiptBenchCommand, printsALinePerCustomerAndModeAndLeavesTheBooksInOrder) {
    BenchTarget target;
    const auto run = runKeltroAr("bench receipt" + target.dbOption() + " --count 2 --mode both --today 2026-12-06");
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    std::vector<std::string> seen;  // mode and open items, in order
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        SCOPED_TRACE(line);
        const host::Json json = host::parseJson(line);
        EXPECT_EQ(json.text("bench"), "receipt");
        EXPECT_EQ(json.text("engine"), std::string(db::engineName(test::testEngine())));
        EXPECT_EQ(json.text("count"), "2");
        for (const char* figure :
             {"list_ms", "per_s", "floor_per_s", "ratio", "ms_per_receipt", "floor_ms_per_receipt"}) {
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

    const auto check = runKeltroAr("check" + target.dbOption());
    EXPECT_EQ(check.status, 0) << check.out << check.err;
    EXPECT_THAT(check.out, HasSubstr("The books are in order."));
}

}  // namespace
}  // namespace keltro::bench
