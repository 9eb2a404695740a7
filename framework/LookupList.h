// Multi-column drop-down lists of codes (customers, terms, cash accounts, banks, rates,
// currencies).
//
// A list is declared by a column spec, one group per column joined by "|", each group
// "column;width in twips;alignment;heading" with "<" for left and "^" for centre:
//
//     "0;1500;^;Customer no|1;3000;<;Name"
//
// An item is its column values joined by ";", and the first column is the value the
// field takes. Filling a list adds the query's first row, then puts every later row at
// the top, so a query sorted descending reads ascending in the list (and the rate list,
// sorted ascending, shows the newest rate first). The reserved customer "0" and the cash
// term "00" never appear.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "db/Database.h"

namespace keltro::framework {

enum class ListAlignment { Left, Centre };

struct ListColumn {
    int column = 0;
    int width = 0;  // twips
    ListAlignment alignment = ListAlignment::Left;
    std::string heading;
};

// Parses a column spec; groups that do not have four fields are passed over.
std::vector<ListColumn> ParseColumnSpec(const std::string& spec);

// The fill rule: the first item stays first to be added, every later one goes on top.
std::vector<std::string> ApplyFillRule(const std::vector<std::string>& inQueryOrder);
// The items of a list from the rows of its query, by the fill rule.
std::vector<std::string> FillList(const db::Rows& rows, const std::vector<std::string>& itemColumns);

// The value of an item: its first column.
std::string ItemValue(const std::string& item);
// Column `n` of an item (empty when it has fewer).
std::string ItemColumn(const std::string& item, std::size_t n);
// Column `wanted` of the first item whose column `match` is `text` (the number of a name
// picked from a list by name); nothing when no item has it.
std::optional<std::string> ItemColumnWhere(const std::vector<std::string>& items, std::size_t match,
                                           const std::string& text, std::size_t wanted);

namespace lists {

// Column specs of the shared lists. The entry screens (invoice and reports) centre the
// customer number; the receipt, prepayment and matching screens keep it left.
inline constexpr const char* kCustomerByNumber = "0;1500;^;Customer no|1;3000;<;Name";
inline constexpr const char* kCustomerByName = "0;3000;<;Customer name|1;1500;^;No";
inline constexpr const char* kCustomerByNumberLeft = "0;1500;<;Customer no|1;3000;<;Name";
inline constexpr const char* kCustomerByNameLeft = "0;3000;<;Customer name|1;1500;<;No";
inline constexpr const char* kPaymentTerm = "0;1700;<;Term|1;700;^;Code";
inline constexpr const char* kCashAccount = "0;2500;<;Account no|1;3000;<;Name";
inline constexpr const char* kBank = "0;2000;<;Bank code|1;1500;<;Name|2;1500;<;Branch|3;1000;<;Type";
inline constexpr const char* kExchangeRate = "0;1500;<;Rate|1;1500;^;Rate Date";

std::vector<std::string> customersByNumber(db::Database& db);
std::vector<std::string> customersByName(db::Database& db);
std::vector<std::string> paymentTerms(db::Database& db);
std::vector<std::string> cashAccounts(db::Database& db);
std::vector<std::string> banks(db::Database& db);
std::vector<std::string> currencies(db::Database& db);
// The fiscal years (`Fiscalyear_table.fyear`), in order.
std::vector<std::string> fiscalYears(db::Database& db);
// "1" .. the number of periods the host gives (`KELTRO_NO_PERIODS`; at least one).
std::vector<std::string> periodNumbers(const std::string& count);
// The rates of a currency dated on or before `onOrBefore` (any date when not given),
// newest first, each "rate;rate date" with the date as `formatDate` shows it.
std::vector<std::string> exchangeRates(db::Database& db, const std::string& currency,
                                       const std::optional<db::Date>& onOrBefore,
                                       const std::function<std::string(const db::Date&)>& formatDate);

}  // namespace lists

}  // namespace keltro::framework
