#include "print/DocumentPrintout.h"

#include <algorithm>

#include "services/Money.h"

namespace keltro::print {

namespace {

constexpr int kTaxAuthorities = 5;

std::string textOf(const db::Row& row, const char* column) {
    return row.has(column) ? row[column].textOr() : std::string();
}

double numberOf(const db::Row& row, const char* column) {
    return row.has(column) ? row[column].numberOr() : 0.0;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// Each authority's tax, in the order the authorities first appear.
void addAuthorityTaxes(const db::Row& row, std::vector<AuthorityTax>& taxes) {
    for (int i = 1; i <= kTaxAuthorities; ++i) {
        const std::string authorityColumn = "tax_authority" + std::to_string(i);
        const std::string amountColumn = "tax_amount" + std::to_string(i);
        if (!row.has(authorityColumn) || !row.has(amountColumn)) continue;
        const std::string authority = trimmed(row[authorityColumn].textOr());
        if (authority.empty()) continue;
        const double amount = row[amountColumn].numberOr();
        auto it = std::find_if(taxes.begin(), taxes.end(),
                               [&](const AuthorityTax& t) { return t.authority == authority; });
        if (it == taxes.end())
            taxes.push_back({authority, amount});
        else
            it->amount += amount;
    }
}

}  // namespace

ReportTitle parseReportTitle(const std::string& argument) {
    ReportTitle parts;
    std::string* fields[] = {&parts.title, &parts.number, &parts.flag};
    std::size_t start = 0;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        // The flag takes whatever follows the second comma.
        const auto comma = i + 1 < std::size(fields) ? argument.find(',', start) : std::string::npos;
        *fields[i] = trimmed(argument.substr(start, comma == std::string::npos ? comma : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts;
}

double DocumentPrintout::taxableTotal() const {
    double sum = 0;
    for (const auto& line : lines) sum += line.taxableAmount;
    return services::roundMoney(sum);
}

double DocumentPrintout::taxTotal() const {
    double sum = 0;
    for (const auto& line : lines) sum += line.taxAmount;
    return services::roundMoney(sum);
}

double DocumentPrintout::total() const {
    double sum = 0;
    for (const auto& line : lines) sum += line.grossAmount;
    return services::roundMoney(sum);
}

bool holdsDocumentLines(const db::Rows& rows) {
    if (rows.empty()) return false;
    const db::Row& row = rows.front();
    return row.has("pay_item") && row.has("gross_amount") && row.has("taxable_amount") &&
           row.has("tax_amount");
}

DocumentPrintout printoutFromRows(const db::Rows& rows, const ReportTitle& title,
                                  const std::string& companyName) {
    DocumentPrintout p;
    p.companyName = companyName;
    p.title = title.title;
    p.number = title.number;
    if (rows.empty()) return p;
    const db::Row& header = rows.front();
    if (const std::string docno = trimmed(textOf(header, "docno")); !docno.empty()) p.number = docno;
    p.date = textOf(header, "invoice_date");
    p.dueDate = textOf(header, "due_date");
    p.customerNo = textOf(header, "customer_no");
    p.customerName = textOf(header, "customer_name");
    p.billTo = textOf(header, "bill_to_address");
    p.shipTo = textOf(header, "ship_to_address");
    p.currency = textOf(header, "currency");
    p.paymentTerm = textOf(header, "payment_term");
    p.customerPo = textOf(header, "customer_po");
    p.orderNo = textOf(header, "order_no");
    p.applyTo = textOf(header, "apply_to_docno");
    p.remark = textOf(header, "remark");
    for (const db::Row& row : rows) {
        // A header without lines (an outer join) prints no line.
        if (row.has("pay_item") && row["pay_item"].isNull()) continue;
        p.lines.push_back({textOf(row, "pay_item"), textOf(row, "description"),
                           textOf(row, "tax_code"), numberOf(row, "taxable_amount"),
                           numberOf(row, "tax_amount"), numberOf(row, "gross_amount")});
        addAuthorityTaxes(row, p.taxes);
    }
    for (auto& tax : p.taxes) tax.amount = services::roundMoney(tax.amount);
    return p;
}

}  // namespace keltro::print
