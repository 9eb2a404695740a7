// The suite's table list as the A/R code relies on it: unique keys on the counter and
// balance rows, so that two workstations can never hold two rows of one counter or one
// balance. (Column names and types are exercised by every database test that reads them.)
#include "schema/SuiteTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace keltro::schema {
namespace {

TEST(SuiteTables, CounterAndBalanceRowsHaveUniqueKeys) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Balance_table", {"company", "ledgertype", "accno", "currency"}},
        {"Balance_period_table", {"fyear", "company", "ledgertype", "accno", "currency"}},
        {"Docno_master_table", {"company", "doctype", "fiscalyear"}},
        {"Next_number_fkey_table", {"company", "doctype"}},
    };
    const auto& tables = suiteTables();
    for (const auto& [name, key] : cases) {
        const auto table = std::ranges::find(tables, std::string(name), &TableDef::name);
        ASSERT_NE(table, tables.end()) << name;
        const auto& columns = key;  // a structured binding is not captured by every compiler
        EXPECT_TRUE(std::any_of(table->indexes.begin(), table->indexes.end(),
                                [&](const IndexDef& i) { return i.unique && i.columns == columns; }))
            << name << " lacks its unique key";
    }
}

}  // namespace
}  // namespace keltro::schema
