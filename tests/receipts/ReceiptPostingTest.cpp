// The receipt journal's entries: exchange gain, loss or none, the refusals, a completed
// fast receipt; and the receipts' working period. The worked example and merging are
// checked on saved receipts (ReceiptPostingDbTest, ReceiptEntryDbTest).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "receipts/ReceiptPosting.h"
#include "receipts/ReceiptValidation.h"
#include "services/Ui.h"

namespace keltro::receipts {
namespace {

using services::AccountCurrencyTotal;
using ::testing::ElementsAre;

const ReceiptAccounts kAccounts{"1020", "1110", "7000", "7010"};

ApplicationLine line(const std::string& currency, double applied, double discount,
                     const std::string& discountAccno, std::optional<double> ir = std::nullopt,
                     std::optional<double> rr = std::nullopt) {
    ApplicationLine l;
    l.invoiceNo = "INV-26-00001";
    l.payItem = "1";
    l.currency = currency;
    l.applied = applied;
    l.discountTaken = discount;
    l.discountAccno = discountAccno;
    l.invoiceRate = ir;
    l.receiptRate = rr;
    return l;
}

ApplicationLine eurLine(double applied, double discount, double ir, double rr) {
    return line("EUR", applied, discount, "6100", ir, rr);
}

ApplicationLine usdLine(double applied, double discount, const std::string& discountAccno) {
    return line("USD", applied, discount, discountAccno);
}

struct Posting {
    services::RecordingUi ui;
    std::optional<services::JournalEntries> entries;

    Posting(const std::vector<ApplicationLine>& lines, DebitPosting debit = DebitPosting::Receipt) {
        const AccountExists exists = [](const std::string& accno) { return accno != "9999"; };
        entries = receiptJournalEntries(ui, exists, "USD", lines, kAccounts, debit);
    }
    std::vector<AccountCurrencyTotal> totals() const { return entries->entries(); }
};

MATCHER_P4(Entry, accno, currency, amount, base, "") {
    return arg.accno == accno && arg.currency == currency && arg.amount == amount &&
           arg.baseAmount == base;
}

TEST(ReceiptPosting, exchangeDifferenceGoesToGainOrLossOrNowhere) {
    struct Case {
        double ir;
        double rr;
        std::vector<AccountCurrencyTotal> exchange;  // the entries after the receivable
    };
    const Case cases[] = {
        {1.50, 1.40, {{"7010", "USD", 10.0, 10.0}}},
        {1.40, 1.50, {{"7000", "USD", 10.0, 10.0}}},
        {1.45, 1.45, {}},
    };
    for (const auto& c : cases) {
        const Posting posting({eurLine(100, 0, c.ir, c.rr)});
        const auto totals = posting.totals();
        ASSERT_EQ(totals.size(), 2 + c.exchange.size()) << c.ir << " " << c.rr;
        for (std::size_t i = 0; i < c.exchange.size(); ++i) {
            EXPECT_EQ(totals[2 + i].accno, c.exchange[i].accno);
            EXPECT_DOUBLE_EQ(totals[2 + i].baseAmount, c.exchange[i].baseAmount);
        }
    }
}

TEST(ReceiptPosting, rowsThatCannotBePostedSayWhy) {
    struct Case {
        ApplicationLine line;
        const char* message;
    };
    ApplicationLine noRate = eurLine(98, 0, 1.5, 1.4);
    noRate.receiptRate.reset();
    ApplicationLine writeoffWithout = usdLine(0, 0, "");
    writeoffWithout.writeoff = 5;
    ApplicationLine writeoffUnknown = writeoffWithout;
    writeoffUnknown.writeoffAccno = "9999";
    const Case cases[] = {
        {noRate, "please specify receipt exchange rate"},
        {usdLine(98, 2, ""), "please specify discount account"},
        {usdLine(98, 2, "9999"), "discount account is invalid"},
        {writeoffWithout, "please specify write-off account"},
        {writeoffUnknown, "write-off account is invalid"},
    };
    for (const auto& c : cases) {
        const Posting posting({usdLine(10, 0, ""), c.line});
        EXPECT_FALSE(posting.entries) << c.message;
        EXPECT_THAT(posting.ui.texts(), ElementsAre(c.message));
    }
}

// A completed fast receipt: the batch posted the money; only discount and exchange are left.
TEST(ReceiptPosting, aCompletedFastReceiptPostsWhatTheBatchDidNot) {
    const Posting foreign({eurLine(98, 2, 1.50, 1.40)}, DebitPosting::AlreadyPosted);
    EXPECT_THAT(foreign.totals(),
                ElementsAre(Entry("6100", "EUR", 2.0, 2.80), Entry("1110", "EUR", -2.0, -2.80),
                            Entry("1110", "USD", -10.0, -10.0), Entry("7010", "USD", 10.0, 10.0)));
    const Posting plain({usdLine(100, 0, "")}, DebitPosting::AlreadyPosted);
    EXPECT_THAT(plain.totals(), ElementsAre(Entry("1110", "USD", 0.0, 0.0)));
}

TEST(ReceiptRules, outsideTheWorkingWindowOnlyAFullAllowedWindowLetsAReceiptThrough) {
    store::WorkingPeriodConfig config;
    config.activated = true;
    config.working = {"2026", 1, "2026", 12};
    config.allowHistoryUpdate = true;
    config.allowed = {"2025", 1, "2025", 12};
    struct Case {
        std::function<void(store::WorkingPeriodConfig&)> change;
        std::string fyear;
        int period;
        bool passes;
    };
    const Case cases[] = {
        {[](auto&) {}, "2026", 12, true},
        {[](auto&) {}, "2025", 3, true},
        {[](auto&) {}, "2027", 1, false},
        {[](auto& c) { c.allowHistoryUpdate = false; }, "2025", 3, false},
        {[](auto& c) { c.allowed.endPeriod.reset(); }, "2025", 3, false},
        {[](auto& c) { c.allowed.startPeriod.reset(); }, "2025", 3, false},
        {[](auto& c) { c.working.startPeriod.reset(); }, "2027", 1, true},
        {[](auto& c) { c.activated = false; }, "2027", 1, true},
    };
    for (const auto& c : cases) {
        store::WorkingPeriodConfig changed = config;
        c.change(changed);
        EXPECT_EQ(isWithinReceiptWorkingPeriod(changed, c.fyear, c.period), c.passes)
            << c.fyear << "/" << c.period;
    }
    // The invoice's rule lets an open-ended allowed window through; the receipt's does not.
    store::WorkingPeriodConfig openEnded = config;
    openEnded.allowed.endPeriod.reset();
    EXPECT_TRUE(store::isWithinWorkingPeriod(openEnded, "2025", 3));
}

}  // namespace
}  // namespace keltro::receipts
