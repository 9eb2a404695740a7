// Reference data that A/R reads from the rest of the suite: customers, payment terms,
// currencies and exchange rates. (Tax codes: TaxCodes.h; accounts and module parameters:
// Accounts.h; the working period: WorkingPeriod.h.)
//
// These tables belong to other modules; A/R only reads them. Every look-up here is one
// statement on a key the table is indexed by, so a save costs the same however many
// documents the database holds.
//
// Customers: `customer_no` "0" is reserved and is never a customer of a document, nor in
// any list. Payment terms: term "00" is the cash term, kept out of the term list; a term
// whose `payment_term` column is "00" gives no due date. Exchange rates are base-currency
// units per unit of the currency; a document takes the latest rate dated on or before its
// rate date.
//
//     auto term = defaultPaymentTerm(db);
//     TermDates dates = termDates(*term, today);   // due 30 days on, discount after 10
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"

namespace keltro::store {

// ----- customers ----------------------------------------------------------------------

inline constexpr std::string_view kReservedCustomerNo = "0";

struct Customer {
    std::string customerNo;
    std::string name;
    std::string address;      // copied into a new invoice's bill-to address
    std::string currency;     // proposed for a new document
    std::string paymentTerm;  // proposed for a new document
    bool active = true;       // only an explicit FALSE marks an inactive customer
    std::string arAccno;      // the customer's own receivable account, may be empty
    std::string prepaymentAccno;
    std::optional<double> creditLimit;  // base currency; empty or 0: no limit
    std::optional<double> owingBalance;
};

// The customer with this number; nothing for an unknown number or the reserved "0".
std::optional<Customer> findCustomer(db::Database& db, std::string_view customerNo);
// The same inside a save's transaction, the customer's row locked until it ends (its
// owing balance is about to change); throws db::LockTimeout while another workstation
// keeps it.
std::optional<Customer> lockCustomer(db::Database& db, std::string_view customerNo);

// Stores the customer's new `owing_balance` (inside the saving screen's transaction).
void setOwingBalance(db::Database& db, std::string_view customerNo, double owingBalance);

enum class CustomerOrder { ByNumber, ByName };
// Every customer but the reserved one, highest number (or last name) first.
std::vector<Customer> listCustomers(db::Database& db, CustomerOrder order);

// ----- payment terms ------------------------------------------------------------------

inline constexpr std::string_view kCashTerm = "00";

struct PaymentTerm {
    std::string termNo;
    std::string termName;
    std::string paymentTerm;  // "00": no due date
    std::optional<int> duedays;
    std::optional<int> earlyDays;         // 0 or less: no discount date
    std::optional<double> earlyDiscount;  // percent
    bool isDefault = false;
};

std::optional<PaymentTerm> findPaymentTerm(db::Database& db, std::string_view termNo);
// The term proposed for new documents (`default` TRUE).
std::optional<PaymentTerm> defaultPaymentTerm(db::Database& db);
// Every term but the cash term, highest number first.
std::vector<PaymentTerm> listPaymentTerms(db::Database& db);

struct TermDates {
    std::optional<db::Date> dueDate;
    std::optional<db::Date> discountDate;
};

// Due date: `start` + `duedays` (empty counts as 0) unless the term's `payment_term` is
// "00". Discount date: `start` + `early_days` when that is above 0.
TermDates termDates(const PaymentTerm& term, db::Date start);

// The date `days` calendar days after `date` (before it, for a negative count).
db::Date addDays(const db::Date& date, int days);

// ----- currencies and exchange rates --------------------------------------------------

// The currencies offered in currency lists.
std::vector<std::string> workingCurrencies(db::Database& db);
bool isWorkingCurrency(db::Database& db, std::string_view currency);

struct ExchangeRate {
    double rate = 0;  // base units per currency unit
    std::optional<db::Date> rateDate;
};

// The rates of a currency dated on or before `onOrBefore` (every rate without it), oldest
// first: the rate list of a document.
std::vector<ExchangeRate> exchangeRates(db::Database& db, std::string_view currency,
                                        std::optional<db::Date> onOrBefore);
// The last of that list, read as one row: a rate of the same day counts, later ones do
// not. A rate without a date is never the latest.
std::optional<ExchangeRate> latestExchangeRate(db::Database& db, std::string_view currency,
                                               std::optional<db::Date> onOrBefore);

}  // namespace keltro::store
