#include "framework/LookupList.h"

#include <algorithm>
#include <charconv>
#include <deque>

namespace keltro::framework {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::optional<int> toInt(const std::string& text) {
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string itemOf(const db::Row& row, const std::vector<std::string>& columns) {
    std::string item;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i) item += ";";
        item += row[columns[i]].textOr();
    }
    return item;
}

}  // namespace

std::vector<ListColumn> ParseColumnSpec(const std::string& spec) {
    std::vector<ListColumn> columns;
    if (spec.empty()) return columns;
    for (const auto& group : split(spec, '|')) {
        const auto fields = split(group, ';');
        if (fields.size() != 4) continue;
        const auto column = toInt(fields[0]);
        const auto width = toInt(fields[1]);
        if (!column || !width) continue;
        columns.push_back({*column, *width,
                           fields[2] == "^" ? ListAlignment::Centre : ListAlignment::Left, fields[3]});
    }
    return columns;
}

std::vector<std::string> ApplyFillRule(const std::vector<std::string>& inQueryOrder) {
    std::deque<std::string> items;
    for (std::size_t i = 0; i < inQueryOrder.size(); ++i) {
        if (i == 0)
            items.push_back(inQueryOrder[i]);
        else
            items.push_front(inQueryOrder[i]);
    }
    return {items.begin(), items.end()};
}

std::vector<std::string> FillList(const db::Rows& rows, const std::vector<std::string>& itemColumns) {
    std::vector<std::string> items;
    items.reserve(rows.size());
    for (const auto& row : rows) items.push_back(itemOf(row, itemColumns));
    return ApplyFillRule(items);
}

std::string ItemValue(const std::string& item) { return ItemColumn(item, 0); }

std::string ItemColumn(const std::string& item, std::size_t n) {
    const auto parts = split(item, ';');
    return n < parts.size() ? parts[n] : std::string();
}

std::optional<std::string> ItemColumnWhere(const std::vector<std::string>& items, std::size_t match,
                                           const std::string& text, std::size_t wanted) {
    for (const auto& item : items)
        if (ItemColumn(item, match) == text) return ItemColumn(item, wanted);
    return std::nullopt;
}

namespace lists {

std::vector<std::string> customersByNumber(db::Database& db) {
    return FillList(db.query("SELECT customer_no,customer_name FROM [Customer_table] "
                             " WHERE customer_no <> '0' ORDER BY customer_no DESC"),
                    {"customer_no", "customer_name"});
}

std::vector<std::string> customersByName(db::Database& db) {
    return FillList(db.query("SELECT customer_no,customer_name FROM [Customer_table] "
                             " WHERE customer_no <> '0' ORDER BY customer_name DESC"),
                    {"customer_name", "customer_no"});
}

std::vector<std::string> paymentTerms(db::Database& db) {
    return FillList(db.query("SELECT * FROM [Payment_term_table] "
                             " WHERE term_no <> '00' ORDER BY term_no DESC"),
                    {"term_name", "term_no"});
}

std::vector<std::string> cashAccounts(db::Database& db) {
    return FillList(db.query("SELECT * FROM [Account_master_table] "
                             " WHERE accclass = 'Cash' AND [type] = 'A' ORDER BY accno DESC"),
                    {"accno", "accname"});
}

std::vector<std::string> banks(db::Database& db) {
    return FillList(db.query("SELECT * FROM [Bank_master_table] ORDER BY bank_code DESC"),
                    {"bank_code", "bank_name", "bank_branch", "bank_account_type"});
}

std::vector<std::string> currencies(db::Database& db) {
    return FillList(db.query("SELECT * FROM [Working_Currency_table] ORDER BY Currency DESC"), {"Currency"});
}

std::vector<std::string> fiscalYears(db::Database& db) {
    std::vector<std::string> years;
    for (const auto& row : db.query("SELECT fyear FROM Fiscalyear_table ORDER BY fyear"))
        years.push_back(row["fyear"].textOr());
    return years;
}

std::vector<std::string> periodNumbers(const std::string& count) {
    std::vector<std::string> periods;
    const int last = std::max(1, toInt(count).value_or(1));
    for (int period = 1; period <= last; ++period) periods.push_back(std::to_string(period));
    return periods;
}

std::vector<std::string> exchangeRates(db::Database& db, const std::string& currency,
                                       const std::optional<db::Date>& onOrBefore,
                                       const std::function<std::string(const db::Date&)>& formatDate) {
    const db::Rows rows =
        onOrBefore ? db.query("SELECT * FROM Exchange_rate_table WHERE currency = ? AND rate_date <= ? "
                              "ORDER BY rate_date",
                              {currency, *onOrBefore})
                   : db.query("SELECT * FROM Exchange_rate_table WHERE currency = ? ORDER BY rate_date",
                              {currency});
    std::vector<std::string> items;
    for (const auto& row : rows) {
        const auto date = row["rate_date"].date();
        items.push_back(row["Rate"].textOr() + ";" + (date ? formatDate(*date) : std::string()));
    }
    return ApplyFillRule(items);
}

}  // namespace lists

}  // namespace keltro::framework
