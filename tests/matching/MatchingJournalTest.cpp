// The matching's entries and totals worked out by hand: a discount in base currency, the
// euro example with a discount and an exchange difference, each refusal, and both sides'
// totals over items of two currencies.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "matching/MatchingPosting.h"
#include "services/DateFormat.h"
#include "services/Ui.h"

namespace keltro::matching {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const MatchingAccounts kAccounts{"1100", "7000", "7010"};

// Accounts 1100, 6100, 6200 and 7010 are kept on the debit side, 7000 on the credit side.
std::optional<bool> sideOf(const std::string& accno) {
    if (accno == "7000") return false;
    if (accno == "1100" || accno == "6100" || accno == "6200" || accno == "7010") return true;
    return std::nullopt;
}

std::vector<std::string> texts(const services::JournalEntries& entries) {
    std::vector<std::string> shown;
    for (const auto& e : entries.entries())
        shown.push_back(e.accno + " " + e.currency + " " + services::FormatAmount(e.amount) + " " +
                        services::FormatAmount(e.baseAmount));
    return shown;
}

MatchingLine line(const std::string& currency, double applied, double discount,
                  std::optional<double> invoiceRate = {}, std::optional<double> receiptRate = {}) {
    MatchingLine l;
    l.amounts.invoiceNo = "INV-1";
    l.amounts.currency = currency;
    l.amounts.applied = applied;
    l.amounts.discountTaken = discount;
    l.amounts.discountAccno = discount > 0 ? "6100" : "";
    l.amounts.invoiceRate = invoiceRate;
    l.amounts.receiptRate = receiptRate;
    return l;
}

TEST(MatchingEntriesTest, aBaseDiscountIsChargedAgainstTheReceivable) {
    services::RecordingUi ui;
    const auto entries = matchingEntries(ui, sideOf, "USD", {line("USD", 98, 2)}, kAccounts);
    ASSERT_TRUE(entries);
    EXPECT_THAT(texts(entries->base), ElementsAre("6100 USD 2.00 2.00", "1100 USD -2.00 -2.00"));
    EXPECT_THAT(texts(entries->currency), IsEmpty());
}

// 98 euros applied and 2 taken as discount on an invoice at 1.5, received at 1.4: the
// discount 2.80, the receivable -3.00 for the discount and -9.80 for the applied part, a
// loss of 10.00 on the 100 settled.
TEST(MatchingEntriesTest, aForeignDiscountPostsBaseAndCurrencyEntriesAndTheDifference) {
    services::RecordingUi ui;
    const auto entries =
        matchingEntries(ui, sideOf, "USD", {line("EUR", 98, 2, 1.5, 1.4)}, kAccounts);
    ASSERT_TRUE(entries);
    EXPECT_THAT(texts(entries->base), ElementsAre("6100 USD 2.80 2.80", "1100 USD -12.80 -12.80",
                                                  "7010 USD 10.00 10.00"));
    EXPECT_THAT(texts(entries->currency), ElementsAre("6100 EUR 2.00 0.00", "1100 EUR -2.00 0.00"));
}

TEST(MatchingEntriesTest, aLineThatCannotBePostedStopsWithItsMessage) {
    struct Case {
        MatchingLine line;
        const char* message;
    };
    MatchingLine noAccount = line("USD", 98, 2);
    noAccount.amounts.discountAccno = "";
    MatchingLine unknownAccount = line("USD", 98, 2);
    unknownAccount.amounts.discountAccno = "9999";
    MatchingLine writeoff = line("USD", 98, 0);
    writeoff.amounts.writeoff = 2;
    writeoff.amounts.writeoffAccno = "9999";
    const Case cases[] = {
        {line("EUR", 100, 0, 1.5), "please specify receipt exchange rate"},
        {noAccount, "please specify discount account"},
        {unknownAccount, "discount account is invalid"},
        {writeoff, "write-off account is invalid"},
    };
    for (const auto& c : cases) {
        services::RecordingUi ui;
        EXPECT_FALSE(matchingEntries(ui, sideOf, "USD", {c.line}, kAccounts));
        EXPECT_THAT(ui.texts(), ElementsAre(c.message));
    }
}

// A dollar and a euro invoice on the debit side leave its currency total empty; the euro
// credit counts at its base-currency amount, the dollar one at its applied amount.
TEST(MatchingTotalsTest, bothSidesAreAddedInBaseCurrency) {
    const std::vector<framework::GridRow> rows = {
        {{"invoice no", "A"}, {"applied amount", "100.00"}, {"currency", "USD"}},
        {{"invoice no", "B"}, {"applied amount", "50.00"}, {"currency", "EUR"},
         {"base-currency amount", "55.06"}},
        {{"invoice no", "C"}, {"applied amount", "-100.00"}, {"currency", "USD"}},
        {{"invoice no", "D"}, {"applied amount", "-50.00"}, {"currency", "EUR"},
         {"base-currency amount", "-55.06"}},
        {{"invoice no", "E"}, {"applied amount", ""}, {"currency", "USD"}},
    };
    const auto totals = totalsOf(rows, {0, 1, 2, 3, 4}, "USD");
    EXPECT_DOUBLE_EQ(totals.creditBase, -155.06);
    EXPECT_DOUBLE_EQ(totals.debitBase, 155.06);
    EXPECT_TRUE(totals.mixedDebitCurrencies);
    EXPECT_EQ(totals.debitCurrency, "");
    const auto oneCurrency = totalsOf(rows, {0, 2, 3}, "USD");
    EXPECT_DOUBLE_EQ(oneCurrency.debit, 100);
    EXPECT_EQ(oneCurrency.debitCurrency, "USD");
    EXPECT_DOUBLE_EQ(oneCurrency.creditBase, -155.06);
}

}  // namespace
}  // namespace keltro::matching
