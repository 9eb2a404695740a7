// The invoice bench's two runs write the same rows: the floor is only a floor when it
// writes what a save writes, and either run leaves the books in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "bench/InvoiceBench.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::bench {
namespace {

using ::testing::IsEmpty;

const char* const kTables[] = {"AR_header_table", "AR_transaction_table", "GL_header_table",
                               "GL_transaction_table"};

class InvoiceBenchTest : public ::testing::Test {
protected:
    InvoiceBenchTest() : database(test::Contents::DemoCompany), clock(test::kDemoToday) {}

    std::map<std::string, std::int64_t> rowCounts() {
        std::map<std::string, std::int64_t> counts;
        for (const char* table : kTables)
            counts[table] = database.db()
                                .queryOne(std::string("SELECT COUNT(*) FROM ") + table)
                                ->at(0)
                                .integerOr(-1);
        return counts;
    }

    static std::map<std::string, std::int64_t> added(const std::map<std::string, std::int64_t>& before,
                                                     const std::map<std::string, std::int64_t>& after) {
        std::map<std::string, std::int64_t> difference;
        for (const auto& [table, count] : after) difference[table] = count - before.at(table);
        return difference;
    }

    std::int64_t counter(const char* doctype) {
        return database.db()
            .queryOne("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?",
                      {doctype})
            ->at(0)
            .integerOr(-1);
    }

    test::TestDatabase database;
    services::FixedClock clock;
};

TEST_F(InvoiceBenchTest, screenAndFloorWriteTheSameRowsAndKeepTheBooks) {
    InvoiceBench bench(database.db(), clock);
    const auto invoicesBefore = bench.invoices();

    const auto beforeScreen = rowCounts();
    EXPECT_EQ(bench.runScreen(3).count, 3);
    const auto byScreen = added(beforeScreen, rowCounts());
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
    EXPECT_EQ(byScreen.at("AR_header_table"), 3);
    EXPECT_EQ(byScreen.at("AR_transaction_table"), 9);
    EXPECT_EQ(byScreen.at("GL_header_table"), 3);
    // Receivable, three sales accounts and two tax authorities.
    EXPECT_EQ(byScreen.at("GL_transaction_table"), 18);

    const auto keysBefore = counter("ar");
    const auto journalKeysBefore = counter("gl");
    const auto beforeFloor = rowCounts();
    EXPECT_EQ(bench.runFloor(3).count, 3);
    EXPECT_EQ(added(beforeFloor, rowCounts()), byScreen);
    EXPECT_EQ(counter("ar"), keysBefore + 3);
    EXPECT_EQ(counter("gl"), journalKeysBefore + 3);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());

    // The screen goes on numbering after the floor's invoices.
    EXPECT_EQ(bench.runScreen(1).count, 1);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 7);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
}

TEST_F(InvoiceBenchTest, preloadWritesWholeInvoicesAndKeepsTheBooks) {
    InvoiceBench bench(database.db(), clock);
    bench.runScreen(1);
    const auto invoicesBefore = bench.invoices();
    const auto before = rowCounts();
    long reported = 0;
    bench.preload(5, [&](long done) { reported = done; }, 2);
    EXPECT_EQ(reported, 5);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 5);
    const auto byPreload = added(before, rowCounts());
    EXPECT_EQ(byPreload.at("AR_transaction_table"), 15);
    EXPECT_EQ(byPreload.at("GL_header_table"), 5);
    EXPECT_EQ(byPreload.at("GL_transaction_table"), 30);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
    bench.runScreen(1);
    EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty());
}

}  // namespace
}  // namespace keltro::bench
