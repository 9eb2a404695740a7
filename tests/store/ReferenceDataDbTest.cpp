// Reference data on the engine of this run: customers (quotes, the reserved "0"), terms,
// the latest exchange rate, tax authorities, revenue accounts, module accounts,
// allocations and the working-period check against its stored configuration.
#include <gtest/gtest.h>

#include <algorithm>

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
using Texts = std::vector<std::string>;

class ReferenceData : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    // Adds one row per entry of `rows` to the named columns of `table`.
    void insert(const std::string& table, const std::string& columns, const std::vector<db::Params>& rows) {
        std::string sql = "INSERT INTO " + table + " (" + columns + ") VALUES (?";
        for (auto n = std::ranges::count(columns, ','); n > 0; --n) sql += ", ?";
        for (const auto& row : rows) db().execute(sql + ")", row);
    }

    test::TestDatabase database{test::Contents::Tables};
    services::RecordingUi ui;
};

TEST_F(ReferenceData, customersWithQuotesAreFoundAndTheReservedOneNever) {
    insert("Customer_table", "customer_no, customer_name, active, ar_accno",
           {{"0", "Cash sales", true, Value()}, {"O'B-1", "O'Brien & \"Sons\"", Value(), "1200"},
            {"Z9", "Zed's", false, Value()}});
    const auto obrien = store::findCustomer(db(), "O'B-1");
    ASSERT_TRUE(obrien);
    EXPECT_EQ(obrien->name, "O'Brien & \"Sons\"");
    EXPECT_TRUE(obrien->active) << "a Null flag is not an inactive customer";
    EXPECT_EQ(obrien->arAccno, "1200");
    EXPECT_FALSE(store::findCustomer(db(), "Z9")->active);
    EXPECT_FALSE(store::findCustomer(db(), "0"));
    EXPECT_FALSE(store::findCustomer(db(), "O'B-1' OR '1'='1"));

    Texts byName;
    for (const auto& c : store::listCustomers(db(), store::CustomerOrder::ByName)) byName.push_back(c.customerNo);
    EXPECT_EQ(byName, (Texts{"Z9", "O'B-1"}));
}

TEST_F(ReferenceData, defaultTermAndTermListLeaveTheCashTermWhereItBelongs) {
    insert("Payment_term_table", "term_no, payment_term, duedays, early_days, early_discount, [default]",
           {{"00", "00", 0, 0, Value(), false}, {"30", "30", 30, 10, 2.0, true},
            {"60", "60", 60, Value(), Value(), false}});
    const auto term = store::defaultPaymentTerm(db());
    ASSERT_TRUE(term);
    EXPECT_EQ(term->termNo, "30");
    EXPECT_EQ(term->earlyDiscount, 2.0);
    EXPECT_FALSE(store::findPaymentTerm(db(), "60")->earlyDays.has_value());
    Texts listed;
    for (const auto& t : store::listPaymentTerms(db())) listed.push_back(t.termNo);
    EXPECT_EQ(listed, (Texts{"60", "30"}));
}

TEST_F(ReferenceData, latestRateIsTheLastOnOrBeforeTheDate) {
    insert("Exchange_rate_table", "currency, rate_date, Rate",
           {{"EUR", Date{2024, 2, 1}, 1.45}, {"EUR", Date{2024, 1, 10}, 1.40}, {"EUR", Date{2024, 3, 1}, 1.50},
            {"EUR", Value(), 9.99}, {"USD", Date{2024, 2, 15}, 1.35}});
    const std::tuple<const char*, std::optional<Date>, std::optional<double>> cases[] = {
        {"a rate of the same day counts", Date{2024, 2, 1}, 1.45},
        {"later rates and other currencies are ignored", Date{2024, 2, 29}, 1.45},
        {"the day before the first rate has none", Date{2024, 1, 9}, std::nullopt},
        {"without a date the latest of all", std::nullopt, 1.50},
        {"far in the future the latest of all", Date{2030, 1, 1}, 1.50},
    };
    for (const auto& [what, onOrBefore, rate] : cases) {
        SCOPED_TRACE(what);
        const auto latest = store::latestExchangeRate(db(), "EUR", onOrBefore);
        ASSERT_EQ(latest.has_value(), rate.has_value());
        if (!latest) continue;
        EXPECT_EQ(latest->rate, *rate);
        const auto list = store::exchangeRates(db(), "EUR", onOrBefore);
        ASSERT_FALSE(list.empty());
        EXPECT_EQ(list.back().rate, latest->rate) << "the list's last row";
        EXPECT_EQ(list.back().rateDate, latest->rateDate);
    }
    EXPECT_FALSE(store::latestExchangeRate(db(), "GBP", std::nullopt));
}

TEST_F(ReferenceData, taxAuthoritiesComeInItemOrderOnlyForSalesAndTheDefaultCodeByScope) {
    insert("Tax_authority_table", "tax_authority, Rate, min_charged, max_charged, acc_liability",
           {{"GST", 5.0, Value(), Value(), "2310"}, {"PST", 8.0, 2.0, 0.0, "2320"},
            {"HST", 13.0, Value(), Value(), "2330"}});
    insert("Tax_code_details_table", "tax_code, item_no, tax_authority, transaction_type, taxable",
           {{"GP", 10, "PST", "sales", false}, {"GP", 2, "GST", "sales", true}, {"GP", 1, "HST", "purchase", false},
            {"H", 1, "HST", "sales", false}});
    using Read = std::tuple<std::string, int, double, std::optional<double>, std::optional<double>, bool, std::string>;
    std::vector<Read> read;
    for (const auto& a : store::salesTaxAuthorities(db(), "GP"))
        read.emplace_back(a.authority, a.itemNo, a.rate, a.minCharged, a.maxCharged, a.taxable, a.liabilityAccno);
    EXPECT_EQ(read, (std::vector<Read>{{"GST", 2, 5.0, std::nullopt, std::nullopt, true, "2310"},
                                       {"PST", 10, 8.0, 2.0, 0.0, false, "2320"}}))
        << "item 2 before item 10, purchase lines left out";
    EXPECT_TRUE(store::salesTaxAuthorities(db(), "NONE").empty());
    EXPECT_EQ(store::findTaxAuthority(db(), "PST")->liabilityAccno, "2320");

    const std::string columns = "tax_code, description, transaction_type, [default]";
    insert("Tax_code_table", columns, {{"P", "Purchase", "purchase", true}});
    EXPECT_FALSE(store::requireDefaultTaxCode(db(), ui, store::DefaultTaxScope::SalesCodes));
    EXPECT_EQ(ui.texts(), Texts{"Default Tax code has not been set"});
    EXPECT_EQ(store::defaultTaxCode(db(), store::DefaultTaxScope::AnyCode)->code, "P");

    insert("Tax_code_table", columns, {{"G", "GST", "sales", true}});
    EXPECT_EQ(store::defaultTaxCode(db(), store::DefaultTaxScope::SalesCodes)->code, "G");
    EXPECT_EQ(store::findTaxCode(db(), "G")->description, "GST");
}

TEST_F(ReferenceData, revenueAndModuleAccountsTheReceivableRuleAndAllocations) {
    insert("Account_class_table", "class_name, parent",
           {{"Sales", "REVENUE"}, {"Other", "REVENUE"}, {"Cost", "EXPENSE"}});
    insert("Account_master_table", "accno, accname, [type], accclass, debit",
           {{"4100", "Service", "A", "Sales", false}, {"4000", "Goods", "A", "Sales", false},
            {"4900", "Sales header", "H", "Sales", false}, {"3950", "Interest", "A", "Other", false},
            {"5000", "Cost of goods", "A", "Cost", true}});
    Texts numbers;
    for (const auto& a : store::revenueAccounts(db())) numbers.push_back(a.accno);
    EXPECT_EQ(numbers, (Texts{"3950", "4000", "4100"}));
    const auto cost = store::findAccount(db(), "5000");
    ASSERT_TRUE(cost);
    EXPECT_TRUE(cost->debit);
    EXPECT_EQ(cost->accclass, "Cost");
    EXPECT_FALSE(store::findAccount(db(), "9999"));

    insert("Account_Parameters_table", "module, parameter_name, accno, [default]",
           {{"AR", "AR account receivable account", "1200", false}, {"GL", "GL realized gain account", "7010", false},
            {"GL", "GL realized gain account", "7000", true}});
    using namespace store::parameter;
    const std::string receivable = store::moduleAccount(db(), kAr, kReceivable);
    EXPECT_EQ(receivable, "1200");
    EXPECT_EQ(store::defaultModuleAccount(db(), kGl, kRealizedGain), "7000");
    EXPECT_EQ(store::defaultModuleAccount(db(), kGl, kRealizedLoss), "");

    store::Customer customer;
    EXPECT_EQ(store::receivableAccount(ui, customer, receivable), "1200");
    customer.arAccno = "1210";
    EXPECT_EQ(store::receivableAccount(ui, customer, receivable), "1210");
    EXPECT_TRUE(ui.texts().empty());

    insert("Allocation_Account_table", "allocate_accno, accno, [Percent]",
           {{"4000", "4010", 60.0}, {"4000", "4020", 40.0}});
    const auto read = store::findAccountsAndShares(db(), {"4000", "4100"});
    const auto& shares = read.shares.at("4000");
    ASSERT_EQ(shares.size(), 2u);
    EXPECT_EQ(shares[1].accno, "4020");
    EXPECT_EQ(shares[1].percent, 40.0);
    EXPECT_TRUE(read.shares.at("4100").empty());
}

// The check against a stored window, and its message, are followed through the invoice screen.
TEST_F(ReferenceData, withoutAWorkingPeriodConfigurationEveryPeriodIsOpen) {
    EXPECT_TRUE(store::checkWorkingPeriod(db(), ui, "2024", 3));
    EXPECT_TRUE(ui.texts().empty());
}

}  // namespace
}  // namespace keltro
