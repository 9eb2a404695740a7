// The suite's table list as the A/R code relies on it: the key columns with the spelling
// and type they are read as, and unique keys on the counter and balance rows. (That both
// engines can create it at all is checked by every database test.)
#include "schema/SuiteTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace keltro::schema {
namespace {

const TableDef* findTable(const std::string& name) {
    for (const auto& t : suiteTables())
        if (t.name == name) return &t;
    return nullptr;
}

const ColumnDef* findColumn(const TableDef& table, const std::string& name) {
    for (const auto& c : table.columns)
        if (c.name == name) return &c;
    return nullptr;
}

struct KeyColumn {
    const char* table;
    const char* column;
    ColumnType type;
};

TEST(SuiteTables, KeyColumnsCarryTheirSpellingAndType) {
    using enum ColumnType;
    const KeyColumn cases[] = {
        {"AR_header_table", "Id", AutoId},          {"AR_header_table", "fkey", Text},
        {"AR_header_table", "invoice_date", Date},  {"AR_header_table", "paid", Boolean},
        {"AR_header_table", "GLFKEY", Text},        {"AR_header_table", "period", Integer},
        {"AR_header_table", "time_created", Time},  {"AR_transaction_table", "open_amount", Double},
        {"AR_transaction_table", "tax_authority5", Text}, {"AR_transaction_table", "taxable5", Boolean},
        {"AR_transaction_table", "age_range", Integer},   {"AR_recur_transaction_table", "tax_rate3", Double},
        {"Receipt_header_table", "id", AutoId},     {"Receipt_header_table", "Unapplied_DOCNO", Text},
        {"GL_transaction_table", "lineno", Integer}, {"GL_transaction_table", "period", Text},
        {"Balance_period_table", "period1", Double}, {"Balance_period_table", "Period2", Double},
        {"Balance_period_table", "Period3", Double}, {"Balance_period_table", "period13", Double},
        {"Balance_period_table", "balperiod13", Double}, {"Balance_period_table", "e_period13", Double},
        {"Balance_period_table", "e_ytd_balance", Double}, {"Next_number_config_table", "seperator1", Boolean},
        {"Docno_master_table", "nextdocno", Integer}, {"Exchange_rate_table", "Rate", Double},
        {"Fiscalyear_table", "StartDate", Date},    {"User_right_table", "Update", Boolean},
        {"Grid_property", "col_order", Integer},    {"Report_format_table", "Width", Double},
    };
    for (const auto& k : cases) {
        const TableDef* table = findTable(k.table);
        ASSERT_NE(table, nullptr) << k.table;
        const ColumnDef* column = findColumn(*table, k.column);
        ASSERT_NE(column, nullptr) << k.table << "." << k.column;
        EXPECT_EQ(column->type, k.type) << k.table << "." << k.column;
    }
}

TEST(SuiteTables, CounterAndBalanceRowsHaveUniqueKeys) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Balance_table", {"company", "ledgertype", "accno", "currency"}},
        {"Balance_period_table", {"fyear", "company", "ledgertype", "accno", "currency"}},
        {"Docno_master_table", {"company", "doctype", "fiscalyear"}},
        {"Next_number_fkey_table", {"company", "doctype"}},
    };
    for (const auto& [name, key] : cases) {
        const TableDef* table = findTable(name);
        ASSERT_NE(table, nullptr) << name;
        const bool found = std::any_of(table->indexes.begin(), table->indexes.end(),
                                       [&](const IndexDef& i) { return i.unique && i.columns == key; });
        EXPECT_TRUE(found) << name << " lacks its unique key";
    }
}

}  // namespace
}  // namespace keltro::schema
