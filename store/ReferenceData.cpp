#include "store/ReferenceData.h"

#include "store/ColumnValues.h"

namespace keltro::store {

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
long daysFromCivil(const db::Date& d) {
    const int y = d.month <= 2 ? d.year - 1 : d.year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int monthFromMarch = d.month > 2 ? d.month - 3 : d.month + 9;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + d.day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<long>(era) * 146097 + dayOfEra - 719468;
}

db::Date civilFromDays(long days) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    const int month =
        static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

Customer readCustomer(const db::Row& row) {
    return {row["customer_no"].textOr(),      row["customer_name"].textOr(),
            row["Address"].textOr(),          row["Currency"].textOr(),
            row["payment_term"].textOr(),     row["active"].boolean().value_or(true),
            row["ar_accno"].textOr(),         row["prepayment_accno"].textOr(),
            row["credit_limit"].number(),     row["owing_balance"].number()};
}

PaymentTerm readPaymentTerm(const db::Row& row) {
    return {row["term_no"].textOr(),          row["term_name"].textOr(),
            row["payment_term"].textOr(),     optionalInt(row["duedays"]),
            optionalInt(row["early_days"]),   row["early_discount"].number(),
            row["default"].booleanOr(false)};
}

ExchangeRate readRate(const db::Row& row) {
    return {row["Rate"].numberOr(), row["rate_date"].date()};
}

}  // namespace

db::Date addDays(const db::Date& date, int days) {
    return civilFromDays(daysFromCivil(date) + days);
}

std::optional<Customer> findCustomer(db::Database& db, std::string_view customerNo) {
    if (customerNo == kReservedCustomerNo) return std::nullopt;
    auto row = db.queryOne("SELECT * FROM Customer_table WHERE customer_no = ?", {customerNo});
    if (!row) return std::nullopt;
    return readCustomer(*row);
}

std::optional<Customer> lockCustomer(db::Database& db, std::string_view customerNo) {
    if (customerNo == kReservedCustomerNo) return std::nullopt;
    const auto rows = db.lockRows("SELECT * FROM Customer_table WHERE customer_no = ?",
                                  {customerNo}, db::kBalanceLock);
    if (rows.empty()) return std::nullopt;
    return readCustomer(rows.front());
}

void setOwingBalance(db::Database& db, std::string_view customerNo, double owingBalance) {
    db.queue("UPDATE Customer_table SET owing_balance = ? WHERE customer_no = ?",
             {owingBalance, customerNo});
}

std::vector<Customer> listCustomers(db::Database& db, CustomerOrder order) {
    const char* sql = order == CustomerOrder::ByNumber
                          ? "SELECT * FROM Customer_table WHERE customer_no <> ? "
                            "ORDER BY customer_no DESC"
                          : "SELECT * FROM Customer_table WHERE customer_no <> ? "
                            "ORDER BY customer_name DESC";
    std::vector<Customer> customers;
    for (const auto& row : db.query(sql, {kReservedCustomerNo}))
        customers.push_back(readCustomer(row));
    return customers;
}

std::optional<PaymentTerm> findPaymentTerm(db::Database& db, std::string_view termNo) {
    auto row = db.queryOne("SELECT * FROM Payment_term_table WHERE term_no = ?", {termNo});
    if (!row) return std::nullopt;
    return readPaymentTerm(*row);
}

std::optional<PaymentTerm> defaultPaymentTerm(db::Database& db) {
    auto row = db.queryOne("SELECT * FROM Payment_term_table WHERE [default] = TRUE");
    if (!row) return std::nullopt;
    return readPaymentTerm(*row);
}

std::vector<PaymentTerm> listPaymentTerms(db::Database& db) {
    std::vector<PaymentTerm> terms;
    for (const auto& row : db.query("SELECT * FROM Payment_term_table WHERE term_no <> ? "
                                    "ORDER BY term_no DESC",
                                    {kCashTerm}))
        terms.push_back(readPaymentTerm(row));
    return terms;
}

TermDates termDates(const PaymentTerm& term, db::Date start) {
    TermDates dates;
    if (term.paymentTerm != kCashTerm) dates.dueDate = addDays(start, term.duedays.value_or(0));
    if (term.earlyDays.value_or(0) > 0) dates.discountDate = addDays(start, *term.earlyDays);
    return dates;
}

std::vector<std::string> workingCurrencies(db::Database& db) {
    std::vector<std::string> currencies;
    for (const auto& row : db.query("SELECT * FROM [Working_Currency_table]"))
        currencies.push_back(row["Currency"].textOr());
    return currencies;
}

bool isWorkingCurrency(db::Database& db, std::string_view currency) {
    return db.queryOne("SELECT Currency FROM [Working_Currency_table] WHERE Currency = ?",
                       {currency})
        .has_value();
}

std::vector<ExchangeRate> exchangeRates(db::Database& db, std::string_view currency,
                                        std::optional<db::Date> onOrBefore) {
    const db::Rows rows =
        onOrBefore ? db.query("SELECT * FROM Exchange_rate_table WHERE currency = ? "
                              "AND rate_date <= ? ORDER BY rate_date",
                              {currency, *onOrBefore})
                   : db.query("SELECT * FROM Exchange_rate_table WHERE currency = ? "
                              "ORDER BY rate_date NULLS FIRST",
                              {currency});
    std::vector<ExchangeRate> rates;
    for (const auto& row : rows) rates.push_back(readRate(row));
    return rates;
}

std::optional<ExchangeRate> latestExchangeRate(db::Database& db, std::string_view currency,
                                               std::optional<db::Date> onOrBefore) {
    auto row = onOrBefore ? db.queryOne("SELECT * FROM Exchange_rate_table WHERE currency = ? "
                                        "AND rate_date <= ? ORDER BY rate_date DESC LIMIT 1",
                                        {currency, *onOrBefore})
                          : db.queryOne("SELECT * FROM Exchange_rate_table WHERE currency = ? "
                                        "AND rate_date IS NOT NULL "
                                        "ORDER BY rate_date DESC LIMIT 1",
                                        {currency});
    if (!row) return std::nullopt;
    return readRate(*row);
}

}  // namespace keltro::store
