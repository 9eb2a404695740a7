// Finding what a revaluation revalues: the open foreign-currency items at a cut-off date,
// each valued again at the new rate of its currency, and the accounts the difference moves.
//
// A run reads its criteria lines in order. Each line names a currency, the new rate R
// (as typed: no stored rate is read) and the customers it covers: every customer, the
// customers of a group, or one customer. Its open items are the unpaid, not void lines of
// that currency dated on or before the cut-off date, read in one query per line, ordered
// by customer, document and pay item. For an item of open amount O at document rate r:
//
//     original base = round(O × r, 2)     new base = round(O × R, 2)
//     unrealized    = new base − original base
//
// so 1,000.00 at 1.10 revalued at 1.25 gains 150.00, and a credit note of −200.00 loses
// 30.00. The item's receivable account (the customer's own, else the module's) must carry
// the currency in `Account_currency_table`; that row may name its own unrealized gain and
// loss accounts, else the module's are taken. Three summary lists gather the amounts per
// (account, currency): every unrealized amount on its receivable, a gain on its gain
// account, a loss on its loss account. The lists grow as needed.
//
// The account lines follow: receivable totals of 0 or more as debits, below 0 as credits
// (absolute value); gains as credits; losses as debits (absolute value). They balance.
//
// A customer group narrows a line to the customers whose `customer_group` matches when
// `Customer_table` carries that column; otherwise the group selects every customer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"
#include "services/Balances.h"
#include "services/Ui.h"

namespace keltro::revaluation {

// The module's accounts a run falls back on.
struct RevaluationAccounts {
    std::string receivable;      // 'AR account receivable account'
    std::string unrealizedGain;  // 'GL unrealized gain account'
    std::string unrealizedLoss;  // 'GL unrealized loss account'
};

// The rows marked `default` of the three parameters.
RevaluationAccounts readRevaluationAccounts(db::Database& db);

// One line of the criteria grid.
struct Criterion {
    std::string currency;
    std::optional<double> rate;  // nothing: no number was typed
    bool everyCustomer = false;
    std::string customerGroup;
    std::string customerNo;

    bool operator==(const Criterion&) const = default;
};

// One open item valued again.
struct RevaluedItem {
    std::string customerNo;
    std::string customerName;
    std::string documentNo;
    std::optional<db::Date> documentDate;
    std::string payItem;
    std::string currency;
    double originalRate = 0;
    double invoiceAmount = 0;  // open amount, document currency
    double originalBase = 0;
    double unrealized = 0;
    double newBase = 0;
};

// An entry of a summary list: `amount` in base currency (AccountCurrencyTotal's base
// amount is kept equal to it).
using SummaryList = std::vector<services::AccountCurrencyTotal>;

// A line of the account grid, in base currency.
struct AccountLine {
    std::string accno;
    std::string accname;
    std::string currency;
    double debit = 0;
    double credit = 0;
    bool debitAccount = false;  // the account's normal side (`Account_master_table.debit`)

    // What the summary row stores: the debit, or minus the credit.
    double signedAmount() const;
};

// What a run found; what a save stores.
struct Revaluation {
    db::Date cutoff;
    std::vector<Criterion> criteria;  // the lines the run read
    std::vector<RevaluedItem> items;
    SummaryList receivables;
    SummaryList gains;
    SummaryList losses;
    std::vector<AccountLine> accounts;
};

struct SearchContext {
    db::Database& db;
    services::Ui& ui;
    RevaluationAccounts accounts;
};

// The run ("Find result"). nothing after a message that stops it:
//     "please specify Last transaction date"
//     "please specify customer"
//     accno + " is not a multicurrency account"
// A line with a currency whose selection is empty says "No data" and the run goes on.
// Lines without a currency, or without a rate, are passed over.
std::optional<Revaluation> findRevaluation(SearchContext& context,
                                           const std::optional<db::Date>& cutoff,
                                           const std::vector<Criterion>& criteria);

// The account lines of the three lists (receivables, gains, losses, in list order), with
// each account's name and normal side.
std::vector<AccountLine> accountLines(db::Database& db, const SummaryList& receivables,
                                      const SummaryList& gains, const SummaryList& losses);

}  // namespace keltro::revaluation
