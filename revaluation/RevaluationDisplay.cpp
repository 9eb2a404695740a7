#include "revaluation/RevaluationDisplay.h"

#include <algorithm>
#include <cstdlib>

#include "framework/FieldText.h"
#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::revaluation {

namespace {

using framework::GridRow;
using services::FormatAmount;
using services::roundMoney;

std::string cellOf(const GridRow& row, const char* caption) {
    const auto it = row.find(caption);
    return it == row.end() ? std::string() : framework::trimmedText(it->second);
}

// A typed rate: nothing unless the whole text is a number.
std::optional<double> rateOf(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const std::string digits = framework::trimmedText(text);
    char* end = nullptr;
    const double rate = std::strtod(digits.c_str(), &end);
    if (end == digits.c_str() || *end != '\0') return std::nullopt;
    return rate;
}

std::string numberText(double value) { return db::Value(value).textOr(); }

// The four sums of a total row.
struct Sums {
    double invoice = 0;
    double originalBase = 0;
    double unrealized = 0;
    double newBase = 0;

    void add(const RevaluedItem& item) {
        invoice = roundMoney(invoice + item.invoiceAmount);
        originalBase = roundMoney(originalBase + item.originalBase);
        unrealized = roundMoney(unrealized + item.unrealized);
        newBase = roundMoney(newBase + item.newBase);
    }
};

GridRow amountCells(GridRow row, double invoice, double originalBase, double unrealized,
                    double newBase) {
    row["invoice amount"] = FormatAmount(invoice);
    row["original base-currency amount"] = FormatAmount(originalBase);
    row["unrealized Gain/Loss"] = FormatAmount(unrealized);
    row["new base-currency amount"] = FormatAmount(newBase);
    return row;
}

GridRow itemRow(const RevaluedItem& item, const std::string& dateFormat) {
    return amountCells({{"customer no", item.customerNo},
                        {"customer name", item.customerName},
                        {"document no", item.documentNo},
                        {"date", framework::dateText(item.documentDate, dateFormat)},
                        {"pay item", item.payItem},
                        {"currency", item.currency},
                        {"original rate", numberText(item.originalRate)}},
                       item.invoiceAmount, item.originalBase, item.unrealized, item.newBase);
}

GridRow sumRow(const std::string& first, const std::string& currency, const Sums& sums) {
    return amountCells({{"customer no", first}, {"currency", currency}}, sums.invoice,
                       sums.originalBase, sums.unrealized, sums.newBase);
}

}  // namespace

bool isTicked(const std::string& text) {
    return text == "1" || text == "-1" || text == "True" || text == "true" || text == "TRUE";
}

std::vector<Criterion> criteriaOf(const std::vector<GridRow>& rows) {
    std::vector<Criterion> criteria;
    for (const auto& row : rows)
        criteria.push_back({.currency = cellOf(row, column::kCurrency),
                            .rate = rateOf(cellOf(row, column::kRate)),
                            .everyCustomer = isTicked(cellOf(row, column::kEveryCustomer)),
                            .customerGroup = cellOf(row, column::kCustomerGroup),
                            .customerNo = cellOf(row, column::kCustomerNo)});
    return criteria;
}

std::vector<GridRow> criteriaRows(const std::vector<Criterion>& criteria) {
    std::vector<GridRow> rows;
    for (const auto& c : criteria)
        rows.push_back({{column::kCurrency, c.currency},
                        {column::kRate, c.rate ? numberText(*c.rate) : ""},
                        {column::kEveryCustomer, c.everyCustomer ? "1" : "0"},
                        {column::kCustomerGroup, c.customerGroup},
                        {column::kCustomerNo, c.customerNo}});
    return rows;
}

std::vector<GridRow> resultRows(const std::vector<RevaluedItem>& items,
                                const std::string& dateFormat) {
    std::vector<GridRow> rows;
    std::vector<std::pair<std::string, Sums>> perCurrency;  // in order of first appearance
    Sums group;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const RevaluedItem& item = items[i];
        rows.push_back(itemRow(item, dateFormat));
        group.add(item);
        auto known = std::find_if(perCurrency.begin(), perCurrency.end(),
                                  [&](const auto& entry) { return entry.first == item.currency; });
        if (known == perCurrency.end()) known = perCurrency.insert(perCurrency.end(), {item.currency, {}});
        known->second.add(item);
        if (i + 1 == items.size() || items[i + 1].currency != item.currency) {
            rows.push_back(sumRow(kTotalRow, item.currency, group));
            group = {};
        }
    }
    if (items.empty()) return rows;
    rows.push_back({{"customer no", kSummaryRow}});
    for (const auto& [currency, sums] : perCurrency) rows.push_back(sumRow("", currency, sums));
    return rows;
}

std::vector<GridRow> accountRows(const std::vector<AccountLine>& accounts,
                                 const std::string& debitCaption,
                                 const std::string& creditCaption) {
    std::vector<GridRow> rows;
    for (const auto& line : accounts)
        rows.push_back({{"account no", line.accno},
                        {"account name", line.accname},
                        {"currency", line.currency},
                        {debitCaption, line.credit == 0 ? FormatAmount(line.debit) : ""},
                        {creditCaption, line.credit != 0 ? FormatAmount(line.credit) : ""}});
    return rows;
}

reports::ReportTitles printTitles(const RevaluationHeader& header, const std::string& screenCaption) {
    const std::string period = header.period ? std::to_string(*header.period) : "";
    return {"A/R REVALUATION REPORT   Fiscal year : " + header.fyear + "   Period : " + period, "ar_revaluation",
            "Preview " + screenCaption};
}

}  // namespace keltro::revaluation
