#include "receipts/ReceiptApplication.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::receipts {

using framework::GridRow;
using framework::trimmedText;
using services::FormatAmount;
using services::roundMoney;

namespace {

bool isAmountColumn(const std::string& caption) {
    return caption == column::kApplied || caption == column::kDiscountTaken ||
           caption == column::kWriteOff;
}

bool isNumberColumn(const std::string& caption) {
    return isAmountColumn(caption) || caption == column::kReceiptRate;
}

double amountOf(const GridRow& row, const std::string& caption) {
    return roundMoney(numberOf(cellOf(row, caption)).value_or(0));
}

bool isBaseRow(const GridRow& row, const std::string& baseCurrency) {
    return cellOf(row, column::kCurrency) == baseCurrency;
}

bool startsWithUa(const std::string& docno) {
    return docno.size() >= 2 && std::tolower(static_cast<unsigned char>(docno[0])) == 'u' &&
           std::tolower(static_cast<unsigned char>(docno[1])) == 'a';
}

// A typed amount shows as "#,##0.00"; other text stays as it is (it was refused before).
void formatAmountCell(GridRow& row, const std::string& caption) {
    if (const auto amount = numberOf(cellOf(row, caption)))
        row[caption] = FormatAmount(roundMoney(*amount));
}

// Discount or write-off typed: the rest of the open amount is applied; either cleared:
// nothing is.
void discountOrWriteoffEdited(GridRow& row, const std::string& caption) {
    if (trimmedText(cellOf(row, caption)).empty()) {
        row[column::kApplied] = FormatAmount(0);
        return;
    }
    formatAmountCell(row, caption);
    row[column::kApplied] = FormatAmount(roundMoney(amountOf(row, column::kOpen) -
                                                    amountOf(row, column::kDiscountTaken) -
                                                    amountOf(row, column::kWriteOff)));
}

std::vector<std::size_t> everyIndex(const std::vector<GridRow>& rows) {
    std::vector<std::size_t> indexes(rows.size());
    std::iota(indexes.begin(), indexes.end(), std::size_t{0});
    return indexes;
}

ApplicationLine lineOf(const GridRow& row) {
    ApplicationLine line;
    line.invoiceNo = trimmedText(cellOf(row, column::kInvoiceNo));
    line.payItem = trimmedText(cellOf(row, column::kPayItem));
    line.invoiceDateText = trimmedText(cellOf(row, column::kInvoiceDate));
    line.grossAmount = amountOf(row, column::kGross);
    line.openAmount = amountOf(row, column::kOpen);
    line.discountAvailable = amountOf(row, column::kDiscountAvailable);
    line.applied = amountOf(row, column::kApplied);
    line.discountTaken = amountOf(row, column::kDiscountTaken);
    line.writeoff = amountOf(row, column::kWriteOff);
    line.currency = cellOf(row, column::kCurrency);
    line.invoiceRate = numberOf(cellOf(row, column::kInvoiceRate));
    line.receiptRate = numberOf(cellOf(row, column::kReceiptRate));
    line.baseAmount = numberOf(cellOf(row, column::kBaseAmount));
    line.discountAccno = accountOfCell(row, column::kDiscountAccount);
    line.writeoffAccno = accountOfCell(row, column::kWriteOffAccount);
    line.salesInvoice = cellOf(row, column::kSalesInvoice) == "1";
    line.remark = cellOf(row, column::kRemark);
    line.computerId = cellOf(row, column::kComputerId);
    return line;
}

}  // namespace

// ----- text -------------------------------------------------------------------------------

std::optional<double> numberOf(const std::string& text) {
    std::string digits = trimmedText(text);
    digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
    if (digits.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(digits.c_str(), &end);
    if (end != digits.c_str() + digits.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string rateText(const std::optional<double>& rate) {
    return rate ? db::Value(*rate).textOr() : std::string();
}

std::string cellOf(const GridRow& row, const std::string& caption) {
    const auto found = row.find(caption);
    return found == row.end() ? std::string() : found->second;
}

std::string accountOfCell(const GridRow& row, const std::string& caption) {
    return trimmedText(framework::ItemValue(cellOf(row, caption)));
}

// ----- offering ---------------------------------------------------------------------------

std::string documentTypeLabel(const std::string& doctype) {
    if (doctype == "ar" || doctype == "inv") return "Invoice";
    if (doctype == "ua") return "Unapplied cash";
    if (doctype == "cn") return "Credit Note";
    if (doctype == "dn") return "Debit Note";
    if (doctype == "rpp") return "Prepayment";
    return doctype;
}

double discountAvailable(const OpenItem& item, const db::Date& today) {
    if (!item.earlyDiscount || !item.discountDate || *item.earlyDiscount <= 0 ||
        today > *item.discountDate)
        return 0;
    return roundMoney(item.grossAmount * *item.earlyDiscount / 100);
}

GridRow offeredRow(const OpenItem& item, const OfferContext& context) {
    const bool foreign = item.currency != context.baseCurrency;
    return {{column::kDocumentType, documentTypeLabel(item.doctype)},
            {column::kPayItem, item.payItem},
            {column::kInvoiceNo, item.docno},
            {column::kInvoiceDate, framework::dateText(item.invoiceDate, context.dateFormat)},
            {column::kGross, FormatAmount(item.grossAmount)},
            {column::kOpen, FormatAmount(item.openAmount)},
            {column::kDiscountAvailable, FormatAmount(discountAvailable(item, context.today))},
            {column::kCurrency, item.currency},
            {column::kInvoiceRate, foreign ? rateText(item.exchangeRate) : std::string()},
            {column::kDeposit, item.doctype == "ua" || startsWithUa(item.docno) ? "1" : "0"},
            {column::kSalesInvoice, item.sourceForm == kSalesInvoiceForm ? "1" : "0"},
            {column::kComputerId, context.computerId}};
}

std::vector<OpenItem> withDocumentFirst(std::vector<OpenItem> items, const std::string& docno) {
    std::stable_partition(items.begin(), items.end(),
                          [&](const OpenItem& item) { return item.docno == docno; });
    return items;
}

std::optional<std::string> commonCurrency(const std::vector<OpenItem>& items) {
    if (items.empty()) return std::nullopt;
    for (const auto& item : items)
        if (item.currency != items.front().currency) return std::nullopt;
    return items.front().currency;
}

// ----- editing ------------------------------------------------------------------------------

CellVerdict checkCell(const GridRow& row, const std::string& caption, const std::string& text) {
    if (!isNumberColumn(caption) || trimmedText(text).empty()) return CellVerdict::Accept;
    const auto value = numberOf(text);
    if (!value) return CellVerdict::NotNumeric;
    if (caption == column::kApplied && *value * amountOf(row, column::kGross) < 0)
        return CellVerdict::WrongSign;
    return CellVerdict::Accept;
}

std::string refusalMessage(CellVerdict verdict) {
    switch (verdict) {
        case CellVerdict::NotNumeric: return "please input numeric data";
        case CellVerdict::WrongSign: return "applied amount is invalid.";
        case CellVerdict::Accept: break;
    }
    return {};
}

void cellEdited(GridRow& row, const std::string& caption, const std::string& baseCurrency) {
    if (caption == column::kDiscountTaken || caption == column::kWriteOff)
        discountOrWriteoffEdited(row, caption);
    if (caption == column::kApplied) formatAmountCell(row, caption);
    if (caption == column::kReceiptRate) row[caption] = trimmedText(cellOf(row, caption));
    if (isNumberColumn(caption)) settleRow(row, baseCurrency);
}

void settleRow(GridRow& row, const std::string& baseCurrency) {
    const double gross = amountOf(row, column::kGross);
    const double available =
        roundMoney(amountOf(row, column::kOpen) - amountOf(row, column::kDiscountTaken) -
                   amountOf(row, column::kWriteOff));
    double net = roundMoney(available - amountOf(row, column::kApplied));
    if ((gross >= 0 && net < 0) || (gross < 0 && net > 0)) {
        row[column::kApplied] = FormatAmount(available);
        net = 0;
    }
    row[column::kNetBalance] = FormatAmount(net);
    row[column::kBaseAmount] = baseAmountText(row, baseCurrency);
}

bool quickApply(GridRow& row, const QuickApplyContext& context) {
    const auto open = numberOf(cellOf(row, column::kOpen));
    if (!trimmedText(cellOf(row, column::kApplied)).empty() || !open) return false;
    const double discount = amountOf(row, column::kDiscountAvailable);
    row[column::kApplied] = FormatAmount(roundMoney(*open - discount));
    row[column::kDiscountTaken] = FormatAmount(discount);
    row[column::kNetBalance] = FormatAmount(0);
    const std::string currency = cellOf(row, column::kCurrency);
    if (currency != context.baseCurrency &&
        trimmedText(cellOf(row, column::kReceiptRate)).empty() &&
        currency == context.receiptCurrency)
        row[column::kReceiptRate] = trimmedText(context.receiptRate);
    row[column::kBaseAmount] = baseAmountText(row, context.baseCurrency);
    return true;
}

std::string baseAmountText(const GridRow& row, const std::string& baseCurrency) {
    const auto applied = numberOf(cellOf(row, column::kApplied));
    if (!applied) return {};
    if (isBaseRow(row, baseCurrency)) return FormatAmount(roundMoney(*applied));
    const auto rate = numberOf(cellOf(row, column::kReceiptRate));
    return rate ? FormatAmount(roundMoney(*applied * *rate)) : std::string();
}

// ----- totals -------------------------------------------------------------------------------

ApplicationTotals totalsOf(const std::vector<GridRow>& rows) {
    return totalsOf(rows, everyIndex(rows));
}

ApplicationTotals totalsOf(const std::vector<GridRow>& rows,
                           const std::vector<std::size_t>& indexes) {
    ApplicationTotals totals;
    for (const std::size_t index : indexes) {
        const GridRow& row = rows[index];
        if (trimmedText(cellOf(row, column::kInvoiceNo)).empty()) continue;
        const double applied = amountOf(row, column::kApplied);
        totals.applied = roundMoney(totals.applied + applied);
        totals.base = roundMoney(totals.base + amountOf(row, column::kBaseAmount));
        if (totals.currency.empty() && applied != 0)
            totals.currency = cellOf(row, column::kCurrency);
    }
    return totals;
}

std::vector<std::size_t> RowsWithAmounts::of(const std::vector<GridRow>& rows) const {
    if (m_everyRow) return everyIndex(rows);
    std::vector<std::size_t> indexes;
    for (const std::size_t row : m_rows)
        if (row < rows.size()) indexes.push_back(row);
    return indexes;
}

// ----- what a save reads ----------------------------------------------------------------------

bool ApplicationLine::isUntouched() const {
    return applied == 0 && discountTaken == 0 && writeoff == 0;
}

double ApplicationLine::settled() const { return roundMoney(applied + discountTaken + writeoff); }

std::vector<ApplicationLine> applicationLines(const std::vector<GridRow>& rows) {
    return applicationLines(rows, everyIndex(rows));
}

std::vector<ApplicationLine> applicationLines(const std::vector<GridRow>& rows,
                                              const std::vector<std::size_t>& indexes) {
    std::vector<ApplicationLine> lines;
    std::size_t withInvoiceNo = 0;  // the rows before this one have an invoice no
    for (const std::size_t index : indexes) {
        for (; withInvoiceNo <= index; ++withInvoiceNo)
            if (trimmedText(cellOf(rows[withInvoiceNo], column::kInvoiceNo)).empty()) return lines;
        lines.push_back(lineOf(rows[index]));
    }
    return lines;
}

}  // namespace keltro::receipts
