// Reference data on the engine of this run: customers (quotes, the reserved "0"), terms,
// the latest exchange rate, tax authorities, revenue accounts, module accounts,
// allocations and the working-period check against its stored configuration.
#include <gtest/gtest.h>

#include "db/Database.h"
#include "schema/Schema.h"
#include "services/Ui.h"
#include "store/Accounts.h"
#include "store/ReferenceData.h"
#include "store/TaxCodes.h"
#include "store/WorkingPeriod.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using db::Date;
using db::Value;

class ReferenceData : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }
    void run(const std::string& sql, const db::Params& params) { db().execute(sql, params); }

    test::TestDatabase database{test::Contents::Tables};
    services::RecordingUi ui;
};

TEST_F(ReferenceData, customersWithQuotesAreFoundAndTheReservedOneNever) {
    const std::string insert =
        "INSERT INTO Customer_table (customer_no, customer_name, active, ar_accno) "
        "VALUES (?, ?, ?, ?)";
    run(insert, {"0", "Cash sales", true, Value()});
    run(insert, {"O'B-1", "O'Brien & \"Sons\"", Value(), "1200"});
    run(insert, {"Z9", "Zed's", false, Value()});

    const auto obrien = store::findCustomer(db(), "O'B-1");
    ASSERT_TRUE(obrien);
    EXPECT_EQ(obrien->name, "O'Brien & \"Sons\"");
    EXPECT_TRUE(obrien->active) << "a Null flag is not an inactive customer";
    EXPECT_EQ(obrien->arAccno, "1200");
    EXPECT_FALSE(store::findCustomer(db(), "Z9")->active);
    EXPECT_FALSE(store::findCustomer(db(), "0"));
    EXPECT_FALSE(store::findCustomer(db(), "O'B-1' OR '1'='1"));

    std::vector<std::string> byName;
    for (const auto& c : store::listCustomers(db(), store::CustomerOrder::ByName))
        byName.push_back(c.customerNo);
    EXPECT_EQ(byName, (std::vector<std::string>{"Z9", "O'B-1"}));
}

TEST_F(ReferenceData, defaultTermAndTermListLeaveTheCashTermWhereItBelongs) {
    const std::string insert =
        "INSERT INTO Payment_term_table (term_no, payment_term, duedays, early_days, "
        "early_discount, [default]) VALUES (?, ?, ?, ?, ?, ?)";
    run(insert, {"00", "00", 0, 0, Value(), false});
    run(insert, {"30", "30", 30, 10, 2.0, true});
    run(insert, {"60", "60", 60, Value(), Value(), false});

    const auto term = store::defaultPaymentTerm(db());
    ASSERT_TRUE(term);
    EXPECT_EQ(term->termNo, "30");
    EXPECT_EQ(term->earlyDiscount, 2.0);
    EXPECT_FALSE(store::findPaymentTerm(db(), "60")->earlyDays.has_value());
    std::vector<std::string> listed;
    for (const auto& t : store::listPaymentTerms(db())) listed.push_back(t.termNo);
    EXPECT_EQ(listed, (std::vector<std::string>{"60", "30"}));
}

TEST_F(ReferenceData, latestRateIsTheLastOnOrBeforeTheDate) {
    const std::string insert =
        "INSERT INTO Exchange_rate_table (currency, rate_date, Rate) VALUES (?, ?, ?)";
    run(insert, {"EUR", Date{2024, 2, 1}, 1.45});
    run(insert, {"EUR", Date{2024, 1, 10}, 1.40});
    run(insert, {"EUR", Date{2024, 3, 1}, 1.50});
    run(insert, {"EUR", Value(), 9.99});
    run(insert, {"USD", Date{2024, 2, 15}, 1.35});

    struct Case {
        const char* what;
        std::optional<Date> onOrBefore;
        std::optional<double> rate;
    };
    const std::vector<Case> cases = {
        {"a rate of the same day counts", Date{2024, 2, 1}, 1.45},
        {"later rates and other currencies are ignored", Date{2024, 2, 29}, 1.45},
        {"the day before the first rate has none", Date{2024, 1, 9}, std::nullopt},
        {"without a date the latest of all", std::nullopt, 1.50},
        {"far in the future the latest of all", Date{2030, 1, 1}, 1.50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto latest = store::latestExchangeRate(db(), "EUR", c.onOrBefore);
        ASSERT_EQ(latest.has_value(), c.rate.has_value());
        if (!latest) continue;
        EXPECT_EQ(latest->rate, *c.rate);
        const auto list = store::exchangeRates(db(), "EUR", c.onOrBefore);
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.back().rate, latest->rate) << "the list's last row";
        EXPECT_EQ(list.back().rateDate, latest->rateDate);
    }
    EXPECT_FALSE(store::latestExchangeRate(db(), "GBP", std::nullopt));
}

TEST_F(ReferenceData, taxAuthoritiesComeInItemOrderAndOnlyForSales) {
    const std::string authority =
        "INSERT INTO Tax_authority_table (tax_authority, Rate, min_charged, max_charged, "
        "acc_liability) VALUES (?, ?, ?, ?, ?)";
    run(authority, {"GST", 5.0, Value(), Value(), "2310"});
    run(authority, {"PST", 8.0, 2.0, 0.0, "2320"});
    run(authority, {"HST", 13.0, Value(), Value(), "2330"});
    const std::string detail =
        "INSERT INTO Tax_code_details_table (tax_code, item_no, tax_authority, "
        "transaction_type, taxable) VALUES (?, ?, ?, ?, ?)";
    run(detail, {"GP", 10, "PST", "sales", false});
    run(detail, {"GP", 2, "GST", "sales", true});
    run(detail, {"GP", 1, "HST", "purchase", false});
    run(detail, {"H", 1, "HST", "sales", false});

    const auto authorities = store::salesTaxAuthorities(db(), "GP");
    ASSERT_EQ(authorities.size(), 2u);
    EXPECT_EQ(authorities[0].authority, "GST") << "item 2 before item 10";
    EXPECT_EQ(authorities[0].itemNo, 2);
    EXPECT_TRUE(authorities[0].taxable);
    EXPECT_EQ(authorities[0].liabilityAccno, "2310");
    EXPECT_EQ(authorities[1].authority, "PST");
    EXPECT_EQ(authorities[1].rate, 8.0);
    EXPECT_EQ(authorities[1].minCharged, 2.0);
    EXPECT_EQ(authorities[1].maxCharged, 0.0);
    EXPECT_TRUE(store::salesTaxAuthorities(db(), "NONE").empty());
    EXPECT_EQ(store::findTaxAuthority(db(), "PST")->liabilityAccno, "2320");
}

TEST_F(ReferenceData, defaultTaxCodeByScopeAndItsMessage) {
    const std::string insert =
        "INSERT INTO Tax_code_table (tax_code, description, transaction_type, [default]) "
        "VALUES (?, ?, ?, ?)";
    run(insert, {"P", "Purchase", "purchase", true});
    EXPECT_FALSE(store::requireDefaultTaxCode(db(), ui, store::DefaultTaxScope::SalesCodes));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Default Tax code has not been set"});
    EXPECT_EQ(store::defaultTaxCode(db(), store::DefaultTaxScope::AnyCode)->code, "P");

    run(insert, {"G", "GST", "sales", true});
    EXPECT_EQ(store::defaultTaxCode(db(), store::DefaultTaxScope::SalesCodes)->code, "G");
    EXPECT_EQ(store::findTaxCode(db(), "G")->description, "GST");
}

TEST_F(ReferenceData, revenueAccountsArePostableAccountsUnderRevenueByNumber) {
    run("INSERT INTO Account_class_table (class_name, parent) VALUES (?, ?)", {"Sales", "REVENUE"});
    run("INSERT INTO Account_class_table (class_name, parent) VALUES (?, ?)", {"Other", "REVENUE"});
    run("INSERT INTO Account_class_table (class_name, parent) VALUES (?, ?)", {"Cost", "EXPENSE"});
    const std::string account =
        "INSERT INTO Account_master_table (accno, accname, [type], accclass, debit) "
        "VALUES (?, ?, ?, ?, ?)";
    run(account, {"4100", "Service", "A", "Sales", false});
    run(account, {"4000", "Goods", "A", "Sales", false});
    run(account, {"4900", "Sales header", "H", "Sales", false});
    run(account, {"3950", "Interest", "A", "Other", false});
    run(account, {"5000", "Cost of goods", "A", "Cost", true});

    std::vector<std::string> numbers;
    for (const auto& a : store::revenueAccounts(db())) numbers.push_back(a.accno);
    EXPECT_EQ(numbers, (std::vector<std::string>{"3950", "4000", "4100"}));
    const auto cost = store::findAccount(db(), "5000");
    ASSERT_TRUE(cost);
    EXPECT_TRUE(cost->debit);
    EXPECT_EQ(cost->accclass, "Cost");
    EXPECT_FALSE(store::findAccount(db(), "9999"));
}

TEST_F(ReferenceData, moduleAccountsReceivableRuleAndAllocations) {
    const std::string insert =
        "INSERT INTO Account_Parameters_table (module, parameter_name, accno, [default]) "
        "VALUES (?, ?, ?, ?)";
    run(insert, {"AR", "AR account receivable account", "1200", false});
    run(insert, {"GL", "GL realized gain account", "7010", false});
    run(insert, {"GL", "GL realized gain account", "7000", true});
    using namespace store::parameter;
    const std::string receivable = store::moduleAccount(db(), kAr, kReceivable);
    EXPECT_EQ(receivable, "1200");
    EXPECT_EQ(store::defaultModuleAccount(db(), kGl, kRealizedGain), "7000");
    EXPECT_EQ(store::defaultModuleAccount(db(), kGl, kRealizedLoss), "");

    store::Customer customer;
    customer.customerNo = "O'Brien";
    EXPECT_EQ(store::receivableAccount(ui, customer, receivable), "1200");
    customer.arAccno = "1210";
    EXPECT_EQ(store::receivableAccount(ui, customer, receivable), "1210");
    EXPECT_TRUE(ui.texts().empty());
    customer.arAccno.clear();
    EXPECT_FALSE(store::receivableAccount(ui, customer, ""));
    EXPECT_EQ(ui.texts(),
              std::vector<std::string>{"Error : receiveable account for O'Brien is empty"});

    for (const char* accno : {"4000", "4010"})
        run("INSERT INTO Account_master_table (accno, accname, [type]) VALUES (?, ?, 'A')",
            {accno, "Sales"});
    run("INSERT INTO Allocation_Account_table (allocate_accno, accno, [Percent]) VALUES (?, ?, ?)",
        {"4000", "4010", 60.0});
    run("INSERT INTO Allocation_Account_table (allocate_accno, accno, [Percent]) VALUES (?, ?, ?)",
        {"4000", "4020", 40.0});
    const auto read = store::findAccountsAndShares(db(), {"4000", "4010"});
    const auto& shares = read.shares.at("4000");
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[1].accno, "4020");
    EXPECT_EQ(shares[1].percent, 40.0);
    EXPECT_TRUE(read.shares.at("4010").empty());
}

TEST_F(ReferenceData, workingPeriodCheckReadsItsConfigurationAndSaysWhy) {
    EXPECT_TRUE(store::checkWorkingPeriod(db(), ui, "2024", 3)) << "no configuration row";
    run("INSERT INTO COA_config_table (activate_working_period, working_start_period, "
        "working_start_fyear, working_end_period, working_end_fyear, allow_history_update) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        {true, 11, "2023", 2, "2024", false});
    EXPECT_TRUE(store::checkWorkingPeriod(db(), ui, "2024", 2));
    EXPECT_TRUE(ui.texts().empty());
    EXPECT_FALSE(store::checkWorkingPeriod(db(), ui, "2024", 3));
    EXPECT_EQ(ui.texts(), std::vector<std::string>{"Fiscal period/year is out of working period."});
}

}  // namespace
}  // namespace keltro
