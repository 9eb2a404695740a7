// The invoice bench's two runs write the same rows: the floor is only a floor when it
// writes what a save writes. Either run, and the preload, leave the books in order.
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

TEST(InvoiceBench, screenFloorAndPreloadWriteWholeInvoicesAndKeepTheBooks) {
    test::TestDatabase database(test::Contents::DemoCompany);
    services::FixedClock clock(test::kDemoToday);
    InvoiceBench bench(database.db(), clock);
    const auto count = [&](const std::string& sql, const db::Params& params = {}) {
        return database.db().queryOne(sql, params)->at(0).integerOr(-1);
    };
    // Rows of AR_header, AR_transaction, GL_header and GL_transaction, then the document
    // and journal key counters: as they stand, or added since `before`.
    const auto since = [&](const Counts& before = {}) {
        Counts counts;
        for (const char* table :
             {"AR_header_table", "AR_transaction_table", "GL_header_table", "GL_transaction_table"})
            counts.push_back(count(std::string("SELECT COUNT(*) FROM ") + table));
        for (const char* doctype : {"ar", "gl"})
            counts.push_back(count("SELECT fkeyno FROM Next_number_fkey_table WHERE company = 1 AND doctype = ?",
                                   {doctype}));
        for (std::size_t i = 0; i < before.size(); ++i) counts[i] -= before[i];
        return counts;
    };
    const auto expectCleanBooks = [&] { EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty()); };

    const auto invoicesBefore = bench.invoices();
    const auto beforeScreen = since();
    EXPECT_EQ(bench.runScreen(3).count, 3);
    const auto byScreen = since(beforeScreen);
    expectCleanBooks();
    // Journal: receivable, three sales accounts and two tax authorities.
    EXPECT_EQ(byScreen, (Counts{3, 9, 3, 18, 3, 3}));

    const auto beforeFloor = since();
    EXPECT_EQ(bench.runFloor(3).count, 3);
    EXPECT_EQ(since(beforeFloor), byScreen);
    expectCleanBooks();

    // The screen goes on numbering after the floor's invoices.
    EXPECT_EQ(bench.runScreen(1).count, 1);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 7);
    expectCleanBooks();

    // The preload writes whole invoices, lines and journals, and the screen numbers after them.
    const auto beforePreload = since();
    long reported = 0;
    bench.preload(5, [&](long done) { reported = done; }, 2);
    EXPECT_EQ(reported, 5);
    EXPECT_EQ(bench.invoices(), invoicesBefore + 12);
    const auto byPreload = since(beforePreload);
    EXPECT_EQ(Counts(byPreload.begin() + 1, byPreload.begin() + 4), (Counts{15, 5, 30}));
    expectCleanBooks();
    bench.runScreen(1);
    expectCleanBooks();
}

}  // namespace
}  // namespace keltro::bench
