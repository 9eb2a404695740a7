// The invoice bench's two runs write the same rows: the floor is only a floor when it
// writes what a save writes, and either run leaves the books in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/InvoiceBench.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::bench {
namespace {

using ::testing::IsEmpty;
using Counts = std::vector<std::int64_t>;

class InvoiceBenchTest : public ::testing::Test {
protected:
    std::int64_t count(const std::string& sql) {
        return database.db().queryOne(sql)->at(0).integerOr(-1);
    }
    // Rows of AR_header, AR_transaction, GL_header and GL_transaction, then the document
    // and journal key counters.
    Counts state() {
        Counts counts;
        for (const char* table : {"AR_header_table", "AR_transaction_table", "GL_header_table",
                                  "GL_transaction_table"})
            counts.push_back(count(std::string("SELECT COUNT(*) FROM ") + table));
        for (const char* doctype : {"ar", "gl"})
            counts.push_back(count(std::string("SELECT fkeyno FROM Next_number_fkey_table WHERE "
                                               "company = 1 AND doctype = '") + doctype + "'"));
        return counts;
    }
    Counts added(const Counts& before) {
        Counts after = state();
        for (std::size_t i = 0; i < after.size(); ++i) after[i] -= before[i];
        return after;
    }
    void expectCleanBooks() { EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty()); }

    test::TestDatabase database{test::Contents::DemoCompany};
    services::FixedClock clock{test::kDemoToday};
    InvoiceBench bench{database.db(), clock};
};

TEST_F(InvoiceBenchTest, screenAndFloorWriteTheSameRowsAndKeepTheBooks) {
    const auto invoicesBefore = bench.invoices();
    const auto beforeScreen = state();
    EXPECT_EQ(bench.runScreen(3).count, 3);
    const auto byScreen = added(beforeScreen);
    expectCleanBooks();
    // Journal: receivable, three sales accounts and two tax authorities.
    EXPECT_EQ(byScreen, (Counts{3, 9, 3, 18, 3, 3}));

    const auto beforeFloor = state();
    EXPECT_EQ(bench.runFloor(3).count, 3);
    EXPECT_EQ(added(beforeFloor), byScreen);
    expectCleanBooks();

    // The screen goes on numbering after the floor's invoices.
    EXPECT_EQ(bench.runScreen(1).count, 1);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 7);
    expectCleanBooks();
}

TEST_F(InvoiceBenchTest, preloadWritesWholeInvoicesAndKeepsTheBooks) {
    bench.runScreen(1);
    const auto invoicesBefore = bench.invoices();
    const auto before = state();
    long reported = 0;
    bench.preload(5, [&](long done) { reported = done; }, 2);
    EXPECT_EQ(reported, 5);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 5);
    const auto byPreload = added(before);
    EXPECT_EQ(byPreload[1], 15);
    EXPECT_EQ(byPreload[2], 5);
    EXPECT_EQ(byPreload[3], 30);
    expectCleanBooks();
    bench.runScreen(1);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::bench
