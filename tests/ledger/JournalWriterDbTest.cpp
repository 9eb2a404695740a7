// The journal writer on the demo company: the invoice journal and its aggregation, the
// document's currency with its rounding line, the lines of matching, the fiscal year of
// the number, and what it refuses. Allocation and the receipt's rule (each entry's
// currency at its implied rate) are checked on the journals the invoice and receipt
// screens post, line by line.
#include "ledger/LedgerFixture.h"

namespace keltro::test {
namespace {

using services::JournalEntries;
using services::JournalOptions;

struct Line {
    std::int64_t lineno;
    std::string accno;
    double amount;
    std::optional<double> base;
    std::string currency;
    std::string ledgertype;
    std::optional<double> rate;

    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l) {
    return out << l.lineno << " " << l.accno << " " << l.amount << " "
               << (l.base ? std::to_string(*l.base) : "-") << " " << l.currency << " "
               << l.ledgertype << " " << (l.rate ? std::to_string(*l.rate) : "-");
}

JournalEntries entriesOf(const std::vector<services::AccountCurrencyTotal>& list) {
    JournalEntries entries;
    for (const auto& e : list) entries.add(e.accno, e.currency, e.amount, e.baseAmount);
    return entries;
}

class JournalWriterTest : public LedgerTest {
protected:
    std::vector<Line> lines(const std::string& key) {
        std::vector<Line> out;
        for (const auto& row :
             db().query("SELECT * FROM GL_transaction_table WHERE fkey = ? ORDER BY lineno", {key}))
            out.push_back({row["lineno"].integerOr(0), row["accno"].textOr(),
                           row["amount"].numberOr(0.0), row["base_amount"].number(),
                           row["Currency"].textOr(), row["ledgertype"].textOr(),
                           row["exchange_rate"].number()});
        return out;
    }

    // Each column of the first row `sql` selects, read as text (nullopt for Null).
    void expectColumns(
        const std::string& sql, const db::Params& params,
        const std::vector<std::pair<std::string, std::optional<std::string>>>& expected) {
        const auto row = db().queryOne(sql, params);
        ASSERT_TRUE(row) << sql;
        for (const auto& [column, text] : expected) EXPECT_EQ((*row)[column].text(), text) << column;
    }

    static JournalOptions rounding() {
        return {.rounding = services::RoundingLine{"7000", "7010", "1001"}};
    }
};

TEST_F(JournalWriterTest, invoiceInBaseCurrencyWritesHeaderLinesAndBalances) {
    const auto key = post(header(), entriesOf({{"1100", "USD", 110, 110}, {"4000", "USD", 60, 60},
                                               {"2200", "USD", 10, 10}, {"4000", "USD", 40, 40}}));
    ASSERT_EQ(key, "1gl-1") << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(lines(*key), (std::vector<Line>{{1, "1100", 110, 110, "USD", "A", {}},
                                              {2, "4000", 100, 100, "USD", "A", {}},
                                              {3, "2200", 10, 10, "USD", "A", {}}}));
    const std::optional<std::string> none;
    expectColumns("SELECT * FROM GL_header_table WHERE fkey = ?", {*key},
                  {{"docno", "GL-26-00001"}, {"doctype", "gl"}, {"Source", "AR-INVOICE"},
                   {"source_form", "A/R Invoice Entry"}, {"source_docno", "INV-26-00001"},
                   {"remark", "Invoice no. INV-26-00001"}, {"gldate", "2026-03-10"}, {"period", "3"},
                   {"fyear", "2026"}, {"Reverse", "0"}, {"exchange_rate", none},
                   {"user_created", "admin"}, {"date_created", "2026-12-06"}});
    expectColumns("SELECT * FROM GL_transaction_table WHERE fkey = ? AND lineno = 2", {*key},
                  {{"acccode", "4000"}, {"subacc", "00"}, {"docno", "GL-26-00001"},
                   {"gldate", "2026-03-10"}, {"period", "3"}, {"source_docno", "INV-26-00001"},
                   {"Source", "AR-INVOICE"}, {"user_created", "admin"}, {"customer_no", none}});

    EXPECT_EQ(running("A", "1100").first, 110);
    EXPECT_EQ(running("A", "4000").first, 100);
    EXPECT_EQ(running("A", "3900").first, 100) << "sales move current earnings";
    EXPECT_EQ(period("2026", "A", "2200").plain.movements[2], 10);
    EXPECT_EQ(count("SELECT fkeyno FROM Next_number_fkey_table WHERE doctype = 'gl'"), 2);
    EXPECT_TRUE(ui.texts().empty());
}

// A foreign invoice's lines follow the document's currency and rate; a journal a cent or
// up to 99 cents out gets a rounding line on the realized gain or loss account.
TEST_F(JournalWriterTest, foreignInvoiceFollowsTheDocumentAndIsRoundedWithinADollar) {
    struct Case {
        const char* name;
        double receivableBase;
        std::optional<Line> rounding;
    };
    const Case cases[] = {
        {"balanced: no rounding line", 110, {}},
        {"debits exceed credits: gain credited", 110.01, Line{3, "7000", 0.01, 0.01, "USD", "A", 1.1}},
        {"credits exceed debits: loss debited", 109.99, Line{3, "7010", 0.01, 0.01, "USD", "A", 1.1}},
        {"99 cents still rounded", 110.99, Line{3, "7000", 0.99, 0.99, "USD", "A", 1.1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto key = post(header("EUR", 1.1),
                              entriesOf({{"1100", "EUR", 100, c.receivableBase}, {"4000", "EUR", 100, 110}}),
                              rounding());
        ASSERT_TRUE(key) << ::testing::PrintToString(ui.texts());
        std::vector<Line> expected = {{1, "1100", 100, c.receivableBase, "EUR", "F", 1.1},
                                      {2, "4000", 100, 110, "EUR", "F", 1.1}};
        if (c.rounding) expected.push_back(*c.rounding);
        EXPECT_EQ(lines(*key), expected);
        EXPECT_EQ(db().queryOne("SELECT exchange_rate FROM GL_header_table WHERE fkey = ?", {*key})
                      ->at(0).number(), 1.1);
        if (!c.rounding) {
            EXPECT_EQ(running("F", "1100", "EUR"), std::pair(100.0, 110.0));
            EXPECT_EQ(running("A", "1100").first, 110);
        } else {
            EXPECT_EQ(db().queryOne("SELECT customer_no FROM GL_transaction_table WHERE fkey = ? "
                                    "AND lineno = 3", {*key})->at(0).text(), "1001");
        }
    }
    EXPECT_EQ(running("A", "7000").first, 1.00);
    EXPECT_EQ(running("A", "7010").first, 0.01);
}

TEST_F(JournalWriterTest, refusalsLeaveNothingBehind) {
    JournalEntries tooMany;
    for (int i = 0; i < 51; ++i) tooMany.add("4000", "C" + std::to_string(i), 1, 1);
    auto noYear = header();
    noYear.fyear = "2031";
    struct Case {
        const char* name;
        services::JournalHeader header;
        JournalEntries entries;
        std::vector<std::string> said;
        const char* setUp = "";
    };
    const Case cases[] = {
        {"51 account and currency pairs", header(), tooMany,
         {"Error : the journal needs more than 50 account and currency entries; account 4000 in "
          "C50 is one too many."}},
        {"a difference of 1.00 gets no rounding line", header("EUR", 1.1),
         entriesOf({{"1100", "EUR", 100, 111}, {"4000", "EUR", 100, 110}}),
         {"Document is not balance (debit <> credit)"}},
        {"unknown account", header(), entriesOf({{"1100", "USD", 5, 5}, {"9999", "USD", 5, 5}}),
         {"No account 9999"}},
        {"inactive account", header(), entriesOf({{"1190", "USD", 5, 5}, {"4000", "USD", 5, 5}}),
         {"Account 1190 is inactive."}},
        {"no numbering for the year", noYear,
         entriesOf({{"1100", "USD", 110, 110}, {"4000", "USD", 100, 100}, {"2200", "USD", 10.01, 10.01}}),
         {"Next number of document type gl for fiscal year 2031 is missing.\nCreate new fiscal "
          "year with \"Add New Fiscal Year\" in General Ledger system."}},
        // Last, since it takes the base ledger's period rows away.
        {"a currency that cannot be set up for the account", header("EUR", 1),
         entriesOf({{"6100", "EUR", 5, 5}}),
         {"Error : no account balance", "Account 6100 has not been set for currency EUR"},
         "DELETE FROM Balance_period_table WHERE ledgertype = 'A'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (*c.setUp) db().execute(c.setUp);
        const auto before = postingSnapshot(db());
        ui.clear();
        EXPECT_FALSE(post(c.header, c.entries, rounding()));
        EXPECT_EQ(ui.texts(), c.said);
        EXPECT_EQ(postingSnapshot(db()), before);
    }
}

TEST_F(JournalWriterTest, matchingLinesCarryAmountsOnlyAndStampTheUserid) {
    // Base-currency entries first, then the document-currency ones.
    auto entries = entriesOf({{"6100", "USD", 2.80, 2.80}, {"1100", "USD", -2.80, -2.80}});
    entries.append(entriesOf({{"6100", "EUR", 2, 0}, {"1100", "EUR", -2, 0}}));
    const auto key = post(header(), entries,
                          {.ledger = services::LedgerRule::EntryCurrency,
                           .foreignRate = services::ForeignLineRate::None,
                           .baseAmountOnLines = false,
                           .stampUserid = true});
    ASSERT_TRUE(key) << ::testing::PrintToString(ui.texts());
    EXPECT_EQ(lines(*key), (std::vector<Line>{{1, "6100", 2.80, {}, "USD", "A", {}},
                                              {2, "1100", -2.80, {}, "USD", "A", {}},
                                              {3, "6100", 2, {}, "EUR", "F", {}},
                                              {4, "1100", -2, {}, "EUR", "F", {}}}));
    expectColumns("SELECT userid, user_created FROM GL_transaction_table WHERE fkey = ? AND lineno = 1",
                  {*key}, {{"userid", "admin"}, {"user_created", std::nullopt}});
    EXPECT_EQ(running("A", "6100"), std::pair(2.8, 0.0));
    EXPECT_EQ(running("F", "6100", "EUR"), std::pair(2.0, 0.0));
    EXPECT_EQ(period("2026", "F", "6100", "EUR").plain.ytd, 2);
}

TEST_F(JournalWriterTest, journalNumbersComeFromTheJournalsFiscalYear) {
    const auto entries = entriesOf({{"1100", "USD", 1, 1}, {"4000", "USD", 1, 1}});
    auto h = header();
    ASSERT_EQ(post(h, entries), "1gl-1");
    h.fyear = "2027";
    h.period = "CL";
    ASSERT_EQ(post(h, entries), "1gl-2");
    EXPECT_EQ(db().queryOne("SELECT docno FROM GL_header_table WHERE fkey = '1gl-2'")->at(0).text(),
              "GL-27-00001");
    EXPECT_EQ(period("2027", "A", "1100").plain.movements[services::kClosingSlot], 1);
}

}  // namespace
}  // namespace keltro::test
