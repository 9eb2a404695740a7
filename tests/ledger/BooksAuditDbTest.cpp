// The books audit on posted journals of the demo company: clean books, and each kind of
// damage named where it is; then `keltro-ar check` as an accountant runs it.
#include <gmock/gmock.h>

#include "ledger/LedgerFixture.h"
#include "services/BooksAudit.h"
#include "support/CommandRun.h"

namespace keltro::test {
namespace {

using ::testing::HasSubstr;

class BooksAuditTest : public LedgerTest {
protected:
    // 1gl-1: invoice in USD, period 3. 1gl-2: invoice in EUR at 1.1, period 4, with a
    // rounding line of 0.01 on the realized gain account.
    void SetUp() override {
        LedgerTest::SetUp();
        services::JournalEntries usd;
        usd.add("1100", "USD", 110, 110);
        usd.add("4000", "USD", 100, 100);
        usd.add("2200", "USD", 10, 10);
        ASSERT_EQ(post(header(), usd), "1gl-1") << ::testing::PrintToString(ui.texts());
        services::JournalEntries eur;
        eur.add("1100", "EUR", 100, 110.01);
        eur.add("4000", "EUR", 100, 110);
        const services::RoundingLine rounding{"7000", "7010", "1001"};
        ASSERT_EQ(post(header("EUR", 1.1, "4"), eur, {.rounding = rounding}), "1gl-2")
            << ::testing::PrintToString(ui.texts());
    }

    // The findings after `damage`, which is rolled back afterwards.
    std::vector<std::string> auditAfter(const std::vector<std::string>& damage) {
        db::Transaction tx(db());
        for (const auto& sql : damage) db().execute(sql);
        return services::AuditBooks(db());
    }
};

TEST_F(BooksAuditTest, openingBalanceOfTheFirstYearCarriesIntoTheRunningBalance) {
    std::string shift =
        "UPDATE Balance_period_table SET opening_balance = 50, ytd_balance = ytd_balance + 50";
    for (int n = 1; n <= 13; ++n)
        shift += ", balperiod" + std::to_string(n) + " = balperiod" + std::to_string(n) + " + 50";
    shift += " WHERE fyear = '2025' AND ledgertype = 'A' AND accno = '1100'";
    EXPECT_EQ(auditAfter({shift,
                          "UPDATE Balance_table SET amount = amount + 50 WHERE accno = '1100' "
                          "AND ledgertype = 'A'"}),
              std::vector<std::string>{});
}

TEST_F(BooksAuditTest, eachDamageIsNamedWhereItIs) {
    const std::string row4000 =
        "Balance_period_table row (fiscal year 2026, company 1, ledger A, account 4000, currency "
        "USD): ";
    struct Case {
        const char* name;
        std::vector<std::string> damage;
        std::vector<std::string> expected;  // each must be among the findings
    };
    const Case cases[] = {
        {"line's base amount changed",
         {"UPDATE GL_transaction_table SET base_amount = 110.01 WHERE fkey = '1gl-1' AND lineno = "
          "1"},
         {"Journal 1gl-1 (GL-26-00001) does not balance: debits exceed credits by 0.01",
          "Balance_period_table row (fiscal year 2026, company 1, ledger A, account 1100, currency "
          "USD): e_period3 is 110.00, its journal lines give 110.01"}},
        {"movement changed by hand",
         {"UPDATE Balance_period_table SET Period3 = 105 WHERE fyear = '2026' AND accno = '4000' "
          "AND ledgertype = 'A'"},
         {row4000 + "Period3 is 105.00, its journal lines give 100.00",
          row4000 + "balperiod3 is 100.00, opening and movements give 105.00",
          "Balance_table row (company 1, ledger A, account 4000, currency USD): amount is 210.00, "
          "the opening balance of 2025 and the movements since give 215.00"}},
        {"current earnings' period-end balance",
         {"UPDATE Balance_period_table SET e_balperiod7 = 1 WHERE fyear = '2026' AND accno = "
          "'3900'"},
         {"Balance_period_table row (fiscal year 2026, company 1, ledger A, account 3900, currency "
          "USD): e_balperiod7 is 1.00, opening and movements give 100.01"}},
        {"period code nobody knows: its row has no lines",
         {"UPDATE GL_transaction_table SET period = '14' WHERE fkey = '1gl-1' AND lineno = 3"},
         {"Journal 1gl-1 line 3: period \"14\" moves no period column",
          "Balance_period_table row (fiscal year 2026, company 1, ledger A, account 2200, currency "
          "USD): Period3 is 10.00, its journal lines give 0.00"}},
        {"account gone from the chart",
         {"UPDATE GL_transaction_table SET accno = '9999' WHERE fkey = '1gl-1' AND lineno = 3"},
         {"Journal 1gl-1 line 3: account 9999 is not in Account_master_table"}},
        {"foreign ledger's 'A' movement",
         {"UPDATE Balance_period_table SET period4 = 100 WHERE fyear = '2026' AND accno = '1100' "
          "AND ledgertype = 'A'"},
         {"Balance_period_table row (fiscal year 2026, company 1, ledger A, account 1100, currency "
          "USD): period4 is 100.00, its journal lines give 110.01"}},
        {"key counter behind the keys",
         {"UPDATE Next_number_fkey_table SET fkeyno = 2 WHERE doctype = 'gl'",
          "INSERT INTO AR_header_table (company, doctype, fkey) VALUES (1, 'inv', '1inv-7')"},
         {"Key counter of gl (company 1) is 2, not above key 1gl-2 in GL_header_table",
          "Key counter of inv (company 1) is 1, not above key 1inv-7 in AR_header_table"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto findings = auditAfter(c.damage);
        for (const auto& expected : c.expected)
            EXPECT_THAT(findings, ::testing::Contains(expected))
                << ::testing::PrintToString(findings);
    }
    EXPECT_EQ(services::AuditBooks(db()), std::vector<std::string>{})
        << "the damage was rolled back";
}

// A clean run of `keltro-ar check` is checked in the receipt benchmark's test.
TEST_F(LedgerTest, checkCommandNamesATamperedRow) {
    db().execute(
        "UPDATE Balance_table SET amount = amount + 1 WHERE accno = '1010' AND ledgertype = 'A'");
    const auto check = runKeltroAr("check --db '" + database.url() + "'");
    EXPECT_EQ(check.status, 1) << check.out << check.err;
    EXPECT_THAT(check.out, HasSubstr("Balance_table row (company 1, ledger A, account 1010, "
                                     "currency USD): amount is 1.00"));
    EXPECT_THAT(check.out, HasSubstr("1 finding."));
}

}  // namespace
}  // namespace keltro::test
