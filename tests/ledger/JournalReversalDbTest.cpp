// Reversals on the demo company: invoices, prepayments and receipts, into a new journal
// in today's period or appended to the journal itself.
#include <functional>

#include "ledger/LedgerFixture.h"
#include "services/BooksAudit.h"
#include "services/JournalReversal.h"

namespace keltro::test {
namespace {

using services::Reversal;

class JournalReversalTest : public LedgerTest {
protected:
    // An invoice journal of period `period` 2026: receivable +110, sales +100, tax +10.
    std::string postInvoice(const std::string& periodCode = "3") {
        services::JournalEntries entries;
        entries.add("1100", "USD", 110, 110);
        entries.add("4000", "USD", 100, 100);
        entries.add("2200", "USD", 10, 10);
        auto h = header();
        h.period = periodCode;
        const auto key = post(h, entries);
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
        EXPECT_TRUE(services::AuditBooks(db()).empty())
            << ::testing::PrintToString(services::AuditBooks(db()));
    }
};

TEST_F(JournalReversalTest, documentReversalsPostANewJournalInTodaysPeriod) {
    struct Case {
        const char* name;
        std::function<std::optional<Reversal>(services::JournalContext&, const std::string&)> run;
        const char* source;
        const char* description;
        const char* reversedDescription;
    };
    const Case cases[] = {
        {"invoice voided",
         [](auto& c, const auto& key) {
             return services::ReverseInvoiceJournal(c, key, "INV-7", services::InvoiceChange::Void);
         },
         "AR-INVOICE", "void invoice INV-7", "Void invoice INV-7"},
        {"invoice edited",
         [](auto& c, const auto& key) {
             return services::ReverseInvoiceJournal(c, key, "INV-7", services::InvoiceChange::Edit);
         },
         "AR-INVOICE", "void invoice INV-7", "Edit invoice INV-7"},
        {"prepayment voided",
         [](auto& c, const auto& key) {
             return services::ReversePrepaymentJournal(c, key, "PP-3");
         },
         "AR-PREPAY", "void invoice PP-3", "Void invoice PP-3"},
    };
    double invoiced = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string key = postInvoice("3");
        invoiced += 100;
        const std::string number = headerOf(key)["docno"].textOr();
        const auto reversal = reverse([&] { return c.run(context, key); });
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
        EXPECT_EQ(reversed["Description"].text(), c.reversedDescription);
        EXPECT_EQ(reversed["remark"].text(), "Reversed by " + reversal->journalNo);

        const auto copies = db().query(
            "SELECT accno, amount, base_amount, period FROM GL_transaction_table WHERE fkey = ? "
            "ORDER BY lineno",
            {reversal->journalKey});
        ASSERT_EQ(copies.size(), 3u);
        EXPECT_EQ(copies[0]["accno"].text(), "1100");
        EXPECT_EQ(copies[0]["amount"].number(), -110);
        EXPECT_EQ(copies[2]["base_amount"].number(), -10);
        const auto sales = period("2026", "A", "4000");
        EXPECT_EQ(sales.plain.movements[2], invoiced) << "the invoice's period keeps its movement";
        EXPECT_EQ(sales.plain.movements[11], -invoiced) << "the reversal moves today's period";
        expectBooksBackAtZero();
    }
}

TEST_F(JournalReversalTest, receiptVoidIsAppendedInItsOwnPeriodAndANewJournalLater) {
    const std::string key = postInvoice("12");
    const std::string remark = headerOf(key)["remark"].textOr();
    const auto appended =
        reverse([&] { return services::ReverseReceiptJournal(context, key, "RC-26-00004"); });
    ASSERT_TRUE(appended) << ::testing::PrintToString(ui.texts());
    EXPECT_TRUE(appended->appended);
    EXPECT_EQ(appended->journalKey, key);
    EXPECT_EQ(count("SELECT COUNT(*) FROM GL_header_table"), 1);
    const auto voided = headerOf(key);
    EXPECT_EQ(voided["Description"].text(), "Void receipt RC-26-00004");
    EXPECT_EQ(voided["Reverse"].boolean(), true);
    EXPECT_EQ(voided["remark"].text(), remark);
    const auto lines = db().query(
        "SELECT lineno, accno, amount FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno",
        {key});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3]["lineno"].integer(), 4);
    EXPECT_EQ(lines[3]["accno"].text(), "1100");
    EXPECT_EQ(lines[3]["amount"].number(), -110);
    expectBooksBackAtZero();

    const std::string earlier = postInvoice("11");
    const auto reversal =
        reverse([&] { return services::ReverseReceiptJournal(context, earlier, "RC-26-00004"); });
    ASSERT_TRUE(reversal) << ::testing::PrintToString(ui.texts());
    EXPECT_FALSE(reversal->appended);
    const auto created = headerOf(reversal->journalKey);
    EXPECT_EQ(created["Description"].text(), "void receipt RC-26-00004");
    EXPECT_EQ(created["Source"].text(), "AR-RECEIPT");
    EXPECT_EQ(created["period"].text(), "12");
    const auto reversed = headerOf(earlier);
    EXPECT_EQ(reversed["Reverse"].boolean(), true);
    EXPECT_EQ(reversed["remark"].text(), "Reversed by " + reversal->journalNo);
    EXPECT_EQ(reversed["Description"].textOr(), "") << "a receipt journal keeps its description";
    expectBooksBackAtZero();
}

TEST_F(JournalReversalTest, reversalIntoAGivenPeriodCanLeaveTheOriginalUnmarked) {
    const std::string key = postInvoice("12");
    const auto reversal = reverse([&] {
        return services::ReverseIntoNewJournal(context, {.journalKey = key,
                                                         .date = {2027, 1, 1},
                                                         .period = "1",
                                                         .fyear = "2027",
                                                         .source = "AR-REVALUE",
                                                         .description = "",
                                                         .remark = "Reverse A/R Revaluation RV-1",
                                                         .markReversed = false});
    });
    ASSERT_TRUE(reversal) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(headerOf(reversal->journalKey)["remark"].text(), "Reverse A/R Revaluation RV-1");
    EXPECT_EQ(headerOf(key)["Reverse"].boolean(), false);
    EXPECT_EQ(period("2027", "A", "1100").plain.movements[0], -110);
    EXPECT_EQ(running("A", "1100").first, 0);
}

TEST_F(JournalReversalTest, nothingToReverseAndNoFiscalYearForToday) {
    const auto nothing = reverse([&] {
        return services::ReverseInvoiceJournal(context, "1gl-99", "INV-1",
                                               services::InvoiceChange::Void);
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
