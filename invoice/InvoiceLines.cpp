#include "invoice/InvoiceLines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::invoice {

using services::FormatAmount;
using services::roundMoney;

namespace {

std::string amountText(const std::optional<double>& amount) {
    return amount ? FormatAmount(*amount) : std::string();
}

const store::ArLine* storedLine(const LineWriting& writing, const std::string& payItem) {
    for (const auto& line : writing.stored)
        if (line.payItem == payItem) return &line;
    return nullptr;
}

// The open amount of a line; nothing after the paid-part message.
std::optional<double> openAmount(services::Ui& ui, const EntryLine& entry, double gross,
                                 const store::ArLine* stored) {
    if (!stored) return gross;
    const double paidPart = roundMoney(stored->grossAmount - stored->openAmount);
    if (gross != stored->grossAmount && gross < paidPart) {
        ui.message("pay item " + entry.payItem +
                   " : Cannot change gross amount to be less than paid amount.");
        return std::nullopt;
    }
    return roundMoney(gross - paidPart);
}

void stampLine(store::ArLine& line, const LineWriting& writing, bool isNew) {
    const LineStamp& s = writing.stamp;
    if (isNew && writing.note) {
        line.created.date = s.today;
        line.user = s.user;
    } else if (isNew) {
        line.computerId = s.computer;
        line.created = {s.user, s.today, s.time};
    }
    if (writing.edit) {
        line.userUpdated = s.user;
        line.modified = {s.today, s.time};
    }
    if (writing.note) {
        line.source = kSourceInvoice;
        line.sourceDocno = writing.sourceDocno;
        line.sourceForm = kSourceForm;
        line.dueDateDb = writing.dueDate;
    }
}

std::optional<store::ArLine> storeLine(services::Ui& ui, const EntryLine& entry,
                                       const TaxTable& taxes, const LineWriting& writing) {
    const store::ArLine* stored = writing.edit ? storedLine(writing, entry.payItem) : nullptr;
    store::ArLine line = stored ? *stored : store::ArLine{};
    line.payItem = entry.payItem;
    line.description = entry.description;
    line.grossAmount = roundMoney(entry.grossAmount.value_or(0));
    const auto open = openAmount(ui, entry, line.grossAmount, stored);
    if (!open) return std::nullopt;
    line.openAmount = *open;
    line.taxableAmount = roundMoney(entry.taxableAmount.value_or(0));
    line.taxAmount = roundMoney(entry.taxAmount.value_or(0));
    line.taxCode = entry.taxCode;
    const auto rows = taxes.rowsOf(entry.payItem);
    if (line.grossAmount > 0 && rows.empty()) {
        ui.message("cannot find tax element for pay item " + entry.payItem);
        return std::nullopt;
    }
    line.taxes = taxSharesOf(rows);
    stampLine(line, writing, stored == nullptr);
    if (entry.salesAccno.empty()) {
        ui.message("please specify sales account");
        return std::nullopt;
    }
    line.salesAccno = entry.salesAccno;
    line.arAccno = writing.receivableAccno;
    return line;
}

}  // namespace

bool isNumericText(const std::string& text) {
    std::string digits;
    for (char c : trimmedText(text))
        if (c != ',') digits += c;
    if (digits.empty()) return false;
    char* end = nullptr;
    const double value = std::strtod(digits.c_str(), &end);
    return end == digits.c_str() + digits.size() && std::isfinite(value);
}

std::string cellText(const framework::GridRow& row, const std::string& caption) {
    const auto it = row.find(caption);
    return it == row.end() ? std::string() : it->second;
}

std::optional<double> amountOfCell(const framework::GridRow& row, const std::string& caption) {
    const std::string text = cellText(row, caption);
    if (!isNumericText(text)) return std::nullopt;
    return roundMoney(services::ParseAmountText(trimmedText(text)));
}

std::vector<EntryLine> entryLines(const std::vector<framework::GridRow>& rows) {
    std::vector<EntryLine> lines;
    for (const auto& row : rows) {
        std::string payItem = trimmedText(cellText(row, column::kPayItem));
        if (payItem.empty()) continue;
        lines.push_back({std::move(payItem), cellText(row, column::kDescription),
                         amountOfCell(row, column::kGross), amountOfCell(row, column::kTaxable),
                         amountOfCell(row, column::kTax),
                         trimmedText(cellText(row, column::kTaxCode)),
                         trimmedText(cellText(row, column::kSalesAccount))});
    }
    return lines;
}

Totals totalsOf(const std::vector<EntryLine>& lines) {
    Totals totals;
    for (const auto& line : lines) {
        totals.taxable = roundMoney(totals.taxable + line.taxableAmount.value_or(0));
        totals.tax = roundMoney(totals.tax + line.taxAmount.value_or(0));
    }
    totals.total = roundMoney(totals.taxable + totals.tax);
    return totals;
}

std::string nextPayItem(const std::vector<framework::GridRow>& rows) {
    double highest = 0;
    for (const auto& row : rows) {
        const std::string payItem = trimmedText(cellText(row, column::kPayItem));
        if (isNumericText(payItem))
            highest = std::max(highest, std::floor(std::atof(payItem.c_str())));
    }
    return std::to_string(static_cast<long long>(highest) + 1);
}

framework::GridRow gridRowOf(const store::ArLine& line, const std::string& accountName,
                             const std::string& dateFormat) {
    using namespace column;
    const std::string creator = line.created.user.empty() ? line.user : line.created.user;
    return {{kPayItem, line.payItem},
            {kDescription, line.description},
            {kGross, FormatAmount(line.grossAmount)},
            {kOpen, FormatAmount(line.openAmount)},
            {kTaxable, FormatAmount(line.taxableAmount)},
            {kTax, FormatAmount(line.taxAmount)},
            {kTaxCode, line.taxCode},
            {kCurrency, line.copies.currency},
            {kPaid, line.status},
            {kDiscountTaken, amountText(line.discountTaken)},
            {kWriteOff, amountText(line.writeoff)},
            {kSourceFormColumn, line.sourceForm},
            {kUserCreated, creator},
            {kSalesAccount, line.salesAccno},
            {kAccountName, accountName},
            {kCreatedDate,
             line.created.date ? services::FormatUserDate(*line.created.date, dateFormat) : ""},
            {kCreatedTime, line.created.time},
            {kComputerId, line.computerId}};
}

std::optional<std::vector<store::ArLine>> storeLines(services::Ui& ui,
                                                     const std::vector<EntryLine>& lines,
                                                     const TaxTable& taxes,
                                                     const LineWriting& writing) {
    std::vector<store::ArLine> stored;
    for (const auto& entry : lines) {
        auto line = storeLine(ui, entry, taxes, writing);
        if (!line) return std::nullopt;
        stored.push_back(std::move(*line));
    }
    return stored;
}

}  // namespace keltro::invoice
