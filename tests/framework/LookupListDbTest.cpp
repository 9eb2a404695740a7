// Look-up lists: how their columns are declared, the fill rule and the shared lists with their
// reserved values.
#include <gtest/gtest.h>

#include "framework/LookupList.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

TEST(LookupList, columnsItemsAndTheFillRule) {
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
    // Descending queries read ascending.
    EXPECT_EQ(ApplyFillRule({"1003", "1002", "1001"}), (std::vector<std::string>{"1001", "1002", "1003"}));
    EXPECT_EQ(ApplyFillRule({"only"}), std::vector<std::string>{"only"});
    EXPECT_TRUE(ApplyFillRule({}).empty());
}

TEST(LookupList, sharedListsLeaveOutReservedValuesAndShowRatesUpToTheDateNewestFirst) {
    test::TestDatabase database{test::Contents::Tables};
    auto& db = database.db();
    for (const char* no : {"1002", "0", "1003", "1001"})
        db.execute("INSERT INTO Customer_table (customer_no, customer_name) VALUES (?, ?)",
                   {no, std::string("Customer ") + no});
    for (const char* term : {"30", "00", "60"})
        db.execute("INSERT INTO Payment_term_table (term_no, term_name) VALUES (?, ?)",
                   {term, std::string("Term ") + term});
    for (const auto& [date, rate] : {std::pair{db::Date{2026, 1, 4}, 1.10}, {{2026, 1, 5}, 1.12},
                                     {{2026, 1, 6}, 1.15}, {{2025, 12, 1}, 1.05}})
        db.execute("INSERT INTO Exchange_rate_table (currency, rate_date, Rate) VALUES (?, ?, ?)", {"EUR", date, rate});

    EXPECT_EQ(lists::customersByNumber(db),
              (std::vector<std::string>{"1001;Customer 1001", "1002;Customer 1002", "1003;Customer 1003"}));
    EXPECT_EQ(lists::customersByName(db).front(), "Customer 1001;1001");
    EXPECT_EQ(lists::paymentTerms(db), (std::vector<std::string>{"Term 30;30", "Term 60;60"}));

    const auto iso = [](const db::Date& d) { return d.iso(); };
    EXPECT_EQ(lists::exchangeRates(db, "EUR", db::Date{2026, 1, 5}, iso),
              (std::vector<std::string>{"1.12;2026-01-05", "1.1;2026-01-04", "1.05;2025-12-01"}));
    EXPECT_EQ(lists::exchangeRates(db, "EUR", std::nullopt, iso).front(), "1.15;2026-01-06");
    EXPECT_TRUE(lists::exchangeRates(db, "GBP", std::nullopt, iso).empty());
}

}  // namespace
}  // namespace keltro::framework
