// The grid of the receipt screen: what each cell takes, and how the
// applied amount, net balance, base-currency amount and totals follow.
// The plain cases — a discount taken, a part paid, a credit note's wrong sign, the
// discount of today — are the receipt screen's tests (ReceiptEntryDbTest).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "receipts/ReceiptApplication.h"

namespace keltro::receipts {
namespace {

using framework::GridRow;
using Cells = std::vector<std::pair<std::string, std::string>>;

GridRow rowOf(const std::string& gross, const std::string& open,
              const std::string& currency = "USD") {
    return {{column::kInvoiceNo, "INV-26-00001"}, {column::kPayItem, "1"}, {column::kGross, gross},
            {column::kOpen, open}, {column::kCurrency, currency},
            {column::kDiscountAvailable, "10.60"}};
}

// A row of `gross` (and as much open) with `cells` typed as the screen types them: the
// check first, then what follows.
GridRow typed(const std::string& gross, const Cells& cells, const std::string& currency = "USD") {
    GridRow row = rowOf(gross, gross, currency);
    for (const auto& [caption, text] : cells) {
        if (checkCell(row, caption, text) != CellVerdict::Accept) continue;
        row[caption] = text;
        cellEdited(row, caption, "USD");
    }
    return row;
}

void expectCells(const GridRow& row, const Cells& shown) {
    for (const auto& [caption, text] : shown) EXPECT_EQ(cellOf(row, caption), text) << caption;
}

TEST(ReceiptApplication, cellsSettleTheRowWithoutCrossingZeroAndFollowTheReceiptRate) {
    struct Case {
        const char* gross;  // and open
        Cells typed;
        const char* applied;
        const char* net;
        const char* currency = "USD";
        const char* base = nullptr;  // not looked at when null
    };
    const Case cases[] = {
        {"530.00", {{"discount taken", "10"}, {"write-off", "5"}}, "515.00", "0.00"},
        {"530.00", {{"discount taken", "10"}, {"discount taken", ""}}, "0.00", "530.00"},
        {"530.00", {{"applied amount", "600"}}, "530.00", "0.00"},  // cut back
        {"530.00", {{"discount taken", "10.60"}, {"applied amount", "300"}}, "300.00", "219.40"},
        // A discount typed after a part applies the rest again.
        {"530.00", {{"applied amount", "300"}, {"discount taken", "10.60"}}, "519.40", "0.00"},
        {"5,000.00", {{"applied amount", "1,200"}}, "1,200.00", "3,800.00"},
        {"-100.00", {{"applied amount", "-40"}}, "-40.00", "-60.00"},
        {"-100.00", {{"applied amount", "-150"}}, "-100.00", "0.00"},
        {"100.00", {{"applied amount", "98"}}, "98.00", "2.00", "EUR", ""},  // no rate yet
        {"100.00", {{"applied amount", "98"}, {"receipt exch rate", " 1.4 "}}, "98.00", "2.00",
         "EUR", "137.20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        const GridRow row = typed(c.gross, c.typed, c.currency);
        expectCells(row, {{column::kApplied, c.applied}, {column::kNetBalance, c.net}});
        if (c.base) {
            EXPECT_EQ(cellOf(row, column::kBaseAmount), c.base);
        }
    }
}

TEST(ReceiptApplication, numericCellsRefuseTextAndAppliedAmountsRefuseTheWrongSign) {
    using enum CellVerdict;
    const std::tuple<const char*, const char*, CellVerdict> cases[] = {
        {"applied amount", "abc", NotNumeric}, {"receipt exch rate", "1.4x", NotNumeric},
        {"write-off", "five", NotNumeric},     {"discount taken", "", Accept},
        {"applied amount", "-5", WrongSign},   {"remark", "abc", Accept},
    };
    for (const auto& [caption, text, verdict] : cases)
        EXPECT_EQ(checkCell(rowOf("530.00", "530.00"), caption, text), verdict)
            << caption << " " << text;
    EXPECT_EQ(refusalMessage(NotNumeric), "please input numeric data");
}

TEST(ReceiptApplication, discountIsAvailableUntilItsDateWhateverTheReceiptDate) {
    const std::optional<db::Date> until = db::Date{2026, 12, 16};
    const std::tuple<std::optional<double>, std::optional<db::Date>, db::Date, double> cases[] = {
        {2.0, until, {2026, 12, 16}, 10.60},     {2.0, until, {2026, 12, 17}, 0},
        {0.0, until, {2026, 12, 6}, 0},          {std::nullopt, until, {2026, 12, 6}, 0},
        {2.0, std::nullopt, {2026, 12, 6}, 0},
    };
    for (const auto& [percent, date, today, expected] : cases) {
        const OpenItem item{.grossAmount = 530, .earlyDiscount = percent, .discountDate = date};
        EXPECT_DOUBLE_EQ(discountAvailable(item, today), expected) << today.iso();
    }
}

TEST(ReceiptApplication, quickApplyTakesTheOpenAmountLessTheDiscountAvailable) {
    const QuickApplyContext receiptInEur{"USD", "EUR", "1.1012"};
    GridRow usd = rowOf("530.00", "530.00");
    ASSERT_TRUE(quickApply(usd, receiptInEur));
    expectCells(usd, {{column::kApplied, "519.40"}, {column::kDiscountTaken, "10.60"},
                      {column::kNetBalance, "0.00"}, {column::kBaseAmount, "519.40"}});
    EXPECT_FALSE(quickApply(usd, receiptInEur)) << "already applied";

    GridRow eur = rowOf("100.00", "100.00", "EUR");
    eur[column::kDiscountAvailable] = "0.00";
    ASSERT_TRUE(quickApply(eur, receiptInEur));
    expectCells(eur, {{column::kReceiptRate, "1.1012"}, {column::kBaseAmount, "110.12"}});

    GridRow gbp = rowOf("100.00", "100.00", "GBP");
    ASSERT_TRUE(quickApply(gbp, receiptInEur));
    expectCells(gbp, {{column::kReceiptRate, ""}, {column::kBaseAmount, ""}});  // not the receipt's

    GridRow noOpen = rowOf("100.00", "");
    EXPECT_FALSE(quickApply(noOpen, receiptInEur));
}

TEST(ReceiptApplication, totalsCountEveryRowWithInvoiceNoButSavedLinesStopAtTheFirstWithout) {
    const std::vector<GridRow> rows = {
        typed("50.00", {}),
        typed("100.00", {{"receipt exch rate", " 1.4 "}, {"applied amount", "98"}}, "EUR"),
        typed("40.00", {{"write-off", "40"}, {"discount account", "6100;Discounts Allowed"}}), {},
        typed("9.00", {{"applied amount", "9"}})};
    EXPECT_EQ(cellOf(rows[1], column::kReceiptRate), "1.4");

    const ApplicationTotals totals = totalsOf(rows);
    EXPECT_DOUBLE_EQ(totals.applied, 98.00 + 0.00 + 9.00);
    EXPECT_DOUBLE_EQ(totals.base, 137.20 + 9.00);
    EXPECT_EQ(totals.currency, "EUR") << "the first row with an applied amount";

    const auto lines = applicationLines(rows);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].isUntouched());
    EXPECT_DOUBLE_EQ(*lines[1].receiptRate, 1.4);
    EXPECT_EQ(std::tuple(lines[2].writeoff, lines[2].settled(), lines[2].discountAccno),
              std::tuple(40.0, 40.0, "6100"));

    // Reading only the rows a person touched gives the same totals and the same lines to
    // save, also when a touched row lies past the first row without invoice no.
    RowsWithAmounts touched;
    touched.offered();
    for (std::size_t row : {2u, 4u, 1u}) touched.edited(row);
    const auto indexes = touched.of(rows);
    const ApplicationTotals fromTouched = totalsOf(rows, indexes);
    EXPECT_EQ(std::tie(fromTouched.applied, fromTouched.base, fromTouched.currency),
              std::tie(totals.applied, totals.base, totals.currency));
    const auto touchedLines = applicationLines(rows, indexes);
    ASSERT_EQ(touchedLines.size(), 2u) << "not the row past the end";
    EXPECT_EQ(std::tuple(touchedLines[0].settled(), touchedLines[1].settled()),
              std::tuple(lines[1].settled(), lines[2].settled()));
}

}  // namespace
}  // namespace keltro::receipts
