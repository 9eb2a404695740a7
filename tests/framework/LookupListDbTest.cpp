// Look-up lists: column specs, the fill rule and the shared lists with their reserved values.
#include <gtest/gtest.h>

#include "framework/LookupList.h"
#include "schema/Schema.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

TEST(ColumnSpec, parsesColumnsWidthsAlignmentAndHeadings) {
    const auto columns = ParseColumnSpec(lists::kBank);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].heading, "Bank code");
    EXPECT_EQ(columns[0].width, 2000);
    EXPECT_EQ(columns[3].column, 3);
    const auto customer = ParseColumnSpec(lists::kCustomerByNumber);
    EXPECT_EQ(customer[0].alignment, ListAlignment::Centre);
    EXPECT_EQ(customer[1].alignment, ListAlignment::Left);
    EXPECT_TRUE(ParseColumnSpec("").empty());
    EXPECT_EQ(ParseColumnSpec("0;x;<;Bad|1;100;<;Good").size(), 1u);
    EXPECT_EQ(ItemValue("1001;O'Brien Hardware"), "1001");
    EXPECT_EQ(ItemColumn("a;b;c", 2), "c");
    EXPECT_EQ(ItemColumn("a;b", 5), "");
}

TEST(FillRule, descendingQueriesReadAscending) {
    EXPECT_EQ(ApplyFillRule({"1003", "1002", "1001"}), (std::vector<std::string>{"1001", "1002", "1003"}));
    EXPECT_EQ(ApplyFillRule({"only"}), std::vector<std::string>{"only"});
    EXPECT_TRUE(ApplyFillRule({}).empty());
}

class SharedListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db::Transaction tx(db());
        for (const char* no : {"1002", "0", "1003", "1001"})
            db().execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)",
                         {no, std::string("Customer ") + no});
        for (const char* term : {"30", "00", "60"})
            db().execute("INSERT INTO Payment_term_table (term_no, term_name) VALUES (?, ?)",
                         {term, std::string("Term ") + term});
        const std::vector<std::pair<db::Date, double>> rates = {
            {{2026, 1, 4}, 1.10}, {{2026, 1, 5}, 1.12}, {{2026, 1, 6}, 1.15}, {{2025, 12, 1}, 1.05}};
        for (const auto& [date, rate] : rates)
            db().execute("INSERT INTO Exchange_rate_table (currency, rate_date, Rate) VALUES (?, ?, ?)",
                         {"EUR", date, rate});
        tx.commit();
    }
    db::Database& db() { return database.db(); }
    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(SharedListsTest, leaveOutTheReservedCustomerAndTheCashTerm) {
    EXPECT_EQ(lists::customersByNumber(db()),
              (std::vector<std::string>{"1001;Customer 1001", "1002;Customer 1002", "1003;Customer 1003"}));
    EXPECT_EQ(lists::customersByName(db()).front(), "Customer 1001;1001");
    EXPECT_EQ(lists::paymentTerms(db()), (std::vector<std::string>{"Term 30;30", "Term 60;60"}));
}

TEST_F(SharedListsTest, rateListShowsRatesUpToTheDateNewestFirst) {
    auto format = [](const db::Date& d) { return d.iso(); };
    EXPECT_EQ(lists::exchangeRates(db(), "EUR", db::Date{2026, 1, 5}, format),
              (std::vector<std::string>{"1.12;2026-01-05", "1.1;2026-01-04", "1.05;2025-12-01"}));
    EXPECT_EQ(lists::exchangeRates(db(), "EUR", std::nullopt, format).front(), "1.15;2026-01-06");
    EXPECT_TRUE(lists::exchangeRates(db(), "GBP", std::nullopt, format).empty());
}

}  // namespace
}  // namespace keltro::framework
