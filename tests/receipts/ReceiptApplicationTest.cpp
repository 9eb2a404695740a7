// The grid of the receipt screen: what each cell takes, and how the
// applied amount, net balance, base-currency amount and totals follow.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "receipts/ReceiptApplication.h"

namespace keltro::receipts {
namespace {

using framework::GridRow;

GridRow rowOf(const std::string& gross, const std::string& open,
              const std::string& currency = "USD") {
    return {{column::kInvoiceNo, "INV-26-00001"},
            {column::kPayItem, "1"},
            {column::kGross, gross},
            {column::kOpen, open},
            {column::kCurrency, currency},
            {column::kDiscountAvailable, "10.60"}};
}

// Types each cell as the screen does: the check first, then what follows.
void type(GridRow& row, const std::vector<std::pair<std::string, std::string>>& cells) {
    for (const auto& [caption, text] : cells) {
        if (checkCell(row, caption, text) != CellVerdict::Accept) continue;
        row[caption] = text;
        cellEdited(row, caption, "USD");
    }
}

struct EditCase {
    const char* name;
    const char* gross;
    const char* open;
    std::vector<std::pair<std::string, std::string>> typed;
    const char* applied;
    const char* net;
};

TEST(ReceiptApplication, cellsSettleTheRowWithoutCrossingZero) {
    // clang-format off
    const std::vector<EditCase> cases = {
        {"discount applies the rest", "530.00", "530.00", {{"discount taken", "10.6"}}, "519.40", "0.00"},
        {"discount and write-off", "530.00", "530.00",
         {{"discount taken", "10"}, {"write-off", "5"}}, "515.00", "0.00"},
        {"cleared discount applies nothing", "530.00", "530.00",
         {{"discount taken", "10"}, {"discount taken", ""}}, "0.00", "530.00"},
        {"too much is cut back", "530.00", "530.00", {{"applied amount", "600"}}, "530.00", "0.00"},
        {"part of it", "530.00", "530.00", {{"applied amount", "300"}}, "300.00", "230.00"},
        {"part with a discount", "530.00", "530.00",
         {{"discount taken", "10.60"}, {"applied amount", "300"}}, "300.00", "219.40"},
        {"discount after a part re-applies", "530.00", "530.00",
         {{"applied amount", "300"}, {"discount taken", "10.60"}}, "519.40", "0.00"},
        {"thousands separators", "5,000.00", "5,000.00", {{"applied amount", "1,200"}}, "1,200.00", "3,800.00"},
        {"credit note, part", "-100.00", "-100.00", {{"applied amount", "-40"}}, "-40.00", "-60.00"},
        {"credit note, too much", "-100.00", "-100.00", {{"applied amount", "-150"}}, "-100.00", "0.00"},
        {"refused sign leaves the row alone", "530.00", "530.00", {{"applied amount", "-5"}}, "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        GridRow row = rowOf(c.gross, c.open);
        type(row, c.typed);
        EXPECT_EQ(cellOf(row, column::kApplied), c.applied) << c.name;
        EXPECT_EQ(cellOf(row, column::kNetBalance), c.net) << c.name;
    }
}

TEST(ReceiptApplication, numericCellsRefuseTextAndAppliedAmountsRefuseTheWrongSign) {
    struct Case {
        const char* gross;
        const char* caption;
        const char* text;
        CellVerdict verdict;
    };
    const Case cases[] = {
        {"530.00", "applied amount", "abc", CellVerdict::NotNumeric},
        {"530.00", "receipt exch rate", "1.4x", CellVerdict::NotNumeric},
        {"530.00", "write-off", "five", CellVerdict::NotNumeric},
        {"530.00", "discount taken", "", CellVerdict::Accept},
        {"530.00", "applied amount", "-5", CellVerdict::WrongSign},
        {"-100.00", "applied amount", "5", CellVerdict::WrongSign},
        {"-100.00", "applied amount", "-5", CellVerdict::Accept},
        {"530.00", "remark", "abc", CellVerdict::Accept},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkCell(rowOf(c.gross, c.gross), c.caption, c.text), c.verdict)
            << c.gross << " " << c.caption << " " << c.text;
    EXPECT_EQ(refusalMessage(CellVerdict::NotNumeric), "please input numeric data");
    EXPECT_EQ(refusalMessage(CellVerdict::WrongSign), "applied amount is invalid.");
}

TEST(ReceiptApplication, baseCurrencyAmountFollowsTheReceiptRateOfAForeignRow) {
    GridRow usd = rowOf("100.00", "100.00");
    type(usd, {{"applied amount", "98"}});
    EXPECT_EQ(cellOf(usd, column::kBaseAmount), "98.00");

    GridRow eur = rowOf("100.00", "100.00", "EUR");
    type(eur, {{"applied amount", "98"}});
    EXPECT_EQ(cellOf(eur, column::kBaseAmount), "") << "no rate yet";
    type(eur, {{"receipt exch rate", " 1.4 "}});
    EXPECT_EQ(cellOf(eur, column::kReceiptRate), "1.4");
    EXPECT_EQ(cellOf(eur, column::kBaseAmount), "137.20");
}

TEST(ReceiptApplication, discountIsAvailableUntilItsDateWhateverTheReceiptDate) {
    struct Case {
        std::optional<double> percent;
        std::optional<db::Date> until;
        db::Date today;
        double expected;
    };
    const Case cases[] = {
        {2.0, db::Date{2026, 12, 16}, {2026, 12, 6}, 10.60},
        {2.0, db::Date{2026, 12, 16}, {2026, 12, 16}, 10.60},
        {2.0, db::Date{2026, 12, 16}, {2026, 12, 17}, 0},
        {0.0, db::Date{2026, 12, 16}, {2026, 12, 6}, 0},
        {std::nullopt, db::Date{2026, 12, 16}, {2026, 12, 6}, 0},
        {2.0, std::nullopt, {2026, 12, 6}, 0},
    };
    for (const auto& c : cases) {
        OpenItem item;
        item.grossAmount = 530;
        item.earlyDiscount = c.percent;
        item.discountDate = c.until;
        EXPECT_DOUBLE_EQ(discountAvailable(item, c.today), c.expected) << c.today.iso();
    }
}

TEST(ReceiptApplication, quickApplyTakesTheOpenAmountLessTheDiscountAvailable) {
    const QuickApplyContext receiptInEur{"USD", "EUR", "1.1012"};
    GridRow usd = rowOf("530.00", "530.00");
    ASSERT_TRUE(quickApply(usd, receiptInEur));
    EXPECT_EQ(cellOf(usd, column::kApplied), "519.40");
    EXPECT_EQ(cellOf(usd, column::kDiscountTaken), "10.60");
    EXPECT_EQ(cellOf(usd, column::kNetBalance), "0.00");
    EXPECT_EQ(cellOf(usd, column::kBaseAmount), "519.40");
    EXPECT_FALSE(quickApply(usd, receiptInEur)) << "already applied";

    GridRow eur = rowOf("100.00", "100.00", "EUR");
    eur[column::kDiscountAvailable] = "0.00";
    ASSERT_TRUE(quickApply(eur, receiptInEur));
    EXPECT_EQ(cellOf(eur, column::kReceiptRate), "1.1012");
    EXPECT_EQ(cellOf(eur, column::kBaseAmount), "110.12");

    GridRow gbp = rowOf("100.00", "100.00", "GBP");
    ASSERT_TRUE(quickApply(gbp, receiptInEur));
    EXPECT_EQ(cellOf(gbp, column::kReceiptRate), "") << "another currency than the receipt's";
    EXPECT_EQ(cellOf(gbp, column::kBaseAmount), "");

    GridRow noOpen = rowOf("100.00", "");
    EXPECT_FALSE(quickApply(noOpen, receiptInEur));
}

TEST(ReceiptApplication, totalsCountEveryRowWithInvoiceNoButSavedLinesStopAtTheFirstWithout) {
    GridRow first = rowOf("100.00", "100.00", "EUR");
    type(first, {{"receipt exch rate", "1.4"}, {"applied amount", "98"}});
    GridRow second = rowOf("50.00", "50.00");
    GridRow third = rowOf("40.00", "40.00");
    type(third, {{"write-off", "40"}});
    third[column::kDiscountAccount] = "6100;Discounts Allowed";
    GridRow pastTheEnd = rowOf("9.00", "9.00");
    type(pastTheEnd, {{"applied amount", "9"}});
    const std::vector<GridRow> rows = {second, first, third, {}, pastTheEnd};

    const ApplicationTotals totals = totalsOf(rows);
    EXPECT_DOUBLE_EQ(totals.applied, 98.00 + 0.00 + 9.00);
    EXPECT_DOUBLE_EQ(totals.base, 137.20 + 9.00);
    EXPECT_EQ(totals.currency, "EUR") << "the first row with an applied amount";

    const auto lines = applicationLines(rows);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].isUntouched());
    EXPECT_DOUBLE_EQ(*lines[1].receiptRate, 1.4);
    EXPECT_DOUBLE_EQ(lines[2].writeoff, 40);
    EXPECT_DOUBLE_EQ(lines[2].settled(), 40);
    EXPECT_EQ(lines[2].discountAccno, "6100");

    // Reading only the rows a person touched gives the same totals and the same lines to
    // save, also when a touched row lies past the first row without invoice no.
    RowsWithAmounts touched;
    touched.offered();
    for (std::size_t row : {2u, 4u, 1u}) touched.edited(row);
    const auto indexes = touched.of(rows);
    const ApplicationTotals fromTouched = totalsOf(rows, indexes);
    EXPECT_DOUBLE_EQ(fromTouched.applied, totals.applied);
    EXPECT_DOUBLE_EQ(fromTouched.base, totals.base);
    EXPECT_EQ(fromTouched.currency, totals.currency);
    std::vector<std::pair<std::string, double>> saved, savedFromTouched;
    for (const auto& line : lines)
        if (!line.isUntouched()) saved.push_back({line.invoiceNo, line.settled()});
    for (const auto& line : applicationLines(rows, indexes))
        if (!line.isUntouched()) savedFromTouched.push_back({line.invoiceNo, line.settled()});
    EXPECT_EQ(savedFromTouched, saved);
}

}  // namespace
}  // namespace keltro::receipts
