// The receipt journal's entries: no exchange line at the same rate, a completed fast
// receipt, the refusals; and the receipts' working period. The worked example, both exchange
// directions and merging are checked on saved receipts (ReceiptPostingDbTest,
// ReceiptEntryDbTest).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "receipts/ReceiptPosting.h"
#include "receipts/ReceiptValidation.h"
#include "services/Ui.h"

namespace keltro::receipts {
namespace {

// A row of `currency` applying `applied`, with `discount` taken onto `discountAccno`.
ApplicationLine row(const char* currency, double applied, double discount,
                    const char* discountAccno, std::optional<double> ir = std::nullopt,
                    std::optional<double> rr = std::nullopt) {
    return {.invoiceNo = "INV-26-00001", .payItem = "1", .applied = applied,
            .discountTaken = discount, .currency = currency, .invoiceRate = ir,
            .receiptRate = rr, .discountAccno = discountAccno};
}

std::optional<services::JournalEntries> entriesOf(services::Ui& ui,
                                                  const std::vector<ApplicationLine>& lines,
                                                  DebitPosting debit = DebitPosting::Receipt) {
    const AccountExists exists = [](const std::string& accno) { return accno != "9999"; };
    return receiptJournalEntries(ui, exists, "USD", lines, {"1020", "1110", "7000", "7010"}, debit);
}

MATCHER(SameEntry, "") {
    const auto& [actual, expected] = arg;
    return actual.accno == expected.accno && actual.currency == expected.currency &&
           actual.amount == expected.amount && actual.baseAmount == expected.baseAmount;
}

// A completed fast receipt finds the money posted by the batch: only discount and
// exchange are left.
TEST(ReceiptPosting, exchangeDifferenceAndWhatACompletedFastReceiptLeavesToPost) {
    using enum DebitPosting;
    const std::tuple<ApplicationLine, DebitPosting, std::vector<services::AccountCurrencyTotal>>
        cases[] = {
            // The same rate: no exchange line.
            {row("EUR", 100, 0, "6100", 1.45, 1.45), Receipt,
             {{"1020", "EUR", 100, 145}, {"1110", "EUR", -100, -145}}},
            // Completed: the discount, the receivable's rest at either rate, the exchange.
            {row("EUR", 98, 2, "6100", 1.50, 1.40), AlreadyPosted,
             {{"6100", "EUR", 2, 2.80}, {"1110", "EUR", -2, -2.80}, {"1110", "USD", -10, -10},
              {"7010", "USD", 10, 10}}},
            // Completed with nothing left: the receivable's entry moves nothing.
            {row("USD", 100, 0, ""), AlreadyPosted, {{"1110", "USD", 0, 0}}},
        };
    for (const auto& [line, debit, expected] : cases) {
        SCOPED_TRACE(::testing::Message() << line.currency << " " << line.applied);
        services::RecordingUi ui;
        EXPECT_THAT(entriesOf(ui, {line}, debit).value().entries(),
                    ::testing::Pointwise(SameEntry(), expected));
    }
}

TEST(ReceiptPosting, rowsThatCannotBePostedSayWhy) {
    const std::pair<ApplicationLine, const char*> cases[] = {
        {row("EUR", 98, 0, "6100", 1.5), "please specify receipt exchange rate"},
        {row("USD", 98, 2, ""), "please specify discount account"},
        {row("USD", 98, 2, "9999"), "discount account is invalid"},
        {{.writeoff = 5, .currency = "USD"}, "please specify write-off account"},
        {{.writeoff = 5, .currency = "USD", .writeoffAccno = "9999"},
         "write-off account is invalid"},
    };
    for (const auto& [refused, message] : cases) {
        services::RecordingUi ui;
        EXPECT_FALSE(entriesOf(ui, {row("USD", 10, 0, ""), refused})) << message;
        EXPECT_THAT(ui.texts(), ::testing::ElementsAre(message));
    }
}

// The invoice's rule lets an open-ended allowed window through (WorkingPeriodTest); the
// receipt's does not.
TEST(ReceiptRules, outsideTheWorkingWindowOnlyAFullAllowedWindowLetsAReceiptThrough) {
    const store::WorkingPeriodConfig config{
        .activated = true, .working = {"2026", 1, "2026", 12}, .allowHistoryUpdate = true,
        .allowed = {"2025", 1, "2025", 12}};
    using Change = std::function<void(store::WorkingPeriodConfig&)>;
    const Change same = [](auto&) {};
    const std::tuple<Change, const char*, int, bool> cases[] = {
        {same, "2026", 12, true}, {same, "2025", 3, true}, {same, "2027", 1, false},
        {[](auto& c) { c.allowHistoryUpdate = false; }, "2025", 3, false},
        {[](auto& c) { c.allowed.endPeriod.reset(); }, "2025", 3, false},
        {[](auto& c) { c.allowed.startPeriod.reset(); }, "2025", 3, false},
        {[](auto& c) { c.working.startPeriod.reset(); }, "2027", 1, true},
        {[](auto& c) { c.activated = false; }, "2027", 1, true},
    };
    for (const auto& [change, fyear, period, passes] : cases) {
        store::WorkingPeriodConfig changed = config;
        change(changed);
        EXPECT_EQ(isWithinReceiptWorkingPeriod(changed, fyear, period), passes)
            << fyear << "/" << period;
    }
}

}  // namespace
}  // namespace keltro::receipts
