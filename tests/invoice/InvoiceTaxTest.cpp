// The tax of a line per authority, without a database: both entry modes, compound tax,
// lower and upper bounds and rounding half to even; and the tax table's edits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "invoice/InvoiceTax.h"

namespace keltro::invoice {
namespace {

using ::testing::ElementsAre;

store::TaxAuthorityRate authority(const std::string& name, double rate, bool taxable = false,
                                  std::optional<double> minimum = {},
                                  std::optional<double> maximum = {}) {
    return {0, name, rate, minimum, maximum, taxable, "2200"};
}

struct TaxCase {
    const char* label;
    std::vector<store::TaxAuthorityRate> authorities;
    double amount;
    TaxEntry entry;
    std::vector<double> taxes;  // per authority
    std::vector<double> bases;  // per authority
    double taxable;
    double gross;
};

TEST(InvoiceTax, perAuthorityInBothEntryModes) {
    const TaxCase cases[] = {
        {"10 % taxable entry", {authority("T", 10)}, 100, TaxEntry::Taxable, {10}, {100}, 100, 110},
        {"10 % gross entry", {authority("T", 10)}, 110, TaxEntry::Gross, {10}, {100}, 100, 110},
        {"5 % compound then 8 %",
         {authority("A", 5, true), authority("B", 8)},
         100, TaxEntry::Taxable, {5, 8.4}, {105, 105}, 100, 113.4},
        {"compound, gross entry",
         {authority("A", 5, true), authority("B", 8)},
         113.4, TaxEntry::Gross, {5.4, 8.8}, {113.4, 110}, 99.2, 113.4},
        {"not compound: each on the amount",
         {authority("A", 5), authority("B", 8)},
         100, TaxEntry::Taxable, {5, 8}, {100, 100}, 100, 113},
        {"minimum 2.00 on 1 %", {authority("M", 1, false, 2.0)},
         50, TaxEntry::Taxable, {2}, {50}, 50, 52},
        {"maximum 0 is no bound", {authority("M", 1, false, 2.0, 0.0)},
         5000, TaxEntry::Taxable, {50}, {5000}, 5000, 5050},
        {"maximum 500", {authority("L", 10, false, 5.0, 500.0)},
         6000, TaxEntry::Taxable, {500}, {6000}, 6000, 6500},
        {"half to even: 0.615 up", {authority("S", 6)},
         10.25, TaxEntry::Taxable, {0.62}, {10.25}, 10.25, 10.87},
        {"half to even: 0.645 down", {authority("S", 6)},
         10.75, TaxEntry::Taxable, {0.64}, {10.75}, 10.75, 11.39},
        {"no authority", {}, 80, TaxEntry::Gross, {}, {}, 80, 80},
    };
    for (const auto& c : cases) {
        const LineTax tax = computeLineTax("1", "X", c.amount, c.entry, c.authorities);
        std::vector<double> taxes, bases;
        for (const auto& row : tax.rows) {
            taxes.push_back(row.taxAmount);
            bases.push_back(row.taxableBase);
            EXPECT_EQ(row.payItem, "1");
            EXPECT_EQ(row.taxCode, "X");
        }
        EXPECT_EQ(taxes, c.taxes) << c.label;
        EXPECT_EQ(bases, c.bases) << c.label;
        EXPECT_DOUBLE_EQ(tax.taxableAmount, c.taxable) << c.label;
        EXPECT_DOUBLE_EQ(tax.grossAmount, c.gross) << c.label;
    }
}

TEST(InvoiceTax, theDetailsWindowEditsARowAndTheLineFollows) {
    TaxTable table;
    table.replaceLine("1", computeLineTax("1", "C", 100, TaxEntry::Taxable,
                                          {authority("A", 5, true), authority("B", 8)})
                               .rows);
    table.replaceLine(
        "2", computeLineTax("2", "S", 50, TaxEntry::Taxable, {authority("A", 5)}).rows);
    EXPECT_EQ(table.lineTax("1"), 13.4);

    EXPECT_EQ(table.setRate(1, 10), "1");  // 10 % of the base 105
    EXPECT_EQ(table.rows()[1].taxAmount, 10.5);
    EXPECT_EQ(table.setTaxAmount(0, 4.005), "1");
    EXPECT_EQ(table.lineTax("1"), 14.5);

    const auto summary = table.summary();
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].authority, "A");
    EXPECT_EQ(summary[0].taxAmount, 6.5);     // 4.00 + 2.50
    EXPECT_EQ(summary[0].taxableBase, 155);  // 105 + 50

    table.renameLine("1", "7");
    EXPECT_EQ(table.rowsOf("7").size(), 2u);
    table.renameLine("7", "");
    EXPECT_TRUE(table.rowsOf("7").empty());
    table.removeLine("2");
    EXPECT_TRUE(table.empty());
}

TEST(InvoiceTax, aLineReadBackGivesItsRowsAndItsRowsItsGroups) {
    store::PayItemLine line;
    line.payItem = "3";
    line.taxCode = "S2";
    line.taxes = {{"STATE", 100, 6, 6, true}, {"CITY", 106, 1.5, 1.59, false}};
    const auto rows = taxRowsOfLine(line);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].payItem, "3");
    EXPECT_EQ(rows[1].taxCode, "S2");
    const auto shares = taxSharesOf(rows);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[1].authority, "CITY");
    EXPECT_EQ(shares[1].taxableAmount, 106);
    EXPECT_TRUE(shares[0].taxable);
}

}  // namespace
}  // namespace keltro::invoice
