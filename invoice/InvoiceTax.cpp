#include "invoice/InvoiceTax.h"

#include <algorithm>

#include "services/Money.h"

namespace keltro::invoice {

using services::roundMoney;

namespace {

double authorityTax(const store::TaxAuthorityRate& authority, double amount, double compoundBase,
                    TaxEntry entry) {
    const double rate = authority.rate;
    double tax = entry == TaxEntry::Taxable
                     ? roundMoney(rate * (amount + compoundBase) / 100)
                     : roundMoney(rate * ((amount + compoundBase) / (1 + rate / 100)) / 100);
    const double lower = authority.minCharged.value_or(0);
    const double upper = authority.maxCharged.value_or(0);
    if (lower > 0 && tax < lower) tax = lower;
    if (upper > 0 && tax > upper) tax = upper;
    return tax;
}

}  // namespace

LineTax computeLineTax(const std::string& payItem, const std::string& taxCode, double amount,
                       TaxEntry entry, const std::vector<store::TaxAuthorityRate>& authorities) {
    LineTax result;
    double compoundBase = 0;
    double total = 0;
    for (const auto& authority : authorities) {
        const double tax = authorityTax(authority, amount, compoundBase, entry);
        if (authority.taxable) compoundBase = roundMoney(compoundBase + tax);
        const double base = entry == TaxEntry::Taxable ? roundMoney(amount + compoundBase)
                                                       : roundMoney(amount - tax + compoundBase);
        result.rows.push_back(
            {payItem, authority.authority, base, authority.rate, tax, authority.taxable, taxCode});
        total = roundMoney(total + tax);
    }
    result.tax = total;
    const bool taxableEntry = entry == TaxEntry::Taxable;
    result.taxableAmount = roundMoney(taxableEntry ? amount : amount - total);
    result.grossAmount = roundMoney(taxableEntry ? amount + total : amount);
    return result;
}

double taxAtRate(double taxableBase, double rate) { return roundMoney(taxableBase * rate / 100); }

std::vector<TaxRow> TaxTable::rowsOf(const std::string& payItem) const {
    std::vector<TaxRow> rows;
    std::copy_if(m_rows.begin(), m_rows.end(), std::back_inserter(rows),
                 [&](const TaxRow& row) { return row.payItem == payItem; });
    return rows;
}

void TaxTable::replaceLine(const std::string& payItem, const std::vector<TaxRow>& rows) {
    removeLine(payItem);
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
}

void TaxTable::removeLine(const std::string& payItem) {
    std::erase_if(m_rows, [&](const TaxRow& row) { return row.payItem == payItem; });
}

void TaxTable::renameLine(const std::string& from, const std::string& to) {
    if (from == to) return;
    if (to.empty()) return removeLine(from);
    for (auto& row : m_rows)
        if (row.payItem == from) row.payItem = to;
}

double TaxTable::lineTax(const std::string& payItem) const {
    double total = 0;
    for (const auto& row : m_rows)
        if (row.payItem == payItem) total = roundMoney(total + row.taxAmount);
    return total;
}

std::string TaxTable::setRate(std::size_t row, double rate) {
    TaxRow& target = m_rows.at(row);
    target.rate = rate;
    target.taxAmount = taxAtRate(target.taxableBase, rate);
    return target.payItem;
}

std::string TaxTable::setTaxAmount(std::size_t row, double tax) {
    TaxRow& target = m_rows.at(row);
    target.taxAmount = roundMoney(tax);
    return target.payItem;
}

std::vector<TaxRow> TaxTable::summary() const {
    std::vector<TaxRow> sums;
    for (const auto& row : m_rows) {
        auto it = std::find_if(sums.begin(), sums.end(),
                               [&](const TaxRow& sum) { return sum.authority == row.authority; });
        if (it == sums.end()) {
            sums.push_back({"", row.authority, row.taxableBase, row.rate, row.taxAmount,
                            row.taxable, ""});
            continue;
        }
        it->taxableBase = roundMoney(it->taxableBase + row.taxableBase);
        it->taxAmount = roundMoney(it->taxAmount + row.taxAmount);
    }
    return sums;
}

std::vector<TaxRow> taxRowsOfLine(const store::PayItemLine& line) {
    std::vector<TaxRow> rows;
    for (const auto& share : line.taxes)
        rows.push_back({line.payItem, share.authority, share.taxableAmount, share.rate,
                        share.taxAmount, share.taxable, line.taxCode});
    return rows;
}

std::vector<store::TaxShare> taxSharesOf(const std::vector<TaxRow>& rows) {
    std::vector<store::TaxShare> shares;
    for (const auto& row : rows)
        shares.push_back({row.authority, row.taxableBase, row.rate, row.taxAmount, row.taxable});
    return shares;
}

}  // namespace keltro::invoice
