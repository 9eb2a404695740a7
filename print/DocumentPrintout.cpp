#include "print/DocumentPrintout.h"

#include <algorithm>

#include "framework/FieldText.h"
#include "services/Money.h"

namespace keltro::print {

namespace {

constexpr int kTaxAuthorities = 5;

// Each authority's tax, in the order the authorities first appear.
void addAuthorityTaxes(const db::Row& row, std::vector<AuthorityTax>& taxes) {
    for (int i = 1; i <= kTaxAuthorities; ++i) {
        const std::string authorityColumn = "tax_authority" + std::to_string(i);
        const std::string amountColumn = "tax_amount" + std::to_string(i);
        if (!row.has(authorityColumn) || !row.has(amountColumn)) continue;
        const std::string authority = framework::trimmedText(row[authorityColumn].textOr());
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
    static_cast<PrintoutHeading&>(p) = headingOf(rows, title, companyName);
    if (rows.empty()) return p;
    const db::Row& header = rows.front();
    p.date = columnText(header, "invoice_date");
    p.dueDate = columnText(header, "due_date");
    p.billTo = columnText(header, "bill_to_address");
    p.shipTo = columnText(header, "ship_to_address");
    p.currency = columnText(header, "currency");
    p.paymentTerm = columnText(header, "payment_term");
    p.customerPo = columnText(header, "customer_po");
    p.orderNo = columnText(header, "order_no");
    p.applyTo = columnText(header, "apply_to_docno");
    p.remark = columnText(header, "remark");
    for (const db::Row& row : rows) {
        // A header without lines (an outer join) prints no line.
        if (row.has("pay_item") && row["pay_item"].isNull()) continue;
        p.lines.push_back({columnText(row, "pay_item"), columnText(row, "description"),
                           columnText(row, "tax_code"), columnNumber(row, "taxable_amount"),
                           columnNumber(row, "tax_amount"), columnNumber(row, "gross_amount")});
        addAuthorityTaxes(row, p.taxes);
    }
    for (auto& tax : p.taxes) tax.amount = services::roundMoney(tax.amount);
    return p;
}

}  // namespace keltro::print
