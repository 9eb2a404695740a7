// Reversals on the demo company: invoices, prepayments and receipts, into a new journal
// in today's period or appended to the journal itself.
#include <functional>

#include "ledger/LedgerFixture.h"
#include "services/BooksAudit.h"
#include "services/JournalReversal.h"

namespace keltro::test {
namespace {

using services::InvoiceChange;
using services::Reversal;

class JournalReversalTest : public LedgerTest {
protected:
    // An invoice journal of period `periodCode` 2026: receivable +110, sales +100, tax +10.
    std::string postInvoice(const std::string& periodCode) {
        services::JournalEntries entries;
        entries.add("1100", "USD", 110, 110);
        entries.add("4000", "USD", 100, 100);
        entries.add("2200", "USD", 10, 10);
        const auto key = post(header("USD", std::nullopt, periodCode), entries);
        EXPECT_TRUE(key) << ::testing::PrintToString(ui.texts());
        return key.value_or("");
    }

    template <class Reverse>
    std::optional<Reversal> reverse(Reverse reverseJournal) {
        db::Transaction tx(db());
        auto reversal = reverseJournal();
        if (reversal) tx.commit();
        return reversal;
    }

    db::Row headerOf(const std::string& key) {
        return *db().queryOne("SELECT * FROM GL_header_table WHERE fkey = ?", {key});
    }

    void expectBooksBackAtZero() {
        for (const char* accno : {"1100", "4000", "2200", "3900"})
            EXPECT_EQ(running("A", accno).first, 0) << accno;
        EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{});
    }
};

// An invoice voided or edited, a prepayment voided and a receipt voided after the period
// of its journal: a new journal today, in today's period, with the texts of its kind.
TEST_F(JournalReversalTest, documentReversalsPostANewJournalInTodaysPeriod) {
    struct Case {
        const char* name;
        std::function<std::optional<Reversal>(const std::string&)> run;
        const char *source, *description, *reversedDescription;
    };
    const Case cases[] = {
        {"invoice voided",
         [&](auto& k) { return ReverseInvoiceJournal(context, k, "INV-7", InvoiceChange::Void); },
         "AR-INVOICE", "void invoice INV-7", "Void invoice INV-7"},
        {"invoice edited",
         [&](auto& k) { return ReverseInvoiceJournal(context, k, "INV-7", InvoiceChange::Edit); },
         "AR-INVOICE", "void invoice INV-7", "Edit invoice INV-7"},
        {"prepayment voided", [&](auto& k) { return ReversePrepaymentJournal(context, k, "PP-3"); },
         "AR-PREPAY", "void invoice PP-3", "Void invoice PP-3"},
        {"receipt voided", [&](auto& k) { return ReverseReceiptJournal(context, k, "RC-4"); },
         "AR-RECEIPT", "void receipt RC-4", ""},  // a receipt journal keeps its description
    };
    double invoiced = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string key = postInvoice("3");
        invoiced += 100;
        const std::string number = headerOf(key)["docno"].textOr();
        const auto reversal = reverse([&] { return c.run(key); });
        ASSERT_TRUE(reversal) << ::testing::PrintToString(ui.texts());
        EXPECT_FALSE(reversal->appended);
        const auto created = headerOf(reversal->journalKey);
        EXPECT_EQ(created["Source"].text(), c.source);
        EXPECT_EQ(created["Description"].text(), c.description);
        EXPECT_EQ(created["remark"].text(), "Reverse GL " + number);
        EXPECT_EQ(created["gldate"].date(), kToday);
        EXPECT_EQ(created["period"].text(), "12");
        EXPECT_EQ(created["source_docno"].text(), "INV-26-00001");
        const auto reversed = headerOf(key);
        EXPECT_EQ(reversed["Reverse"].boolean(), true);
        EXPECT_EQ(reversed["Description"].textOr(), c.reversedDescription);
        EXPECT_EQ(reversed["remark"].text(), "Reversed by " + reversal->journalNo);
        // The copies' amounts are checked by the balances below, their base amounts here.
        const auto copies = db().query(
            "SELECT base_amount FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
            {reversal->journalKey});
        ASSERT_EQ(copies.size(), 3u);
        EXPECT_EQ(copies[2]["base_amount"].number(), -10);
        const auto sales = period("2026", "A", "4000");
        EXPECT_EQ(sales.plain.movements[2], invoiced) << "the invoice's period keeps its movement";
        EXPECT_EQ(sales.plain.movements[11], -invoiced) << "the reversal moves today's period";
        expectBooksBackAtZero();
    }
}

// The receipt screen's test checks the header's texts and marks of this case.
TEST_F(JournalReversalTest, receiptVoidInItsOwnPeriodIsAppendedToItsJournal) {
    const std::string key = postInvoice("12");
    const std::string remark = headerOf(key)["remark"].textOr();
    const auto appended =
        reverse([&] { return services::ReverseReceiptJournal(context, key, "RC-26-00004"); });
    ASSERT_TRUE(appended) << ::testing::PrintToString(ui.texts());
    EXPECT_TRUE(appended->appended);
    EXPECT_EQ(appended->journalKey, key);
    EXPECT_EQ(headerOf(key)["remark"].text(), remark);
    const auto lines = db().query(
        "SELECT lineno, base_amount FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
        {key});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3]["lineno"].integer(), 4);
    EXPECT_EQ(lines[3]["base_amount"].number(), -110);
    expectBooksBackAtZero();  // and so the copies' amounts
}

TEST_F(JournalReversalTest, reversalIntoAGivenPeriodCanLeaveTheOriginalUnmarked) {
    const std::string key = postInvoice("12");
    const auto reversal = reverse([&] {
        return services::ReverseIntoNewJournal(
            context, {.journalKey = key, .date = {2027, 1, 1}, .period = "1", .fyear = "2027",
                      .source = "AR-REVALUE", .description = "",
                      .remark = "Reverse A/R Revaluation RV-1", .markReversed = false});
    });
    ASSERT_TRUE(reversal) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(headerOf(reversal->journalKey)["remark"].text(), "Reverse A/R Revaluation RV-1");
    EXPECT_EQ(headerOf(key)["Reverse"].boolean(), false);
    EXPECT_EQ(period("2027", "A", "1100").plain.movements[0], -110);
    EXPECT_EQ(running("A", "1100").first, 0);
}

TEST_F(JournalReversalTest, nothingToReverseAndNoFiscalYearForToday) {
    const auto nothing = reverse([&] {
        return services::ReverseInvoiceJournal(context, "1gl-99", "INV-1", InvoiceChange::Void);
    });
    ASSERT_TRUE(nothing);
    EXPECT_EQ(nothing->journalKey, "");
    EXPECT_TRUE(ui.texts().empty());

    const std::string key = postInvoice("3");
    services::FixedClock later{{2030, 1, 1}};
    services::JournalContext outOfYears{ledger, later, "admin", "USD"};
    const auto before = postingSnapshot(db());
    for (const auto& run : std::vector<std::function<std::optional<Reversal>()>>{
             [&] { return services::ReverseReceiptJournal(outOfYears, key, "RC-1"); },
             [&] { return services::ReversePrepaymentJournal(outOfYears, key, "PP-1"); }}) {
        ui.clear();
        EXPECT_FALSE(reverse(run));
        EXPECT_EQ(ui.texts(), std::vector<std::string>{"No fiscal year for 2030-01-01"});
        EXPECT_EQ(postingSnapshot(db()), before);
    }
}

}  // namespace
}  // namespace keltro::test
