// The demo company must be a set of books the screens can work on from the first click:
// every grid laid out, every account a screen or a posting reaches present and postable,
// balance rows where postings look for them, counters for every document type and year,
// fiscal years without gap around today, and rights for "admin". That each screen finds
// its grids' layouts is checked where the screens are opened (ScreensDbTest); that today
// lies in the working period, by every save on the demo company's today.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/Database.h"
#include "schema/DemoCompany.h"
#include "support/TestDatabase.h"

namespace keltro {
namespace {

using db::Date;
using Texts = std::vector<std::string>;

constexpr Date kToday = test::kDemoToday;

Date nextDay(const Date& d) {
    using namespace std::chrono;
    const year_month_day next{sys_days{year{d.year} / d.month / d.day} + days{1}};
    return {int(next.year()), int(unsigned(next.month())), int(unsigned(next.day()))};
}

class DemoCompanyTest : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }
    std::int64_t count(const std::string& sql, const db::Params& params = {}) {
        return db().queryOne(sql, params)->at(0).integerOr(-1);
    }
    Texts texts(const std::string& sql, const db::Params& params = {}) {
        Texts out;
        for (const auto& row : db().query(sql, params)) out.push_back(row.at(0).textOr());
        return out;
    }

    test::TestDatabase database{test::Contents::DemoCompany};
};

TEST_F(DemoCompanyTest, everyGridLayoutIsGaplessWithDistinctCaptions) {
    std::map<std::pair<std::string, std::string>, std::vector<db::Row>> grids;
    for (auto& row : db().query("SELECT * FROM Grid_property ORDER BY form_name, grid_name, col_order"))
        grids[{row["form_name"].textOr(), row["grid_name"].textOr()}].push_back(row);
    ASSERT_FALSE(grids.empty());
    for (const auto& [key, rows] : grids) {
        SCOPED_TRACE(key.first + "." + key.second);
        std::set<std::string> captions;
        int printed = 0;
        for (std::size_t n = 0; n < rows.size(); ++n) {
            EXPECT_EQ(rows[n]["col_order"].integer(), static_cast<std::int64_t>(n));
            EXPECT_TRUE(captions.insert(rows[n]["Caption"].textOr()).second) << rows[n]["Caption"].textOr();
            printed += rows[n]["Print"].booleanOr(false);
        }
        const auto height = rows.front()["row_height"].integerOr(0);
        EXPECT_TRUE(height >= 200 && height <= 600) << "row height " << height;
        EXPECT_LE(printed, 21) << "a printout holds at most 21 columns";
    }
}

TEST_F(DemoCompanyTest, chartOfAccountsFitsPostingAndTheScreensLists) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Account_master_table WHERE accclass NOT IN "
                    "(SELECT class_name FROM Account_class_table)"), 0);
    const std::string revenue = "SELECT COUNT(*) FROM Account_master_table a INNER JOIN "
                                "Account_class_table c ON a.accclass = c.class_name WHERE c.parent = ?";
    EXPECT_GT(count(revenue, {"REVENUE"}), 0);
    EXPECT_EQ(count(revenue + " AND (a.[type] <> ? OR a.debit = ? OR a.acctype <> ?)",
                    {"REVENUE", "A", true, "Income Statement"}), 0)
        << "revenue accounts are postable credit-side income-statement accounts";
    // Income-statement postings move the one current-earnings account, which must not be one.
    EXPECT_EQ(texts("SELECT acctype FROM Account_master_table WHERE [type] = ?", {"X"}), Texts{"Balance Sheet"});
    EXPECT_GT(count("SELECT COUNT(*) FROM Account_master_table WHERE accclass = ? AND [type] = ?", {"Cash", "A"}), 0);
    // The receipt's discount and write-off drop-downs must offer the module's accounts.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Account_Parameters_table p WHERE "
                    "p.parameter_name IN (?, ?) AND p.accno NOT IN (SELECT accno FROM "
                    "Account_master_table WHERE acctype = ? AND [type] = ? AND accclass <> ?)",
                    {"AR discount account", "AR write-off account", "Income Statement", "A",
                     "Cost of Goods sold"}), 0);
}

TEST_F(DemoCompanyTest, everyReferencedAccountExistsAndIsPostable) {
    const std::pair<const char*, const char*> references[] = {
        {"Account_Parameters_table", "accno"}, {"Customer_table", "ar_accno"},
        {"Customer_table", "prepayment_accno"}, {"Tax_authority_table", "acc_liability"},
        {"Bank_master_table", "account_no"}, {"Allocation_Account_table", "allocate_accno"},
        {"Allocation_Account_table", "accno"}, {"Credit_card_master_table", "asset_accno"},
        {"Credit_card_master_table", "payable_accno"}, {"AR_discount_account_table", "account_name"},
        {"AR_writeoff_account_table", "account_name"}, {"Account_currency_table", "accno"},
        {"Account_currency_table", "unrealised_gain_accno"}, {"Account_currency_table", "unrealised_loss_accno"}};
    for (const auto& [table, column] : references) {
        const std::string c = std::string("[") + column + "]";
        EXPECT_EQ(texts("SELECT " + c + " FROM " + table + " WHERE " + c + " IS NOT NULL AND " + c +
                            " <> ? AND " + c + " NOT IN (SELECT accno FROM Account_master_table "
                            "WHERE [type] = ? AND inactive = ?)", {"", "A", false}),
                  Texts{}) << table << "." << column;
    }
    const std::pair<const char*, const char*> parameters[] = {
        {"AR", "AR account receivable account"}, {"AR", "AR discount account"},
        {"AR", "AR write-off account"}, {"AR", "AR Prepayment Liability account"},
        {"GL", "GL realized gain account"}, {"GL", "GL realized loss account"},
        {"GL", "GL unrealized gain account"}, {"GL", "GL unrealized loss account"}};
    for (const auto& [module, name] : parameters)
        EXPECT_EQ(count("SELECT COUNT(*) FROM Account_Parameters_table WHERE module = ? AND "
                        "parameter_name = ? AND [default] = ?", {module, name, true}), 1) << name;
    for (const char* table : {"AR_discount_account_table", "AR_writeoff_account_table"})
        EXPECT_EQ(count(std::string("SELECT COUNT(*) FROM ") + table + " WHERE [default] = ?", {true}), 1) << table;
}

TEST_F(DemoCompanyTest, balanceRowsWaitForEveryPostingOfEveryYearAndBalance) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Account_master_table a WHERE NOT EXISTS (SELECT 1 FROM "
                    "Balance_table b WHERE b.accno = a.accno AND b.ledgertype = ? AND b.currency = "
                    "(SELECT Currency FROM COA_config_table))", {"A"}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Account_currency_table c WHERE NOT EXISTS (SELECT 1 FROM "
                    "Balance_table b WHERE b.accno = c.accno AND b.ledgertype = ? AND b.currency = "
                    "c.Currency)", {"F"}), 0);
    const std::string missing = "SELECT COUNT(*) FROM Balance_table b, Fiscalyear_table f WHERE "
                                "b.ledgertype IN (?, ?) AND NOT EXISTS (SELECT 1 FROM "
                                "Balance_period_table p WHERE p.fyear = f.fyear AND p.company = "
                                "b.company AND p.accno = b.accno AND p.currency = b.currency AND "
                                "p.ledgertype = ";
    EXPECT_EQ(count(missing + "b.ledgertype)", {"A", "F"}), 0);
    EXPECT_EQ(count(missing + "?)", {"F", "F", "E"}), 0) << "every F row has its E companion";

    // Debits less credits of the base ledger, in every year's openings and in the running rows.
    const auto net = [&](const std::string& rows, const db::Params& params) {
        return db().queryOne("SELECT SUM(CASE WHEN a.debit = ? THEN x.amount ELSE -x.amount END) "
                             "FROM " + rows + " x INNER JOIN Account_master_table a ON "
                             "a.accno = x.accno WHERE x.ledgertype = ?", params)->at(0).numberOr(0);
    };
    for (const auto& fyear : texts("SELECT fyear FROM Fiscalyear_table"))
        EXPECT_NEAR(net("(SELECT accno, ledgertype, opening_balance AS amount FROM Balance_period_table "
                        "WHERE fyear = ?)", {true, fyear, "A"}), 0.0, 0.005) << fyear;
    EXPECT_NEAR(net("Balance_table", {true, "A"}), 0.0, 0.005);
}

TEST_F(DemoCompanyTest, everyDocumentTypeIsNumberedInEveryYear) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Next_number_config_table"), 1);
    for (const char* doctype : {"ar", "inv", "dn", "cn", "cur", "rc", "ua", "rpp", "mc", "fr", "mrc", "arre", "gl"}) {
        EXPECT_EQ(count("SELECT COUNT(*) FROM Next_number_format_table WHERE doctype = ? AND prefix <> ? "
                        "AND running_no_digit > 0", {doctype, ""}), 1) << doctype;
        EXPECT_EQ(count("SELECT COUNT(*) FROM Next_number_fkey_table WHERE company = 1 AND doctype = ? "
                        "AND fkeyno >= 1", {doctype}), 1) << doctype;
        EXPECT_EQ(count("SELECT COUNT(*) FROM Fiscalyear_table f WHERE NOT EXISTS (SELECT 1 FROM "
                        "Docno_master_table d WHERE d.company = 1 AND d.doctype = ? AND "
                        "d.fiscalyear = f.fyear AND d.nextdocno >= 1)", {doctype}), 0)
            << doctype << ": a year without its counter";
    }
    EXPECT_EQ(count("SELECT COUNT(DISTINCT prefix) FROM Next_number_format_table"),
              count("SELECT COUNT(*) FROM Next_number_format_table")) << "prefixes tell documents apart";
}

TEST_F(DemoCompanyTest, termsCustomersAndCurrenciesAgree) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Payment_term_table WHERE [default] = ?", {true}), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Customer_table WHERE payment_term NOT IN "
                    "(SELECT term_no FROM Payment_term_table) OR Currency NOT IN "
                    "(SELECT Currency FROM Working_Currency_table)"), 0);
    // Every foreign currency has a rate, and its customers' receivable account may carry it.
    const auto base = texts("SELECT Currency FROM COA_config_table").at(0);
    const auto fallback = texts("SELECT accno FROM Account_Parameters_table WHERE "
                                "parameter_name = ?", {"AR account receivable account"}).at(0);
    for (const auto& row : db().query("SELECT * FROM Customer_table WHERE Currency <> ?", {base})) {
        const auto currency = row["Currency"].textOr();
        const auto own = row["ar_accno"].textOr();
        EXPECT_GT(count("SELECT COUNT(*) FROM Exchange_rate_table WHERE currency = ? AND "
                        "rate_date < ?", {currency, kToday}), 0) << currency;
        EXPECT_EQ(count("SELECT COUNT(*) FROM Account_currency_table WHERE accno = ? AND Currency = ? AND "
                        "revalue = ?", {own.empty() ? fallback : own, currency, true}), 1)
            << row["customer_no"].textOr();
    }
}

TEST_F(DemoCompanyTest, fiscalYearsFollowEachOtherAndTodaysIsOpen) {
    EXPECT_EQ(texts("SELECT fyear FROM Fiscalyear_table WHERE StartDate <= ? AND EndDate >= ? "
                    "AND history = ?", {kToday, kToday, false}), Texts{"2026"});
    std::optional<Date> previousEnd;
    for (const auto& row : db().query("SELECT * FROM Fiscalyear_table ORDER BY StartDate")) {
        if (previousEnd) {
            EXPECT_EQ(row["StartDate"].date(), nextDay(*previousEnd));
        }
        previousEnd = row["EndDate"].date();
    }
}

TEST_F(DemoCompanyTest, taxCodesBanksAndRightsAreUsable) {
    EXPECT_EQ(count("SELECT COUNT(*) FROM Tax_code_table WHERE transaction_type = ? AND "
                    "[default] = ?", {"sales", true}), 1);
    for (const auto& code : texts("SELECT tax_code FROM Tax_code_table")) {
        const auto items = texts("SELECT d.item_no FROM Tax_code_details_table d INNER JOIN "
                                 "Tax_authority_table t ON d.tax_authority = t.tax_authority "
                                 "WHERE d.tax_code = ? AND d.transaction_type = ? ORDER BY d.item_no",
                                 {code, "sales"});
        EXPECT_TRUE(!items.empty() && items.size() <= 5) << code;
        for (std::size_t n = 0; n < items.size(); ++n) EXPECT_EQ(items[n], std::to_string(n + 1)) << code;
    }
    // A bank takes only currencies its account may carry.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Bank_master_table b WHERE NOT EXISTS (SELECT 1 FROM "
                    "Bank_currency_table c WHERE c.bank_code = b.bank_code)"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Bank_currency_table c INNER JOIN Bank_master_table b ON "
                    "b.bank_code = c.bank_code WHERE c.currency <> "
                    "(SELECT Currency FROM COA_config_table) AND NOT EXISTS (SELECT 1 FROM "
                    "Account_currency_table a WHERE a.accno = b.account_no AND "
                    "a.Currency = c.currency)"), 0);
    for (const char* screen :
         {"ARform_invoice", "ARform_receipt", "ARform_fast_receipt", "ARform_misc_receipt",
          "ARform_prepayment", "ARform_matching", "ARreport_recur_inquiry", "ARform_revalue",
          "ARreport_aging", "ARreport_inquiry", "ARreport_invoice_receipt_history",
          "ARreport_receipt_check_history", "Form_report_format"})
        EXPECT_EQ(count("SELECT COUNT(*) FROM User_right_table WHERE userid = ? AND form = ? AND "
                        "[Update] = ? AND [Print] = ? AND form_design = ?",
                        {"admin", screen, true, true, true}), 1) << screen;
    EXPECT_EQ(count("SELECT COUNT(*) FROM Report_format_table WHERE row_height <= font_size"), 0);
}

TEST_F(DemoCompanyTest, descriptionIsReadFromTheDatabase) {
    db().execute("UPDATE COA_config_table SET Currency = ?", {"CAD"});
    db().execute("DELETE FROM Customer_table WHERE customer_no = ?", {"1001"});
    const auto customers = count("SELECT COUNT(*) FROM Customer_table");
    const auto text = schema::describeCompany(db());
    for (const std::string& part : {std::string("Base currency: CAD\n"),
                                    "Customers: " + std::to_string(customers) + "\n",
                                    std::to_string(kToday.year) + "-01-01"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in\n" << text;
}

}  // namespace
}  // namespace keltro
