// The demo company: Bluefield Office Supplies Inc., a small US dealer in office supplies,
// furniture and print services with a few export clients in the euro area and the UK.
//
// Everything is written from small static tables through one insert helper that binds
// every value. The books start empty: every account has its balance rows for the three
// fiscal years around today (last year, this year, next year), all zero, so the first
// posting finds them. The company name has no column of its own in the suite; it is kept
// in the shared `Recent_value_table` row "company_name". The base currency is
// `COA_config_table.Currency`.
#include "schema/DemoCompany.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "schema/SuiteTables.h"

namespace keltro::schema {
namespace {

using db::Date;
using db::Params;
using db::Value;

constexpr const char* kCompanyName = "Bluefield Office Supplies Inc.";
constexpr const char* kBaseCurrency = "USD";
constexpr const char* kForeignCurrencies[] = {"EUR", "GBP"};
constexpr int kCompany = 1;

// INSERT INTO [table] ([c1], [c2] …) VALUES (?, ? …): names bracketed, values bound.
void insertRow(db::Database& db, std::string_view table, const std::vector<std::string>& columns,
               const Params& values) {
    std::string sql = "INSERT INTO [" + std::string(table) + "] (";
    std::string marks;
    for (const auto& column : columns) {
        if (!marks.empty()) {
            sql += ", ";
            marks += ", ";
        }
        sql += "[" + column + "]";
        marks += "?";
    }
    db.execute(sql + ") VALUES (" + marks + ")", values);
}

// A text that may be absent: Null rather than "".
Value orNull(const char* text) { return text ? Value(text) : Value(); }

Date daysBefore(const Date& day, int days) {
    using namespace std::chrono;
    const sys_days shifted =
        sys_days{year{day.year} / month{static_cast<unsigned>(day.month)} /
                 std::chrono::day{static_cast<unsigned>(day.day)}} -
        std::chrono::days{days};
    const year_month_day ymd{shifted};
    return {int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))};
}

// ---------------------------------------------------------------------------------------
// Currencies
// ---------------------------------------------------------------------------------------

struct RateRow {
    const char* currency;
    int daysAgo;
    double rate;  // base units per foreign unit
};

constexpr RateRow kRates[] = {
    {"EUR", 400, 1.0712}, {"EUR", 200, 1.0835}, {"EUR", 90, 1.0968}, {"EUR", 30, 1.1024},
    {"EUR", 7, 1.0987},   {"EUR", 1, 1.1012},   {"GBP", 400, 1.2655}, {"GBP", 200, 1.2790},
    {"GBP", 90, 1.2843},  {"GBP", 30, 1.2718},  {"GBP", 7, 1.2761},   {"GBP", 1, 1.2694},
};

void addCurrencies(db::Database& db, const Date& today) {
    insertRow(db, "Working_Currency_table", {"Currency"}, {kBaseCurrency});
    for (const char* currency : kForeignCurrencies)
        insertRow(db, "Working_Currency_table", {"Currency"}, {currency});
    for (const auto& r : kRates)
        insertRow(db, "Exchange_rate_table", {"currency", "rate_date", "Rate"},
                  {r.currency, daysBefore(today, r.daysAgo), r.rate});
}

// ---------------------------------------------------------------------------------------
// Chart of accounts: classes fix the side (debit) and the statement of their accounts
// ---------------------------------------------------------------------------------------

struct AccountClass {
    const char* name;
    const char* parent;
    bool incomeStatement;
    bool debit;
};

constexpr AccountClass kClasses[] = {
    {"Cash", "ASSETS", false, true},
    {"Current Assets", "ASSETS", false, true},
    {"Fixed Assets", "ASSETS", false, true},
    {"Current Liabilities", "LIABILITIES", false, false},
    {"Equity", "EQUITY", false, false},
    {"Sales", "REVENUE", true, false},
    {"Other Income", "OTHER INCOME", true, false},
    {"Cost of Goods sold", "EXPENSES", true, true},
    {"Expenses", "EXPENSES", true, true},
    {"Other Expenses", "EXPENSES", true, true},
};

struct Account {
    const char* accno;
    const char* name;
    const char* accclass;
    const char* type = "A";
    bool inactive = false;
};

const Account kAccounts[] = {
    {"1000", "Petty Cash", "Cash"},
    {"1010", "Operating Account - First National", "Cash"},
    {"1020", "Euro Account - Banque du Port", "Cash"},
    {"1030", "Sterling Account - Thames Mercantile", "Cash"},
    {"1040", "Card Receipts Clearing", "Current Assets"},
    {"1100", "Accounts Receivable - Trade", "Current Assets"},
    {"1110", "Accounts Receivable - Export", "Current Assets"},
    {"1190", "Accounts Receivable - Old System", "Current Assets", "A", true},
    {"1200", "Inventory", "Current Assets"},
    {"1500", "Office Equipment", "Fixed Assets"},
    {"2000", "Accounts Payable", "Current Liabilities"},
    {"2050", "Company Card Payable", "Current Liabilities"},
    {"2100", "Customer Prepayments", "Current Liabilities"},
    {"2200", "State Sales Tax Payable", "Current Liabilities"},
    {"2210", "City Sales Tax Payable", "Current Liabilities"},
    {"2220", "Luxury Tax Payable", "Current Liabilities"},
    {"3000", "Owner's Capital", "Equity"},
    {"3100", "Retained Earnings", "Equity"},
    {"3900", "Current Earnings", "Equity", "X"},
    {"4000", "Office Supplies Sales", "Sales"},
    {"4010", "Furniture Sales", "Sales"},
    {"4020", "Printing & Copy Services", "Sales"},
    {"4090", "Bundled Sales (allocated)", "Sales"},
    {"4100", "Delivery Charges", "Sales"},
    {"5000", "Cost of Goods Sold", "Cost of Goods sold"},
    {"6000", "Rent", "Expenses"},
    {"6010", "Wages", "Expenses"},
    {"6100", "Discounts Allowed", "Expenses"},
    {"6110", "Volume Rebates", "Expenses"},
    {"6200", "Bad Debts Written Off", "Expenses"},
    {"6210", "Small Balance Write-offs", "Expenses"},
    {"7000", "Realized Exchange Gain", "Other Income"},
    {"7010", "Realized Exchange Loss", "Other Expenses"},
    {"7020", "Unrealized Exchange Gain", "Other Income"},
    {"7030", "Unrealized Exchange Loss", "Other Expenses"},
    {"7100", "Interest Income", "Other Income"},
    {"7200", "Bank Charges", "Other Expenses"},
};

// Accounts that carry foreign currencies; receivables and banks are revalued.
struct ForeignAccount {
    const char* accno;
    const char* currencies[2];
    bool revalue;
    const char* gainAccno = nullptr;  // own unrealized gain/loss accounts, else the module's
    const char* lossAccno = nullptr;
};

const ForeignAccount kForeignAccounts[] = {
    {"1020", {"EUR"}, true},           {"1030", {"GBP"}, true},
    {"1100", {"EUR", "GBP"}, true},    {"1110", {"EUR", "GBP"}, true, "7020", "7030"},
    {"2100", {"EUR", "GBP"}, false},   {"2200", {"EUR", "GBP"}, false},
    {"2210", {"EUR", "GBP"}, false},   {"2220", {"EUR", "GBP"}, false},
    {"4000", {"EUR", "GBP"}, false},   {"4010", {"EUR", "GBP"}, false},
    {"4020", {"EUR", "GBP"}, false},   {"4090", {"EUR", "GBP"}, false},
    {"4100", {"EUR", "GBP"}, false},
};

const AccountClass& classOf(const Account& account) {
    for (const auto& c : kClasses)
        if (std::string_view(c.name) == account.accclass) return c;
    throw std::logic_error(std::string("demo account without class: ") + account.accno);
}

// acccode, subacc, subacc2 .. subacc5 of an account, as journal lines copy them.
Params segmentsOf(const char* accno) { return {accno, "00", "", "", "", ""}; }

const std::vector<std::string> kSegmentColumns = {"acccode", "subacc", "subacc2",
                                                  "subacc3", "subacc4", "subacc5"};

void addChartOfAccounts(db::Database& db) {
    for (const auto& c : kClasses)
        insertRow(db, "Account_class_table", {"class_name", "parent"}, {c.name, c.parent});
    std::vector<std::string> columns = {"accno", "accname", "type", "accclass",
                                        "acctype", "debit",   "inactive"};
    columns.insert(columns.end(), kSegmentColumns.begin(), kSegmentColumns.end());
    for (const auto& a : kAccounts) {
        const auto& c = classOf(a);
        Params values = {a.accno, a.name, a.type, a.accclass,
                         c.incomeStatement ? "Income Statement" : "Balance Sheet", c.debit,
                         a.inactive};
        const auto segments = segmentsOf(a.accno);
        values.insert(values.end(), segments.begin(), segments.end());
        insertRow(db, "Account_master_table", columns, values);
    }
    // Bundled sales are spread over supplies and print services.
    insertRow(db, "Allocation_Account_table", {"allocate_accno", "accno", "Percent"},
              {"4090", "4000", 70.0});
    insertRow(db, "Allocation_Account_table", {"allocate_accno", "accno", "Percent"},
              {"4090", "4020", 30.0});
}

void addAccountCurrencies(db::Database& db) {
    for (const auto& f : kForeignAccounts)
        for (const char* currency : f.currencies) {
            if (!currency) continue;
            insertRow(db, "Account_currency_table",
                      {"accno", "Currency", "Description", "revalue", "unrealised_gain_accno",
                       "unrealised_loss_accno"},
                      {f.accno, currency, std::string(currency) + " balances", f.revalue,
                       orNull(f.gainAccno), orNull(f.lossAccno)});
        }
}

// ---------------------------------------------------------------------------------------
// Balances: one running row per account and ledger, one period row per fiscal year
// ---------------------------------------------------------------------------------------

// Every amount column of a period row (opening, movements, balances, their e_ twins).
const std::vector<std::string>& periodAmountColumns() {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> out;
        for (const auto& table : suiteTables())
            if (table.name == "Balance_period_table")
                for (const auto& c : table.columns)
                    if (c.type == ColumnType::Double) out.push_back(c.name);
        return out;
    }();
    return columns;
}

void addBalanceRows(db::Database& db, const char* accno, const char* ledger, const char* currency,
                    const std::vector<std::string>& fyears) {
    std::vector<std::string> columns = {"company", "ledgertype", "accno", "currency"};
    columns.insert(columns.end(), kSegmentColumns.begin(), kSegmentColumns.end());
    Params key = {kCompany, ledger, accno, currency};
    const auto segments = segmentsOf(accno);
    key.insert(key.end(), segments.begin(), segments.end());

    if (std::string_view(ledger) != "E") {
        auto running = columns;
        running.insert(running.end(), {"amount", "base_amount"});
        auto values = key;
        values.insert(values.end(), {0.0, 0.0});
        insertRow(db, "Balance_table", running, values);
    }
    columns.insert(columns.begin(), "fyear");
    const auto& amounts = periodAmountColumns();
    columns.insert(columns.end(), amounts.begin(), amounts.end());
    for (const auto& fyear : fyears) {
        Params values{fyear};
        values.insert(values.end(), key.begin(), key.end());
        values.resize(values.size() + amounts.size(), Value(0.0));
        insertRow(db, "Balance_period_table", columns, values);
    }
}

void addBalances(db::Database& db, const std::vector<std::string>& fyears) {
    for (const auto& a : kAccounts) addBalanceRows(db, a.accno, "A", kBaseCurrency, fyears);
    for (const auto& f : kForeignAccounts)
        for (const char* currency : f.currencies) {
            if (!currency) continue;
            addBalanceRows(db, f.accno, "F", currency, fyears);
            addBalanceRows(db, f.accno, "E", currency, fyears);
        }
}

// ---------------------------------------------------------------------------------------
// Fiscal years, working period and numbering
// ---------------------------------------------------------------------------------------

std::vector<std::string> addFiscalYears(db::Database& db, const Date& today) {
    std::vector<std::string> fyears;
    for (int year = today.year - 1; year <= today.year + 1; ++year) {
        fyears.push_back(std::to_string(year));
        insertRow(db, "Fiscalyear_table", {"fyear", "StartDate", "EndDate", "history"},
                  {fyears.back(), Date{year, 1, 1}, Date{year, 12, 31}, false});
    }
    return fyears;
}

void addWorkingPeriod(db::Database& db, const Date& today) {
    const std::string thisYear = std::to_string(today.year);
    const std::string lastYear = std::to_string(today.year - 1);
    insertRow(db, "COA_config_table",
              {"Currency", "activate_working_period", "working_start_period",
               "working_start_fyear", "working_end_period", "working_end_fyear",
               "allow_history_update", "allow_start_period", "allow_start_fyear",
               "allow_end_period", "allow_end_fyear"},
              {kBaseCurrency, true, 1, thisYear, 12, thisYear, true, 1, lastYear, 12, lastYear});
}

struct DocumentType {
    const char* doctype;
    const char* prefix;
};

constexpr DocumentType kDocumentTypes[] = {
    {"ar", "INV"}, {"inv", "SI"}, {"dn", "DN"}, {"cn", "CN"},   {"cur", "REC"},
    {"rc", "RC"},  {"ua", "UA"},  {"rpp", "PP"}, {"mc", "MC"},  {"fr", "FR"},
    {"mrc", "MR"}, {"arre", "RV"}, {"gl", "GL"},
};

void addNumbering(db::Database& db, const std::vector<std::string>& fyears) {
    insertRow(db, "Next_number_config_table",
              {"structure", "fyear_digit", "seperator1", "seperator2"}, {"1", 2, true, true});
    for (const auto& t : kDocumentTypes) {
        insertRow(db, "Next_number_format_table", {"doctype", "prefix", "running_no_digit"},
                  {t.doctype, t.prefix, 5});
        insertRow(db, "Next_number_fkey_table", {"company", "doctype", "fkeyno"},
                  {kCompany, t.doctype, 1});
        for (const auto& fyear : fyears)
            insertRow(db, "Docno_master_table", {"company", "doctype", "fiscalyear", "nextdocno"},
                      {kCompany, t.doctype, fyear, 1});
    }
}

// ---------------------------------------------------------------------------------------
// Module accounts
// ---------------------------------------------------------------------------------------

struct ModuleAccount {
    const char* module;
    const char* parameter;
    const char* accno;
    bool isDefault;
};

constexpr ModuleAccount kModuleAccounts[] = {
    {"AR", "AR account receivable account", "1100", true},
    {"AR", "AR discount account", "6100", true},
    {"AR", "AR discount account", "6110", false},
    {"AR", "AR write-off account", "6200", true},
    {"AR", "AR write-off account", "6210", false},
    {"AR", "AR Prepayment Liability account", "2100", true},
    {"GL", "GL realized gain account", "7000", true},
    {"GL", "GL realized loss account", "7010", true},
    {"GL", "GL unrealized gain account", "7020", true},
    {"GL", "GL unrealized loss account", "7030", true},
};

void addModuleAccounts(db::Database& db) {
    for (const auto& m : kModuleAccounts) {
        insertRow(db, "Account_Parameters_table", {"module", "parameter_name", "accno", "default"},
                  {m.module, m.parameter, m.accno, m.isDefault});
        const std::string_view parameter = m.parameter;
        if (parameter == "AR discount account")
            insertRow(db, "AR_discount_account_table", {"account_name", "default"},
                      {m.accno, m.isDefault});
        if (parameter == "AR write-off account")
            insertRow(db, "AR_writeoff_account_table", {"account_name", "default"},
                      {m.accno, m.isDefault});
    }
}

// ---------------------------------------------------------------------------------------
// Customers, payment terms, tax
// ---------------------------------------------------------------------------------------

struct PaymentTerm {
    const char* termNo;
    const char* name;
    int duedays;
    int earlyDays;
    double earlyDiscount;
    bool isDefault;
};

constexpr PaymentTerm kTerms[] = {
    {"00", "Cash", 0, 0, 0.0, false},
    {"30", "Net 30", 30, 0, 0.0, true},
    {"2/10", "2% 10 days, net 30", 30, 10, 2.0, false},
    {"60", "Net 60", 60, 0, 0.0, false},
};

struct Customer {
    const char* no;
    const char* name;
    const char* address;
    const char* currency;
    const char* term;
    const char* arAccno;
    const char* prepaymentAccno = "2100";
    double creditLimit = 0;  // 0: no limit (stored as Null)
    bool active = true;
};

const Customer kCustomers[] = {
    {"1001", "Brightwater Dental Clinic", "48 Harbor Street\nSuite 200\nPortland, ME 04101",
     "USD", "30", "1100"},
    {"1002", "O'Brien Hardware", "1210 Route 1\nFalmouth, ME 04105", "USD", "2/10", "1100",
     "2100", 5000.0},
    {"1003", "Café Müller GmbH", "Königstraße 17\n70173 Stuttgart\nGermany", "EUR", "30",
     "1110"},
    {"1004", "Thames Valley Print Ltd", "Unit 4, Kennet Side\nReading RG1 3DW\nUnited Kingdom",
     "GBP", "60", "1110"},
    {"1005", "Summit Ridge Realty", "9 Main Street\nBangor, ME 04401", "USD", "00", "1100"},
    {"1006", "Lakeside Veterinary Group", "310 Lake Avenue\nLewiston, ME 04240", "USD", "30",
     "", nullptr},
    {"1007", "Boulangerie Lefèvre", "3 rue des Halles\n44000 Nantes\nFrance", "EUR", "2/10",
     "1110"},
    {"1008", "Pinecrest Builders", "77 Industrial Way\nAuburn, ME 04210", "USD", "30", "1100",
     "2100", 0.0, false},
    {"1009", "Harper & Cole Accountants", "15 Exchange Street\nPortland, ME 04101", "USD",
     "60", "1100"},
};

void addTermsAndCustomers(db::Database& db) {
    for (const auto& t : kTerms)
        insertRow(db, "Payment_term_table",
                  {"term_no", "term_name", "payment_term", "Description", "duedays",
                   "early_days", "early_discount", "default"},
                  {t.termNo, t.name, t.termNo, t.name, t.duedays, t.earlyDays, t.earlyDiscount,
                   t.isDefault});
    for (const auto& c : kCustomers)
        insertRow(db, "Customer_table",
                  {"customer_no", "customer_name", "Address", "Currency", "payment_term",
                   "active", "ar_accno", "prepayment_accno", "credit_limit", "owing_balance"},
                  {c.no, c.name, c.address, c.currency, c.term, c.active, c.arAccno,
                   orNull(c.prepaymentAccno),
                   c.creditLimit > 0 ? Value(c.creditLimit) : Value(), 0.0});
}

struct TaxAuthority {
    const char* code;
    double rate;
    double minCharged;  // 0: no bound (stored as Null)
    double maxCharged;
    const char* liability;
};

constexpr TaxAuthority kAuthorities[] = {
    {"STATE", 6.0, 0, 0, "2200"},
    {"CITY", 1.5, 0, 0, "2210"},
    {"LUX", 10.0, 5.0, 500.0, "2220"},
    {"EXEMPT", 0.0, 0, 0, "2200"},
};

struct TaxCodeLine {
    const char* code;
    const char* description;
    bool isDefault;
    const char* authorities[2];
    bool compound;  // the first authority's tax is taxed by the second
};

constexpr TaxCodeLine kTaxCodes[] = {
    {"S1", "State sales tax 6%", true, {"STATE"}, false},
    {"S2", "State 6% + city 1.5% on tax", false, {"STATE", "CITY"}, true},
    {"LX", "Luxury tax 10% (min 5, max 500)", false, {"LUX"}, false},
    {"EX", "Exempt", false, {"EXEMPT"}, false},
};

Value bound(double amount) { return amount > 0 ? Value(amount) : Value(); }

void addTaxes(db::Database& db) {
    for (const auto& a : kAuthorities)
        insertRow(db, "Tax_authority_table",
                  {"tax_authority", "Rate", "min_charged", "max_charged", "acc_liability"},
                  {a.code, a.rate, bound(a.minCharged), bound(a.maxCharged), a.liability});
    for (const auto& t : kTaxCodes) {
        insertRow(db, "Tax_code_table", {"tax_code", "description", "transaction_type", "default"},
                  {t.code, t.description, "sales", t.isDefault});
        for (int item = 0; item < 2 && t.authorities[item]; ++item)
            insertRow(db, "Tax_code_details_table",
                      {"tax_code", "item_no", "tax_authority", "transaction_type", "taxable"},
                      {t.code, item + 1, t.authorities[item], "sales", t.compound && item == 0});
    }
}

// ---------------------------------------------------------------------------------------
// Banks and cards
// ---------------------------------------------------------------------------------------

struct Bank {
    const char* code;
    const char* name;
    const char* branch;
    const char* type;
    const char* accno;
    const char* currency;
};

constexpr Bank kBanks[] = {
    {"FNB", "First National Bank", "Portland Main St", "Checking", "1010", "USD"},
    {"BDP", "Banque du Port", "Nantes Centre", "Current", "1020", "EUR"},
    {"TMB", "Thames Mercantile Bank", "Reading", "Current", "1030", "GBP"},
};

void addBanksAndCards(db::Database& db) {
    for (const auto& b : kBanks) {
        insertRow(db, "Bank_master_table",
                  {"bank_code", "bank_name", "bank_branch", "bank_account_type", "account_no"},
                  {b.code, b.name, b.branch, b.type, b.accno});
        insertRow(db, "Bank_currency_table", {"bank_code", "currency"}, {b.code, b.currency});
    }
    insertRow(db, "Credit_card_master_table",
              {"card_name", "used", "asset_accno", "payable_accno"},
              {"VISA", true, "1040", "2050"});
}

// ---------------------------------------------------------------------------------------
// Users and screen settings
// ---------------------------------------------------------------------------------------

constexpr const char* kScreens[] = {
    "ARform_invoice",         "ARform_receipt",    "ARform_fast_receipt",
    "ARform_misc_receipt",    "ARform_prepayment", "ARform_matching",
    "ARreport_recur_inquiry", "ARform_revalue",    "ARreport_aging",
    "ARreport_inquiry",       "ARreport_invoice_receipt_history",
    "ARreport_receipt_check_history",
};

struct ReportFormat {
    const char* form;
    int orientation;  // 1 portrait, 2 landscape
    const char* fontName = "DejaVu Sans";
    double fontSize = 9.0;
    int rowHeight = 16;
    const char* paper = "A4 (210x297 mm)";
    double width = 210.0, height = 297.0;
    const char* unit = "mm";
};

// The aging report's eleven columns, five of them amounts, read in full only across a
// wide page: landscape Legal in the narrower letters.
constexpr ReportFormat kReports[] = {
    {"ARreport_aging", 2, "DejaVu Sans Condensed", 8.0, 14, "LEGAL (8.5x14 in.)", 8.5, 14.0, "inch"},
    {"ARreport_inquiry", 1},
    {"ARreport_recur_inquiry", 2},
    {"ARform_revalue", 2},
    {"ARreport_invoice_receipt_history", 2},
    {"ARreport_receipt_check_history", 2},
};

void addRight(db::Database& db, const char* user, std::string_view form, bool update) {
    insertRow(db, "User_right_table", {"userid", "form", "Update", "Print", "form_design"},
              {user, form, update, true, std::string_view(user) == "admin"});
}

// "admin" may do everything; "clerk" enters documents but cannot revalue or match.
void addUsers(db::Database& db) {
    for (const char* form : kScreens) {
        const std::string_view screen = form;
        addRight(db, "admin", screen, true);
        addRight(db, "clerk", screen, screen != "ARform_revalue" && screen != "ARform_matching");
        insertRow(db, "Form_property_table", {"userid", "form", "toolbar_text", "Fontbar"},
                  {"admin", form, true, true});
    }
    addRight(db, "admin", "Form_report_format", true);
    addRight(db, "clerk", "Form_report_format", false);
    insertRow(db, "User_Form_Dateformat", {"userid", "date_format"}, {"admin", "dd/mm/yyyy"});
    insertRow(db, "User_Form_Dateformat", {"userid", "date_format"}, {"clerk", "mm/dd/yyyy"});
    insertRow(db, "Recent_value_table", {"form_name", "control_name", "Value"},
              {Value(), "evenrow_color", "1"});
    insertRow(db, "Recent_value_table", {"form_name", "control_name", "Value"},
              {Value(), "company_name", kCompanyName});
}

void addReportFormats(db::Database& db) {
    for (const auto& r : kReports)
        insertRow(db, "Report_format_table",
                  {"user", "form_name", "font_name", "font_size", "font_color", "evenrow_color",
                   "row_height", "top_margin", "bottom_margin", "left_margin", "right_margin",
                   "disabled_evenrow_color", "Bold", "use_grid_font", "column_divider",
                   "split_page", "Orientation", "PaperSize", "Width", "Height", "unit"},
                  {"admin", r.form, r.fontName, r.fontSize, 0, 0xF0F0F0, r.rowHeight, 10.0, 10.0, 10.0, 10.0,
                   false, false, false, true, 1, r.orientation, r.paper, r.width, r.height, r.unit});
}

// ---------------------------------------------------------------------------------------
// Grid layouts: the columns of every grid in the order the screens show them
// ---------------------------------------------------------------------------------------

struct GridLayout {
    const char* form;
    const char* grid;
    std::vector<std::string_view> captions;
    std::vector<std::string_view> editable;  // every other column is locked
};

// "{base}" in a caption stands for the base currency.
const std::vector<GridLayout>& gridLayouts() {
    static const std::vector<GridLayout> grids = {
        {"ARform_invoice", "dbgrid1",
         {"pay item", "description", "gross amount", "open amount", "taxable amount", "tax amount",
          "tax code", "currency", "paid", "discount taken", "write-off", "source form",
          "user created", "sales account", "account name", "created date", "created time",
          "computer id"},
         {"pay item", "description", "gross amount", "taxable amount", "tax code",
          "sales account"}},
        {"SOform_invoice", "grid_tax",
         {"no", "tax authority", "taxable amount", "rate", "tax amount", "taxable", "tax code"},
         {"rate", "tax amount"}},
        {"SOform_invoice", "grid_tax_summary",
         {"tax authority", "taxable amount", "rate", "tax amount"}, {}},
        {"ARform_receipt", "dbgrid1",
         {"document type", "pay item", "invoice no", "invoice date", "gross amount",
          "open amount", "discount available", "currency", "invoice exch rate",
          "receipt exch rate", "applied amount", "discount taken", "write-off",
          "discount account", "write-off account", "base-currency amount", "net balance",
          "deposit", "sales invoice", "remark", "computer id"},
         {"receipt exch rate", "applied amount", "discount taken", "write-off",
          "discount account", "write-off account", "remark"}},
        {"ARform_fast_receipt", "dbgrid1",
         {"line no", "transaction type", "receipt by", "check no", "check date", "amount",
          "invoice no", "order no", "customer po", "description", "account no", "account name",
          "customer no", "customer name", "payer name", "receipt document no",
          "receipt document type", "period", "fiscal year", "glfkey", "computer id"},
         {"transaction type", "receipt by", "check no", "check date", "amount", "invoice no",
          "order no", "customer po", "description", "account no", "account name",
          "customer no", "customer name", "payer name", "period", "fiscal year"}},
        {"ARform_misc_receipt", "dbgrid1",
         {"line no", "account no", "account name", "amount", "description", "reference",
          "computer id"},
         {"account no", "account name", "amount", "description", "reference"}},
        {"ARform_prepayment", "dbgrid1",
         {"pay item", "invoice no", "invoice date", "gross amount", "open amount",
          "applied amount", "balance", "currency", "computer id"},
         {}},
        {"ARform_prepayment", "dbgrid_order", {"order no", "back-order quantity"}, {}},
        {"ARform_matching", "dbgrid1",
         {"pay item", "invoice no", "document type", "invoice date", "check no", "gross amount",
          "open amount", "applied amount", "balance", "discount available", "discount account",
          "write-off account", "write-off", "discount taken", "remark", "currency",
          "invoice exch rate", "receipt exch rate", "base-currency amount", "computer id"},
         {"applied amount", "discount account", "write-off account", "write-off",
          "discount taken", "remark"}},
        {"ARform_revalue", "dbgridcmd",
         {"currency", "rate", "every customer", "customer group", "customer no"},
         {"currency", "rate", "every customer", "customer group", "customer no"}},
        {"ARform_revalue", "dbgrid1",
         {"customer no", "customer name", "document no", "date", "pay item", "currency",
          "original rate", "invoice amount", "original base-currency amount",
          "unrealized Gain/Loss", "new base-currency amount"},
         {}},
        {"ARform_revalue", "dbgrid2",
         {"account no", "account name", "currency", "debit ({base})", "credit ({base})"}, {}},
        {"ARreport_aging", "dbgrid1",
         {"customer", "invoice no", "invoice date", "pay item", "gross amount", "open amount",
          "1 - 30", "31 - 60", "61 - 90", "> 90", "credit limit"},
         {}},
        {"ARreport_inquiry", "dbgrid1",
         {"customer no", "customer name", "invoice no", "invoice date", "due date", "pay item",
          "gross amount", "open amount", "paid", "void", "payment term"},
         {}},
        {"ARreport_invoice_receipt_history", "dbgrid1",
         {"customer no", "customer name", "pay item", "invoice no", "invoice date",
          "gross amount", "open amount", "applied amount", "balance", "discount available",
          "write-off", "discount taken", "currency", "invoice exch rate", "receipt exch rate",
          "receipt no", "receipt document no", "receipt date", "check no", "check date",
          "matching"},
         {}},
        {"ARreport_receipt_matching_history", "dbgrid1",
         {"receipt document no", "receipt date", "check/receipt no", "check date",
          "receipt amount", "base-currency amount", "match no", "match date",
          "unapplied document", "unapplied amount", "customer no", "customer name", "pay item",
          "invoice no", "invoice date", "gross amount", "open amount", "applied amount",
          "balance", "discount available", "write-off", "discount taken", "currency"},
         {}},
        {"ARreport_recur_inquiry", "dbgrid1",
         {"customer no", "customer name", "recurring no", "recurring name", "recurring date",
          "begin date", "expiration date", "no of invoice", "no of issue", "frequency",
          "due date", "due"},
         {"due"}},
    };
    return grids;
}

bool among(std::string_view caption, std::initializer_list<std::string_view> set) {
    for (auto s : set)
        if (s == caption) return true;
    return false;
}

bool isNumberColumn(std::string_view c) {
    return among(c, {"gross amount", "open amount", "taxable amount", "tax amount",
                     "discount taken", "write-off", "applied amount", "balance", "net balance",
                     "discount available", "base-currency amount", "amount", "receipt amount",
                     "unapplied amount", "credit limit", "1 - 30", "31 - 60", "61 - 90", "> 90",
                     "invoice amount", "original base-currency amount", "unrealized Gain/Loss",
                     "new base-currency amount", "debit ({base})", "credit ({base})", "rate",
                     "original rate", "invoice exch rate", "receipt exch rate", "no of invoice",
                     "no of issue"});
}

bool isCheckColumn(std::string_view c) {
    return among(c, {"deposit", "due", "every customer", "taxable"});
}

int widthOf(std::string_view c) {
    if (isCheckColumn(c)) return 800;
    if (isNumberColumn(c)) return 1400;
    if (among(c, {"description", "customer name", "account name", "remark", "recurring name",
                  "customer", "payer name"}))
        return 2800;
    return 1300;
}

// The aging report's columns are sized for its printout: every caption and amount in full.
int widthIn(std::string_view form, std::string_view c) {
    if (form != "ARreport_aging") return widthOf(c);
    if (c == "customer") return 2700;
    if (c == "invoice no") return 1400;
    if (c == "pay item") return 1000;
    return isNumberColumn(c) ? 1500 : 1300;
}

std::string withBaseCurrency(std::string_view caption) {
    std::string text(caption);
    if (auto at = text.find("{base}"); at != std::string::npos) text.replace(at, 6, kBaseCurrency);
    return text;
}

// At most 21 columns print; the rest start unticked in the print-column list.
void addGridLayout(db::Database& db, const GridLayout& g) {
    for (std::size_t n = 0; n < g.captions.size(); ++n) {
        const auto caption = g.captions[n];
        const bool editable =
            std::find(g.editable.begin(), g.editable.end(), caption) != g.editable.end();
        const bool lookup = among(caption, {"tax code", "sales account", "discount account",
                                            "write-off account", "account no", "customer no",
                                            "currency"});
        insertRow(db, "Grid_property",
                  {"form_name", "grid_name", "col_order", "Caption", "Visible", "Locked", "Print",
                   "cell_type", "col_width", "row_height", "Alignment", "AutoCompletion"},
                  {g.form, g.grid, static_cast<int>(n), withBaseCurrency(caption), true, !editable,
                   n < 21, isCheckColumn(caption) ? "dbgCheckBox" : "", widthIn(g.form, caption),
                   n == 0 ? Value(285) : Value(),
                   isCheckColumn(caption) ? 2 : (isNumberColumn(caption) ? 1 : 0),
                   editable && lookup});
    }
}

// ---------------------------------------------------------------------------------------
// Reading the company back
// ---------------------------------------------------------------------------------------

std::int64_t countOf(db::Database& db, const std::string& sql, const Params& params = {}) {
    auto row = db.queryOne(sql, params);
    return row ? row->at(0).integerOr(0) : 0;
}

std::string settingOf(db::Database& db, const char* sql, const Params& params = {}) {
    auto row = db.queryOne(sql, params);
    return row ? row->at(0).textOr("(not set)") : "(not set)";
}

std::string dateText(const Value& value) {
    auto date = value.date();
    return date ? date->iso() : "?";
}

}  // namespace

void addDemoCompany(db::Database& db, const Date& today) {
    addCurrencies(db, today);
    const auto fyears = addFiscalYears(db, today);
    addWorkingPeriod(db, today);
    addNumbering(db, fyears);
    addChartOfAccounts(db);
    addAccountCurrencies(db);
    addBalances(db, fyears);
    addModuleAccounts(db);
    addTermsAndCustomers(db);
    addTaxes(db);
    addBanksAndCards(db);
    addUsers(db);
    addReportFormats(db);
    for (const auto& grid : gridLayouts()) addGridLayout(db, grid);
}

std::string describeCompany(db::Database& db) {
    std::ostringstream out;
    out << "Company: "
        << settingOf(db, "SELECT [Value] FROM [Recent_value_table] WHERE [control_name] = ?",
                     {"company_name"})
        << "\n";
    const auto base = settingOf(db, "SELECT [Currency] FROM [COA_config_table]");
    out << "Base currency: " << base << "\n";
    std::string foreign;
    for (const auto& row : db.query("SELECT [Currency] FROM [Working_Currency_table] "
                                    "WHERE [Currency] <> ? ORDER BY [Currency]",
                                    {base}))
        foreign += (foreign.empty() ? "" : ", ") + row["Currency"].textOr();
    out << "Foreign currencies: " << (foreign.empty() ? "none" : foreign) << "\n";
    for (const auto& row : db.query("SELECT [fyear], [StartDate], [EndDate] FROM "
                                    "[Fiscalyear_table] ORDER BY [StartDate]"))
        out << "Fiscal year " << row["fyear"].textOr() << ": " << dateText(row["StartDate"])
            << " to " << dateText(row["EndDate"]) << "\n";
    out << "Customers: "
        << countOf(db, "SELECT COUNT(*) FROM [Customer_table] WHERE [customer_no] <> ?", {"0"})
        << "\n";
    out << "Accounts: " << countOf(db, "SELECT COUNT(*) FROM [Account_master_table]") << "\n";
    out << "A/R documents: " << countOf(db, "SELECT COUNT(*) FROM [AR_header_table]") << "\n";
    return out.str();
}

}  // namespace keltro::schema
