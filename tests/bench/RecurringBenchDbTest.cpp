// The recurring bench generates what it says through the screen, its floor writes the same
// rows as a generated invoice, and both leave the books in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bench/RecurringBench.h"
#include "services/BooksAudit.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::bench {
namespace {

using ::testing::IsEmpty;
using Counts = std::vector<std::int64_t>;

TEST(RecurringBench, generatesTheTickedDefinitionsAndItsFloorCopiesThemWhole) {
    test::TestDatabase database(test::Contents::DemoCompany);
    services::FixedClock clock(test::kDemoToday);
    RecurringBench bench(database.db(), clock);
    const auto since = [&](const Counts& before = {}) {
        Counts counts;
        for (const char* sql :
             {"SELECT COUNT(*) FROM AR_header_table WHERE doctype = 'inv'",
              "SELECT COUNT(*) FROM AR_transaction_table", "SELECT COUNT(*) FROM GL_header_table",
              "SELECT COUNT(*) FROM GL_transaction_table",
              "SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'inv'"})
            counts.push_back(database.db().queryOne(sql)->at(0).integerOr(-1));
        for (std::size_t i = 0; i < before.size(); ++i) counts[i] -= before[i];
        return counts;
    };
    const auto expectCleanBooks = [&] { EXPECT_THAT(services::AuditBooks(database.db()), IsEmpty()); };

    bench.prepare(5);
    EXPECT_EQ(bench.definitions(), 5);
    expectCleanBooks();

    const auto beforeScreen = since();
    RecurringMeasurement first;
    bench.runScreen(3, first);
    EXPECT_EQ(first.listed, 5);
    EXPECT_EQ(first.screen.count, 3);
    // Journal: receivable, three sales accounts and two tax authorities.
    const auto byScreen = since(beforeScreen);
    EXPECT_EQ(byScreen, (Counts{3, 9, 3, 18, 3}));
    expectCleanBooks();

    const auto beforeFloor = since();
    EXPECT_EQ(bench.runFloor(3).count, 3);
    EXPECT_EQ(since(beforeFloor), byScreen);
    expectCleanBooks();

    // The generated definitions are not due again; the two left are.
    RecurringMeasurement second;
    bench.runScreen(2, second);
    EXPECT_EQ(second.listed, 2);
    expectCleanBooks();
    RecurringMeasurement none;
    EXPECT_THROW(bench.runScreen(1, none), std::runtime_error);
}

}  // namespace
}  // namespace keltro::bench
