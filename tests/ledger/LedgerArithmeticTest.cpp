// The ledger's arithmetic without a database: period columns, the aggregation table, the
// implied rate of an 'F' line and the balance check over lines already read.
#include <gtest/gtest.h>

#include "services/Balances.h"
#include "services/JournalWriter.h"
#include "services/PeriodBalances.h"
#include "services/PostingChecks.h"
#include "services/Ui.h"

namespace keltro::services {
namespace {

TEST(PeriodBalances, eachCodeMovesItsColumnOnlyPeriodsMoveTheEndsAndSumsAreRounded) {
    struct Case {
        const char* code;
        std::optional<int> slot;
        bool movesPeriodEnds;
    };
    const Case cases[] = {{"1", 0, true},   {"12", 11, true}, {"13", 12, true},
                          {"AD", kAdjustSlot, false}, {"CL", kClosingSlot, false},
                          // codes that move nothing
                          {"0", {}, false}, {"14", {}, false}, {"ad", {}, false}, {" 3", {}, false},
                          {"03", {}, false}, {"3 ", {}, false}, {"1x", {}, false},
                          {"130", {}, false}, {"", {}, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(MovementSlot(c.code), c.slot);
        PeriodBalances row;
        AddPeriodAmountBase(row, c.code, 7.5);
        EXPECT_EQ(row.base.ytd, c.slot ? 7.5 : 0);
        EXPECT_EQ(row.base.periodEnd[kPeriodCount - 1], c.movesPeriodEnds ? 7.5 : 0);
        if (c.slot) { EXPECT_EQ(row.base.movements[*c.slot], 7.5); }
        EXPECT_EQ(row.plain.ytd, 0);
    }
    PeriodBalances row;  // the plain side, its sums rounded to cents at every step
    AddPeriodAmount(row, "2", 0.1);
    AddPeriodAmount(row, "2", 0.2);
    EXPECT_EQ(row.plain.movements[1], 0.3);
    EXPECT_EQ(row.plain.ytd, 0.3);
}

TEST(Accumulate, entriesAreKeptPerAccountAndCurrencyInOrderOfFirstUse) {
    std::vector<AccountCurrencyTotal> totals;
    AccumulateByAccountCurrency(totals, "4000", 10.005, 11.005, "EUR");
    AccumulateByAccountCurrency(totals, "4000", 5, 6, "USD");
    AccumulateByAccountCurrency(totals, "4000", 0.1, 0.2, "EUR");
    ASSERT_EQ(totals.size(), 2u);
    EXPECT_EQ(totals[0].currency, "EUR");
    EXPECT_DOUBLE_EQ(totals[0].amount, 10.1);  // round(10.005) = 10.00, + 0.1
    EXPECT_DOUBLE_EQ(totals[0].baseAmount, 11.2);
    EXPECT_EQ(totals[1].currency, "USD");

    std::vector<AccountTotal> byAccount;
    AccumulateByAccount(byAccount, "6100", 1.115);
    AccumulateByAccount(byAccount, "6200", 2);
    AccumulateByAccount(byAccount, "6100", 1);
    ASSERT_EQ(byAccount.size(), 2u);
    EXPECT_DOUBLE_EQ(byAccount[0].amount, 2.12);
}

TEST(JournalEntries, theFiftyFirstPairIsRefusedButKnownPairsStillAdd) {
    JournalEntries entries;
    for (int i = 0; i < 50; ++i) entries.add("A" + std::to_string(i), "USD", 1, 1);
    EXPECT_FALSE(entries.refused());
    entries.add("A0", "USD", 1, 1);
    EXPECT_FALSE(entries.refused());
    EXPECT_EQ(entries.entries()[0].amount, 2);
    entries.add("A0", "EUR", 3, 4);
    entries.add("B", "USD", 5, 5);
    ASSERT_TRUE(entries.refused());
    EXPECT_EQ(entries.refused()->accno, "A0");
    EXPECT_EQ(entries.refused()->currency, "EUR");
    EXPECT_EQ(entries.entries().size(), 50u);

    JournalEntries second;
    second.append(entries);
    EXPECT_TRUE(second.refused()) << "appending a refused table keeps the refusal";
}

TEST(ImpliedExchangeRate, keepsTheFewestDecimalsThatDoNotChangeIt) {
    struct Case {
        double amount, base, rate;
    };
    const Case cases[] = {{98, 137.20, 1.4}, {8, 10, 1.25},           {0, 12.5, 1},
                          {3, 1, 0.3333333}, {7, 10, 1.4285714},      {100, 150.00, 1.5},
                          {-100, -150, 1.5}, {1000, 1234.57, 1.23457}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ImpliedExchangeRate(c.amount, c.base), c.rate)
            << c.amount << " " << c.base;
}

TEST(CheckDocumentBalance, refusesUnbalancedInactiveAndUnknown) {
    const auto line = [](const char* accno, bool debit, double base) {
        return CheckedLine{accno, true, false, debit, base};
    };
    struct Case {
        const char* name;
        std::vector<CheckedLine> lines;
        bool passes;
        std::vector<std::string> said;
    };
    const std::string unbalanced = "Document is not balance (debit <> credit)";
    const Case cases[] = {
        {"no lines", {}, true, {}},
        {"invoice", {line("1100", true, 110), line("4000", false, 100), line("2200", false, 10)},
         true, {}},
        {"tax a cent off",
         {line("1100", true, 110), line("4000", false, 100), line("2200", false, 10.01)}, false,
         {unbalanced}},
        {"half cents round away", {line("1100", true, 0.005), line("4000", false, 0.005)}, true,
         {}},
        {"unknown account, silently", {CheckedLine{"9999", false, false, true, 0}}, false, {}},
        {"a line without base amount adds nothing",
         {line("1100", true, 5), CheckedLine{"4000", true, false, false, std::nullopt}}, false,
         {unbalanced}},
    };
    for (const auto& c : cases) {
        RecordingUi ui;
        EXPECT_EQ(CheckDocumentBalance(ui, c.lines), c.passes) << c.name;
        EXPECT_EQ(ui.texts(), c.said) << c.name;
    }
}

}  // namespace
}  // namespace keltro::services
