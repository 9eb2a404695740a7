// The tax of a line per authority, without a database: gross entry of compound tax,
// bounds and rounding half to even, and the tax table's edits. The plain cases of both
// entry modes, compound tax and the bounds typed into the grid are InvoicePostingDbTest's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "invoice/InvoiceTax.h"

namespace keltro::invoice {
namespace {

// An authority's rate, compound when `taxable`, between its bounds.
store::TaxAuthorityRate rate(const std::string& name, double percent, bool taxable = false,
                             std::optional<double> minimum = {},
                             std::optional<double> maximum = {}) {
    return {0, name, percent, minimum, maximum, taxable, "2200"};
}

TEST(InvoiceTax, perAuthorityInBothEntryModes) {
    struct Case {
        std::vector<store::TaxAuthorityRate> authorities;
        double amount;
        TaxEntry entry;
        std::vector<double> taxes;  // per authority
        std::vector<double> bases;  // per authority
        double taxable;
        double gross;
    };
    using enum TaxEntry;
    const Case cases[] = {
        // 5 % compound, then 8 %, the amount typed with tax.
        {{rate("A", 5, true), rate("B", 8)}, 113.4, Gross, {5.4, 8.8}, {113.4, 110}, 99.2, 113.4},
        // Not compound: each on the amount.
        {{rate("A", 5), rate("B", 8)}, 100, Taxable, {5, 8}, {100, 100}, 100, 113},
        // A minimum of 2.00 on 1 %; a maximum of 0 is no bound; a maximum of 500.
        {{rate("M", 1, false, 2.0)}, 50, Taxable, {2}, {50}, 50, 52},
        {{rate("M", 1, false, 2.0, 0.0)}, 5000, Taxable, {50}, {5000}, 5000, 5050},
        {{rate("L", 10, false, 5.0, 500.0)}, 6000, Taxable, {500}, {6000}, 6000, 6500},
        // Half to even: 0.615 up, 0.645 down.
        {{rate("S", 6)}, 10.25, Taxable, {0.62}, {10.25}, 10.25, 10.87},
        {{rate("S", 6)}, 10.75, Taxable, {0.64}, {10.75}, 10.75, 11.39},
        // No authority.
        {{}, 80, Gross, {}, {}, 80, 80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "amount " << c.amount);
        const LineTax tax = computeLineTax("1", "X", c.amount, c.entry, c.authorities);
        std::vector<double> taxes, bases;
        for (const auto& row : tax.rows) {
            taxes.push_back(row.taxAmount);
            bases.push_back(row.taxableBase);
            EXPECT_EQ(std::tie(row.payItem, row.taxCode), std::tuple("1", "X"));
        }
        EXPECT_EQ(taxes, c.taxes);
        EXPECT_EQ(bases, c.bases);
        EXPECT_DOUBLE_EQ(tax.taxableAmount, c.taxable);
        EXPECT_DOUBLE_EQ(tax.grossAmount, c.gross);
    }
}

// 5 % compound then 8 % on 100.00: 5.00 on 105, 8.40 on 105.
TEST(InvoiceTax, theDetailsWindowEditsARowAndTheLineFollows) {
    TaxTable table;
    table.replaceLine(
        "1", computeLineTax("1", "C", 100, TaxEntry::Taxable, {rate("A", 5, true), rate("B", 8)})
                 .rows);
    table.replaceLine("2", computeLineTax("2", "S", 50, TaxEntry::Taxable, {rate("A", 5)}).rows);
    EXPECT_EQ(table.lineTax("1"), 13.4);

    EXPECT_EQ(table.setRate(1, 10), "1");  // 10 % of the base 105
    EXPECT_EQ(table.rows()[1].taxAmount, 10.5);
    EXPECT_EQ(table.setTaxAmount(0, 4.005), "1");
    EXPECT_EQ(table.lineTax("1"), 14.5);

    // A: 4.00 + 2.50 on 105 + 50.
    const auto summary = table.summary();
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(std::tie(summary[0].authority, summary[0].taxAmount, summary[0].taxableBase),
              std::tuple("A", 6.5, 155.0));

    table.renameLine("1", "7");
    EXPECT_EQ(table.rowsOf("7").size(), 2u);
    table.renameLine("7", "");
    EXPECT_TRUE(table.rowsOf("7").empty());
    table.removeLine("2");
    EXPECT_TRUE(table.empty());
}

TEST(InvoiceTax, aLineReadBackGivesItsRowsAndItsRowsItsGroups) {
    store::PayItemLine line{.payItem = "3", .taxCode = "S2"};
    line.taxes = {{"STATE", 100, 6, 6, true}, {"CITY", 106, 1.5, 1.59, false}};
    const auto rows = taxRowsOfLine(line);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::tie(rows[1].payItem, rows[1].taxCode), std::tuple("3", "S2"));
    const auto shares = taxSharesOf(rows);
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(std::tie(shares[1].authority, shares[1].taxableAmount), std::tuple("CITY", 106.0));
    EXPECT_TRUE(shares[0].taxable);
}

}  // namespace
}  // namespace keltro::invoice
