// The suite's tables, as the A/R component reads and writes them.
//
// Column names are spelt exactly as the suite spells them, mixed case included
// (`Currency`, `GLFKEY`, `Period2`, `seperator1`). Tables owned by other modules of the
// suite (general ledger, sales, user administration) list the columns A/R uses plus
// their obvious identity columns.
#include "schema/SuiteTables.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace keltro::schema {
namespace {

using enum ColumnType;

// Builds one TableDef; every call returns the builder so a table reads as one expression.
class Table {
public:
    explicit Table(std::string name) { def_.name = std::move(name); }

    Table& col(std::string name, ColumnType type) {
        def_.columns.push_back({std::move(name), type});
        return *this;
    }

    // `prefix` + first .. `prefix` + last, e.g. range("tax_rate", 1, 5, Double).
    Table& range(const std::string& prefix, int first, int last, ColumnType type) {
        for (int n = first; n <= last; ++n) col(prefix + std::to_string(n), type);
        return *this;
    }

    Table& index(std::initializer_list<std::string> columns, bool unique = false) {
        def_.indexes.push_back({std::vector<std::string>(columns), unique});
        return *this;
    }

    Table& unique(std::initializer_list<std::string> columns) { return index(columns, true); }

    // Creation stamp written on new documents and lines.
    Table& created() {
        return col("user_created", Text).col("date_created", Date).col("time_created", Time);
    }

    // Stamp of the last change (edit save, void).
    Table& modified() { return col("date_lastmodified", Date).col("time_lastmodified", Time); }

    // The account segments every journal line and balance row copies from its account.
    Table& segments() {
        return col("acccode", Text).col("subacc", Text).range("subacc", 2, 5, Text);
    }

    // The five tax-authority groups of a document line, one slot per authority of its code.
    Table& taxGroups() {
        return range("tax_authority", 1, 5, Text)
            .range("taxable_amount", 1, 5, Double)
            .range("tax_rate", 1, 5, Double)
            .range("tax_amount", 1, 5, Double)
            .range("taxable", 1, 5, Boolean);
    }

    // Payment-term values copied onto a document at save.
    Table& termCopies() {
        return col("payment_term", Text)
            .col("duedays", Integer)
            .col("early_days", Integer)
            .col("early_discount", Double);
    }

    // The pay-item columns shared by document lines and recurring template lines.
    Table& payItemColumns() {
        return col("pay_item", Text)
            .col("Description", Text)
            .col("gross_amount", Double)
            .col("open_amount", Double)
            .col("taxable_amount", Double)
            .col("tax_amount", Double)
            .col("tax_code", Text)
            .taxGroups()
            .col("sales_accno", Text)
            .col("ar_accno", Text);
    }

    TableDef def() const { return def_; }

private:
    TableDef def_;
};

std::vector<TableDef> buildSuiteTables() {
    std::vector<TableDef> tables;
    auto add = [&tables](const Table& t) { tables.push_back(t.def()); };

    // ---------------------------------------------------------------------------------
    // Fiscal calendar, working period and currencies
    // ---------------------------------------------------------------------------------

    // One row per fiscal year; `fyear` is the year's name, used as text everywhere.
    add(Table("Fiscalyear_table")
            .col("fyear", Text)
            .col("StartDate", Date)
            .col("EndDate", Date)
            .col("history", Boolean)
            .unique({"fyear"}));

    // Single row: base currency and the working-period window.
    add(Table("COA_config_table")
            .col("Currency", Text)
            .col("activate_working_period", Boolean)
            .col("working_start_period", Integer)
            .col("working_start_fyear", Text)
            .col("working_end_period", Integer)
            .col("working_end_fyear", Text)
            .col("allow_history_update", Boolean)
            .col("allow_start_period", Integer)
            .col("allow_start_fyear", Text)
            .col("allow_end_period", Integer)
            .col("allow_end_fyear", Text));

    // Currencies offered in the currency lists.
    add(Table("Working_Currency_table").col("Currency", Text).unique({"Currency"}));

    // Rates in base-currency units per unit of `currency`, by date.
    add(Table("Exchange_rate_table")
            .col("currency", Text)
            .col("rate_date", Date)
            .col("Rate", Double)
            .index({"currency", "rate_date"}));

    // ---------------------------------------------------------------------------------
    // Chart of accounts and module accounts
    // ---------------------------------------------------------------------------------

    add(Table("Account_class_table")
            .col("class_name", Text)
            .col("parent", Text)
            .index({"class_name"}));

    // `type` 'A' postable, 'X' current earnings; `debit` fixes the sign convention.
    add(Table("Account_master_table")
            .col("accno", Text)
            .col("accname", Text)
            .col("type", Text)
            .col("accclass", Text)
            .col("acctype", Text)
            .col("debit", Boolean)
            .col("inactive", Boolean)
            .segments()
            .unique({"accno"})
            .index({"type"}));

    // Currencies allowed on an account, with its own unrealized gain and loss accounts.
    add(Table("Account_currency_table")
            .col("accno", Text)
            .col("Currency", Text)
            .col("Description", Text)
            .col("revalue", Boolean)
            .col("unrealised_gain_accno", Text)
            .col("unrealised_loss_accno", Text)
            .unique({"accno", "Currency"}));

    // Module accounts by module ('AR', 'GL') and parameter name.
    add(Table("Account_Parameters_table")
            .col("module", Text)
            .col("parameter_name", Text)
            .col("accno", Text)
            .col("default", Boolean)
            .index({"module", "parameter_name"}));

    // Accounts whose postings are spread over target accounts by percentage.
    add(Table("Allocation_Account_table")
            .col("allocate_accno", Text)
            .col("accno", Text)
            .col("Percent", Double)
            .index({"allocate_accno"}));

    // Discount and write-off accounts offered to receipts; the default row is preselected.
    add(Table("AR_discount_account_table")
            .col("account_name", Text)
            .col("default", Boolean));
    add(Table("AR_writeoff_account_table")
            .col("account_name", Text)
            .col("default", Boolean));

    // ---------------------------------------------------------------------------------
    // Document numbering: docno per company, type and year; fkey per company and type
    // ---------------------------------------------------------------------------------

    add(Table("Docno_master_table")
            .col("company", Integer)
            .col("doctype", Text)
            .col("fiscalyear", Text)
            .col("nextdocno", Integer)
            .unique({"company", "doctype", "fiscalyear"}));

    add(Table("Next_number_fkey_table")
            .col("company", Integer)
            .col("doctype", Text)
            .col("fkeyno", Integer)
            .unique({"company", "doctype"}));

    // Single row: how a document number is laid out.
    add(Table("Next_number_config_table")
            .col("structure", Text)
            .col("fyear_digit", Integer)
            .col("seperator1", Boolean)
            .col("seperator2", Boolean));

    add(Table("Next_number_format_table")
            .col("doctype", Text)
            .col("prefix", Text)
            .col("running_no_digit", Integer)
            .unique({"doctype"}));

    // ---------------------------------------------------------------------------------
    // Customers, payment terms and tax
    // ---------------------------------------------------------------------------------

    // Customer "0" is reserved and never listed.
    add(Table("Customer_table")
            .col("customer_no", Text)
            .col("customer_name", Text)
            .col("Address", Text)
            .col("Currency", Text)
            .col("payment_term", Text)
            .col("active", Boolean)
            .col("ar_accno", Text)
            .col("prepayment_accno", Text)
            .col("credit_limit", Double)
            .col("owing_balance", Double)
            .unique({"customer_no"})
            .index({"customer_name"}));

    // Term "00" is the cash term; `payment_term` "00" marks a term without due date.
    add(Table("Payment_term_table")
            .col("term_no", Text)
            .col("term_name", Text)
            .col("payment_term", Text)
            .col("Description", Text)
            .col("duedays", Integer)
            .col("early_days", Integer)
            .col("early_discount", Double)
            .col("default", Boolean)
            .unique({"term_no"}));

    add(Table("Tax_code_table")
            .col("tax_code", Text)
            .col("description", Text)
            .col("transaction_type", Text)
            .col("default", Boolean)
            .unique({"tax_code"}));

    // Authority rate, bounds and liability account. The two tax tables are read joined on
    // `tax_authority`, so every other column lives in exactly one of them.
    add(Table("Tax_authority_table")
            .col("tax_authority", Text)
            .col("Rate", Double)
            .col("min_charged", Double)
            .col("max_charged", Double)
            .col("acc_liability", Text)
            .unique({"tax_authority"}));

    // The authorities of a code in `item_no` order; `taxable` marks compound tax.
    add(Table("Tax_code_details_table")
            .col("tax_code", Text)
            .col("item_no", Integer)
            .col("tax_authority", Text)
            .col("transaction_type", Text)
            .col("taxable", Boolean)
            .index({"tax_code", "item_no"}));

    // ---------------------------------------------------------------------------------
    // Banks and credit cards that receive money
    // ---------------------------------------------------------------------------------

    add(Table("Bank_master_table")
            .col("bank_code", Text)
            .col("bank_name", Text)
            .col("bank_branch", Text)
            .col("bank_account_type", Text)
            .col("account_no", Text)
            .unique({"bank_code"}));

    add(Table("Bank_currency_table")
            .col("bank_code", Text)
            .col("currency", Text)
            .unique({"bank_code", "currency"}));

    add(Table("Credit_card_master_table")
            .col("card_name", Text)
            .col("used", Boolean)
            .col("asset_accno", Text)
            .col("payable_accno", Text)
            .index({"card_name"}));

    // ---------------------------------------------------------------------------------
    // General ledger: journals and the running balances they move
    // ---------------------------------------------------------------------------------

    // Journal periods are Text: a line's period is "1".."13" or "AD" (adjustment) or
    // "CL" (closing), and the journal header carries the same code as its lines.
    add(Table("GL_header_table")
            .col("company", Integer)
            .col("doctype", Text)
            .col("docno", Text)
            .col("fkey", Text)
            .col("Description", Text)
            .col("remark", Text)
            .col("gldate", Date)
            .col("Source", Text)
            .col("source_docno", Text)
            .col("source_form", Text)
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("period", Text)
            .col("fyear", Text)
            .col("Reverse", Boolean)
            .created()
            .index({"fkey"})
            .index({"company", "docno"}));

    // Ledger 'A' lines are in base currency, 'F' lines in one foreign currency.
    add(Table("GL_transaction_table")
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("lineno", Integer)
            .col("accno", Text)
            .segments()
            .col("amount", Double)
            .col("base_amount", Double)
            .col("Currency", Text)
            .col("ledgertype", Text)
            .col("exchange_rate", Double)
            .col("gldate", Date)
            .col("period", Text)
            .col("fyear", Text)
            .col("customer_no", Text)
            .col("Source", Text)
            .col("source_form", Text)
            .col("source_docno", Text)
            .created()
            .col("userid", Text)
            .index({"fkey"})
            .index({"accno"})
            .index({"company", "docno"}));

    // Ledger: running balances per account and currency (no fiscal year).
    add(Table("Balance_table")
            .col("company", Integer)
            .col("ledgertype", Text)
            .col("accno", Text)
            .segments()
            .col("currency", Text)
            .col("amount", Double)
            .col("base_amount", Double)
            .unique({"company", "ledgertype", "accno", "currency"}));

    // Ledger: balances by fiscal year and period; the `e_` columns hold the base-currency
    // values of the 'E' rows that accompany each 'F' row.
    add(Table("Balance_period_table")
            .col("fyear", Text)
            .col("company", Integer)
            .col("ledgertype", Text)
            .col("accno", Text)
            .segments()
            .col("currency", Text)
            .col("opening_balance", Double)
            .col("period1", Double)
            .col("Period2", Double)
            .col("Period3", Double)
            .range("period", 4, 13, Double)
            .col("adjust", Double)
            .col("closing", Double)
            .range("balperiod", 1, 13, Double)
            .col("ytd_balance", Double)
            .col("e_opening_balance", Double)
            .range("e_period", 1, 13, Double)
            .col("e_adjust", Double)
            .col("e_closing", Double)
            .range("e_balperiod", 1, 13, Double)
            .col("e_ytd_balance", Double)
            .unique({"fyear", "company", "ledgertype", "accno", "currency"}));

    // ---------------------------------------------------------------------------------
    // A/R documents: invoices, debit and credit notes, unapplied cash and prepayment
    // lines, and recurring-invoice definitions
    // ---------------------------------------------------------------------------------

    // Document `period` is the integer fiscal period (1 .. number of periods).
    add(Table("AR_header_table")
            .col("Id", AutoId)
            .col("company", Integer)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("docno", Text)
            .col("customer_no", Text)
            .col("invoice_date", Date)
            .col("customer_po", Text)
            .col("order_no", Text)
            .col("apply_to_docno", Text)
            .col("due_date", Date)
            .col("discount_date", Date)
            .termCopies()
            .col("remark", Text)
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("rate_date", Date)
            .col("bill_to_address", Text)
            .col("ship_to_address", Text)
            .col("period", Integer)
            .col("fyear", Text)
            .col("Source", Text)
            .col("source_docno", Text)
            .col("source_form", Text)
            .col("GLFKEY", Text)
            .col("paid", Boolean)
            .col("fully_paid", Boolean)
            .col("void", Boolean)
            .col("printed", Boolean)
            .col("prepayment", Double)
            .col("ppfkey", Text)
            .col("recur_no", Text)
            .col("month", Text)
            .col("year", Text)
            .col("parent_no", Text)
            .created()
            .modified()
            .index({"fkey"})
            .index({"company", "docno"})
            .index({"doctype", "fully_paid", "void"})
            .index({"recur_no"}));

    // One row per pay item; open items are the rows with `paid` false.
    add(Table("AR_transaction_table")
            .col("id", AutoId)
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("doctype", Text)
            .col("customer_no", Text)
            .payItemColumns()
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("invoice_date", Date)
            .col("due_date", Date)
            .col("discount_date", Date)
            .termCopies()
            .col("period", Integer)
            .col("fyear", Text)
            .col("Source", Text)
            .col("source_docno", Text)
            .col("source_form", Text)
            .col("paid", Boolean)
            .col("paid_amount", Double)
            .col("discount_available", Double)
            .col("discount_taken", Double)
            .col("writeoff", Double)
            .col("void", Boolean)
            .col("Status", Text)
            .col("receipt_no", Text)
            .col("check_no", Text)
            .col("due_datedb", Date)
            .col("age_range", Integer)
            .col("computer_id", Text)
            .created()
            .col("user_updated", Text)
            .modified()
            .col("User", Text)
            .index({"fkey"})
            .index({"company", "docno"})
            .index({"customer_no", "paid"})
            .index({"docno", "pay_item"}));

    // Recurring definitions: `recur_date` is the day of month (0 = by hand, 31 = last day).
    add(Table("AR_recur_header_table")
            .col("company", Integer)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("recurno", Text)
            .col("recur_name", Text)
            .col("customer_no", Text)
            .col("Currency", Text)
            .termCopies()
            .col("remark", Text)
            .col("recur_date", Integer)
            .col("begin_date", Date)
            .col("end_date", Date)
            .col("no_invoice", Integer)
            .col("no_issue", Integer)
            .col("Frequency", Text)
            .col("inactive", Boolean)
            .created()
            .modified()
            .index({"fkey"})
            .index({"company", "recurno"})
            .index({"customer_no"}));

    // Template lines of a definition: the line columns of AR_transaction_table.
    // The line writer is the one of document lines, so the template rows also take its
    // header copies (`docno` holds the definition's `recurno`).
    add(Table("AR_recur_transaction_table")
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("doctype", Text)
            .col("customer_no", Text)
            .payItemColumns()
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("invoice_date", Date)
            .col("due_date", Date)
            .col("discount_date", Date)
            .termCopies()
            .col("period", Integer)
            .col("fyear", Text)
            .col("computer_id", Text)
            .created()
            .col("user_updated", Text)
            .modified()
            .index({"fkey"}));

    // ---------------------------------------------------------------------------------
    // Sales-module documents that receipts settle or that prepayments look at
    // ---------------------------------------------------------------------------------

    add(Table("SO_header_table")
            .col("company", Integer)
            .col("doctype", Text)
            .col("docno", Text)
            .col("fkey", Text)
            .col("customer_no", Text)
            .col("paid", Boolean)
            .col("fully_paid", Boolean)
            .index({"fkey"})
            .index({"company", "docno"}));

    // Sales-order lines; A/R only lists a customer's back-ordered lines.
    add(Table("Order_transaction_table")
            .col("company", Integer)
            .col("docno", Text)
            .col("fkey", Text)
            .col("soldto", Text)
            .col("quantity_backorder", Double)
            .index({"fkey"})
            .index({"soldto"}));

    // ---------------------------------------------------------------------------------
    // Receipts: normal receipts and prepayments ('rc', 'rpp'), fast receipt batches
    // ('fr') and miscellaneous receipts ('mrc')
    // ---------------------------------------------------------------------------------

    add(Table("Receipt_header_table")
            .col("id", AutoId)
            .col("company", Integer)
            .col("docno", Text)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("receipt_no", Text)
            .col("receipt_date", Date)
            .col("customer_no", Text)
            .col("payer", Text)
            .col("payby", Text)
            .col("cash_accno", Text)
            .col("bank_code", Text)
            .col("bank_accno", Text)
            .col("check_no", Text)
            .col("check_date", Date)
            .col("remark", Text)
            .col("receipt_amount", Double)
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("rate_date", Date)
            .col("receipt_base_amount", Double)
            .col("total_amount", Double)
            .col("total_currency", Text)
            .col("total_base_amount", Double)
            .col("period", Integer)
            .col("fyear", Text)
            .col("source_form", Text)
            .created()
            .col("GLFKEY", Text)
            .col("Unapplied_DOCNO", Text)
            .col("Unapplied_amount", Double)
            .col("void", Boolean)
            .col("void_date", Date)
            .col("new_from_fast", Boolean)
            .col("fast_apply_invoice_no", Text)
            .col("fast_docno", Text)
            .col("parent_no", Text)
            .col("order_no", Text)
            .col("customer_po", Text)
            .col("printed", Boolean)
            .col("prepayment_liability_accno", Text)
            .col("prepayment_invoice_no", Text)
            .col("completely_match", Boolean)
            .index({"fkey"})
            .index({"company", "docno"})
            .index({"check_no"})
            .index({"customer_no", "receipt_date"}));

    // One row per applied pay item.
    add(Table("Receipt_transaction_table")
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("receipt_no", Text)
            .col("receipt_date", Date)
            .col("customer_no", Text)
            .col("check_no", Text)
            .col("check_date", Date)
            .col("invoice_no", Text)
            .col("pay_item", Text)
            .col("invoice_date", Date)
            .col("gross_amount", Double)
            .col("open_amount", Double)
            .col("discount_available", Double)
            .col("applied_amount", Double)
            .col("applied_base_amount", Double)
            .col("discount_taken", Double)
            .col("discount_accno", Text)
            .col("writeoff", Double)
            .col("writeoff_accno", Text)
            .col("invoice_balance", Double)
            .col("Currency", Text)
            .col("invoice_exchange_rate", Double)
            .col("receipt_exchange_rate", Double)
            .col("computer_id", Text)
            .col("remark", Text)
            .col("void", Boolean)
            .index({"fkey"})
            .index({"company", "docno"})
            .index({"invoice_no"}));

    // Fast receipt batch: one journal per line, real documents generated later.
    add(Table("AR_Fast_Receipt_header_table")
            .col("Id", AutoId)
            .col("company", Integer)
            .col("docno", Text)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("bank_code", Text)
            .col("receipt_date", Date)
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("rate_date", Date)
            .col("receipt_amount", Double)
            .col("receipt_base_amount", Double)
            .col("remark", Text)
            .col("period", Integer)
            .col("fyear", Text)
            .col("complete", Boolean)
            .col("void", Boolean)
            .col("printed", Boolean)
            .col("completely_match", Boolean)
            .index({"fkey"})
            .index({"company", "docno"}));

    // `transaction_type` 1 receipt, 2 unapplied cash, 3 prepayment, 4 misc receipt;
    // `receipt_by` 1 cash, 2 cheque.
    add(Table("AR_Fast_Receipt_transaction_table")
            .col("fkey", Text)
            .col("docno", Text)
            .col("lineno", Integer)
            .col("transaction_type", Integer)
            .col("receipt_by", Integer)
            .col("check_no", Text)
            .col("check_date", Date)
            .col("customer_no", Text)
            .col("payer", Text)
            .col("amount", Double)
            .col("invoice_no", Text)
            .col("receipt_no", Text)
            .col("order_no", Text)
            .col("customer_po", Text)
            .col("accno", Text)
            .col("Description", Text)
            .col("period", Integer)
            .col("fyear", Text)
            .col("computer_id", Text)
            .col("GLFKEY", Text)
            .col("real_docno", Text)
            .col("real_doctype", Text)
            .index({"fkey"})
            .index({"docno"}));

    // Money received that settles no A/R document; each line credits a G/L account.
    add(Table("Receipt_misc_header_table")
            .col("Id", AutoId)
            .col("company", Integer)
            .col("docno", Text)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("receipt_no", Text)
            .col("receipt_date", Date)
            .col("Currency", Text)
            .col("exchange_rate", Double)
            .col("rate_date", Date)
            .col("payer", Text)
            .col("payby", Text)
            .col("cash_accno", Text)
            .col("bank_code", Text)
            .col("bank_accno", Text)
            .col("check_no", Text)
            .col("check_date", Date)
            .col("remark", Text)
            .col("receipt_amount", Double)
            .col("period", Integer)
            .col("fyear", Text)
            .col("GLFKEY", Text)
            .col("fast_docno", Text)
            .col("void", Boolean)
            .col("printed", Boolean)
            .col("user_created", Text)
            .index({"fkey"})
            .index({"company", "docno"}));

    add(Table("Receipt_misc_transaction_table")
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("lineno", Integer)
            .col("accno", Text)
            .col("amount", Double)
            .col("Description", Text)
            .col("Reference", Text)
            .col("Currency", Text)
            .col("computer_id", Text)
            .index({"fkey"})
            .index({"company", "docno"}));

    // ---------------------------------------------------------------------------------
    // Matching: open credits settled against open debits ('mc')
    // ---------------------------------------------------------------------------------

    add(Table("AR_matching_header_table")
            .col("id", AutoId)
            .col("company", Integer)
            .col("docno", Text)
            .col("doctype", Text)
            .col("fkey", Text)
            .col("Date", Date)
            .col("rate_date", Date)
            .col("customer_no", Text)
            .col("remark", Text)
            .col("Unapplied_amount", Double)
            .col("invoice_base_amount", Double)
            .col("invoice_amount", Double)
            .col("invoice_currency", Text)
            .col("period", Integer)
            .col("fyear", Text)
            .col("user_created", Text)
            .col("date_created", Date)
            .col("GLFKEY", Text)
            .col("printed", Boolean)
            .col("void", Boolean)
            .col("void_date", Date)
            .index({"fkey"})
            .index({"company", "docno"}));

    // One row per settled open item; `match_check_no` joins the cheque numbers used.
    add(Table("AR_matching_transaction_table")
            .col("company", Integer)
            .col("fkey", Text)
            .col("docno", Text)
            .col("Date", Date)
            .col("customer_no", Text)
            .col("lineno", Integer)
            .col("invoice_no", Text)
            .col("pay_item", Text)
            .col("check_no", Text)
            .col("invoice_date", Date)
            .col("matching_doctype", Text)
            .col("applied_amount", Double)
            .col("gross_amount", Double)
            .col("open_amount", Double)
            .col("discount_available", Double)
            .col("discount_taken", Double)
            .col("writeoff", Double)
            .col("invoice_balance", Double)
            .col("discount_accno", Text)
            .col("writeoff_accno", Text)
            .col("Currency", Text)
            .col("invoice_exchange_rate", Double)
            .col("receipt_exchange_rate", Double)
            .col("match_check_no", Text)
            .col("computer_id", Text)
            .col("void", Boolean)
            .index({"fkey"})
            .index({"company", "docno"})
            .index({"invoice_no"}));

    // ---------------------------------------------------------------------------------
    // Revaluation of open foreign-currency items ('arre')
    // ---------------------------------------------------------------------------------

    add(Table("AR_Revalue_header_table")
            .col("company", Integer)
            .col("docno", Text)
            .col("fkey", Text)
            .col("last_transaction_date", Date)
            .col("Date", Date)
            .col("Description", Text)
            .col("period", Integer)
            .col("fyear", Text)
            .col("GLFKEY", Text)
            .col("printed", Boolean)
            .index({"fkey"})
            .index({"company", "docno"}));

    // Selection criteria: one new rate per currency and customer choice.
    add(Table("AR_Revalue_transaction_table")
            .col("docno", Text)
            .col("fkey", Text)
            .col("currency", Text)
            .col("rate", Double)
            .col("every_customer", Boolean)
            .col("customer_group", Text)
            .col("customer_no", Text)
            .index({"fkey"})
            .index({"docno"}));

    // One row per revalued open item.
    add(Table("AR_Revalue_Result_table")
            .col("docno", Text)
            .col("fkey", Text)
            .col("document_no", Text)
            .col("customer_no", Text)
            .col("document_date", Date)
            .col("Currency", Text)
            .col("pay_item", Text)
            .col("invoice_amount", Double)
            .col("original_rate", Double)
            .col("original_base_amount", Double)
            .col("unrealized_gain_loss", Double)
            .col("new_base_amount", Double)
            .index({"fkey"})
            .index({"docno"}));

    // Account summary in base currency: debit positive, credit negative.
    add(Table("AR_Revalue_GL_summary_table")
            .col("docno", Text)
            .col("fkey", Text)
            .col("accno", Text)
            .col("Currency", Text)
            .col("amount", Double)
            .index({"fkey"})
            .index({"docno"}));

    // ---------------------------------------------------------------------------------
    // Users and screen settings: rights, date format, grid layouts, form settings,
    // recent values and report page formats
    // ---------------------------------------------------------------------------------

    add(Table("User_right_table")
            .col("userid", Text)
            .col("form", Text)
            .col("Update", Boolean)
            .col("Print", Boolean)
            .col("form_design", Boolean)
            .index({"userid", "form"}));

    // The user's date-format record ("dd/mm/yyyy" and the like).
    add(Table("User_Form_Dateformat")
            .col("userid", Text)
            .col("date_format", Text)
            .index({"userid"}));

    // One row per column of one grid of one screen, shared by all users.
    add(Table("Grid_property")
            .col("form_name", Text)
            .col("grid_name", Text)
            .col("col_order", Integer)
            .col("Caption", Text)
            .col("Visible", Boolean)
            .col("Locked", Boolean)
            .col("Print", Boolean)
            .col("cell_type", Text)
            .col("col_width", Integer)
            .col("row_height", Integer)
            .col("font_name", Text)
            .col("font_size", Double)
            .col("font_italic", Boolean)
            .col("font_bold", Boolean)
            .col("font_underline", Boolean)
            .col("font_color", Integer)
            .col("Alignment", Integer)
            .col("AutoCompletion", Boolean)
            .index({"form_name", "grid_name", "col_order"}));

    add(Table("Form_property_table")
            .col("userid", Text)
            .col("form", Text)
            .col("toolbar_text", Boolean)
            .col("Fontbar", Boolean)
            .index({"userid", "form"}));

    // Values remembered per screen and control; "evenrow_color" is shared by every screen.
    add(Table("Recent_value_table")
            .col("form_name", Text)
            .col("control_name", Text)
            .col("Value", Text)
            .index({"control_name"}));

    // Print layout per user and report screen; margins in millimetres.
    add(Table("Report_format_table")
            .col("user", Text)
            .col("form_name", Text)
            .col("font_name", Text)
            .col("font_size", Double)
            .col("font_color", Integer)
            .col("evenrow_color", Integer)
            .col("row_height", Integer)
            .col("top_margin", Double)
            .col("bottom_margin", Double)
            .col("left_margin", Double)
            .col("right_margin", Double)
            .col("disabled_evenrow_color", Boolean)
            .col("Bold", Boolean)
            .col("use_grid_font", Boolean)
            .col("column_divider", Boolean)
            .col("split_page", Integer)
            .col("Orientation", Integer)
            .col("PaperSize", Text)
            .col("Width", Double)
            .col("Height", Double)
            .col("unit", Text)
            .index({"user", "form_name"}));

    return tables;
}

}  // namespace

const std::vector<TableDef>& suiteTables() {
    static const std::vector<TableDef> tables = buildSuiteTables();
    return tables;
}

}  // namespace keltro::schema
