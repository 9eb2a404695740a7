#include "matching/MatchingGrid.h"

#include <utility>

#include "framework/FieldText.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/ReferenceData.h"

namespace keltro::matching {

using framework::GridRow;
using framework::trimmedText;
using receipts::cellOf;
using receipts::numberOf;
using services::FormatAmount;
using services::roundMoney;

namespace {

double amountOf(const GridRow& row, const std::string& caption) {
    return roundMoney(numberOf(cellOf(row, caption)).value_or(0));
}

bool isAmountColumn(const std::string& caption) {
    return caption == column::kApplied || caption == column::kDiscountTaken ||
           caption == column::kWriteOff;
}

// round(applied × receipt rate, 2) for a row with a currency and a receipt rate, else the
// applied amount; empty without an applied amount.
std::string baseAmountText(const GridRow& row) {
    const auto applied = numberOf(cellOf(row, column::kApplied));
    if (!applied) return {};
    const auto rate = numberOf(cellOf(row, column::kReceiptRate));
    const bool converted = !cellOf(row, column::kCurrency).empty() && rate;
    return FormatAmount(roundMoney(converted ? *applied * *rate : *applied));
}

// The balance left; an applied amount that would carry the item past zero is cut back to
// what the item has left, so that no open amount changes its sign.
void refreshRow(GridRow& row) {
    const double open = amountOf(row, column::kOpen);
    const double available = roundMoney(open - amountOf(row, column::kDiscountTaken) -
                                        amountOf(row, column::kWriteOff));
    double balance = roundMoney(available - amountOf(row, column::kApplied));
    if (numberOf(cellOf(row, column::kApplied)) && balance * open < 0) {
        row[column::kApplied] = FormatAmount(available);
        balance = 0;
    }
    row[column::kBalance] = FormatAmount(balance);
    row[column::kBaseAmount] = baseAmountText(row);
}

// Applied, discount and write-off cells hold numbers (empty counts as 0).
std::optional<std::string> amountRefusal(const GridRow& row) {
    if (const std::string applied = trimmedText(cellOf(row, column::kApplied));
        !applied.empty() && !numberOf(applied))
        return ": applied amount is invalid";
    const auto numeric = [&](const char* caption) {
        const std::string text = trimmedText(cellOf(row, caption));
        return text.empty() || numberOf(text).has_value();
    };
    if (!numeric(column::kDiscountTaken)) return ": discount taken is invalid";
    if (amountOf(row, column::kDiscountTaken) > 0 &&
        receipts::accountOfCell(row, column::kDiscountAccount).empty())
        return ": please specify discount account";
    if (!numeric(column::kWriteOff)) return ": write off is invalid";
    if (amountOf(row, column::kWriteOff) > 0 &&
        receipts::accountOfCell(row, column::kWriteOffAccount).empty())
        return ": please specify write off account";
    return std::nullopt;
}

}  // namespace

// ----- offering ------------------------------------------------------------------------------

ReceiptRates::ReceiptRates(db::Database& db, std::string baseCurrency,
                           std::optional<db::Date> rateDate)
    : m_db(db), m_base(std::move(baseCurrency)), m_rateDate(rateDate) {}

std::optional<double> ReceiptRates::of(const std::string& currency) {
    if (currency.empty() || currency == m_base) return std::nullopt;
    const auto known = m_rates.find(currency);
    if (known != m_rates.end()) return known->second;
    const auto latest = store::latestExchangeRate(m_db, currency, m_rateDate);
    return m_rates[currency] = latest ? std::optional(latest->rate) : std::nullopt;
}

GridRow offeredRow(const receipts::OpenItem& item, const receipts::OfferContext& context,
                   const std::optional<double>& receiptRate) {
    GridRow row = receipts::offeredRow(item, context);
    row.erase(column::kDeposit);
    row.erase(column::kSalesInvoice);
    row[column::kCheckNo] = item.checkNo;
    row[column::kReceiptRate] = receipts::rateText(receiptRate);
    return row;
}

bool quickFill(GridRow& row) {
    if (!trimmedText(cellOf(row, column::kApplied)).empty()) return false;
    const double discount = amountOf(row, column::kDiscountAvailable);
    row[column::kApplied] = FormatAmount(roundMoney(amountOf(row, column::kOpen) - discount));
    row[column::kDiscountTaken] = FormatAmount(discount);
    refreshRow(row);
    return true;
}

void cellEdited(GridRow& row, const std::string& caption) {
    if (isAmountColumn(caption))
        if (const auto amount = numberOf(cellOf(row, caption)))
            row[caption] = FormatAmount(roundMoney(*amount));
    if (caption == column::kReceiptRate) row[caption] = trimmedText(cellOf(row, caption));
    refreshRow(row);
}

// ----- totals ----------------------------------------------------------------------------------

MatchingTotals totalsOf(const std::vector<GridRow>& rows, const std::vector<std::size_t>& indexes,
                        const std::string& baseCurrency) {
    MatchingTotals totals;
    bool anyDebit = false;
    for (const std::size_t index : indexes) {
        const GridRow& row = rows[index];
        if (trimmedText(cellOf(row, column::kInvoiceNo)).empty() ||
            trimmedText(cellOf(row, column::kApplied)).empty())
            continue;
        const double applied = amountOf(row, column::kApplied);
        const std::string currency = cellOf(row, column::kCurrency);
        const std::string baseCell = trimmedText(cellOf(row, column::kBaseAmount));
        const double base = baseCell.empty() ? applied : amountOf(row, column::kBaseAmount);
        if (applied > 0) {
            totals.debit = roundMoney(totals.debit + applied);
            totals.debitBase = roundMoney(totals.debitBase + base);
            if (anyDebit && currency != totals.debitCurrency) totals.mixedDebitCurrencies = true;
            if (!anyDebit) totals.debitCurrency = currency;
            anyDebit = true;
            continue;
        }
        totals.creditBase =
            roundMoney(totals.creditBase + (currency == baseCurrency ? applied : base));
    }
    if (totals.mixedDebitCurrencies) totals.debitCurrency.clear();
    return totals;
}

// ----- what a save reads -----------------------------------------------------------------------

std::optional<std::string> lineRefusal(const GridRow& row) {
    const std::string invoiceNo = trimmedText(cellOf(row, column::kInvoiceNo));
    if (invoiceNo.empty()) return std::nullopt;
    const auto refusal = amountRefusal(row);
    if (!refusal) return std::nullopt;
    return invoiceNo + *refusal;
}

double MatchingLine::balance() const {
    return roundMoney(amounts.openAmount - amounts.applied - amounts.discountTaken -
                      amounts.writeoff);
}

std::vector<MatchingLine> matchingLines(const std::vector<GridRow>& rows,
                                        const std::vector<std::size_t>& indexes) {
    const auto amounts = receipts::applicationLines(rows, indexes);
    std::vector<MatchingLine> lines;
    lines.reserve(amounts.size());
    for (std::size_t i = 0; i < amounts.size(); ++i) {
        const GridRow& row = rows[indexes[i]];
        lines.push_back({amounts[i], cellOf(row, column::kDocumentType),
                         trimmedText(cellOf(row, column::kCheckNo))});
    }
    return lines;
}

std::string matchingDoctype(const std::string& documentType) {
    if (documentType == "Invoice") return "inv";
    if (documentType == "Credit Note") return "cn";
    if (documentType == "Debit Note") return "dn";
    if (documentType == "Unapplied cash") return "ua";
    if (documentType == "Prepayment") return "rpp";
    return documentType;
}

bool recordsCheques(const MatchingLine& line) {
    return line.documentType == "Invoice" || line.documentType == "Credit Note" ||
           line.documentType == "Debit Note";
}

std::string chequesUsed(const std::vector<MatchingLine>& lines) {
    std::string joined;
    for (const auto& line : lines) {
        if (line.amounts.applied == 0 || line.checkNo.empty()) continue;
        if (!joined.empty()) joined += ",";
        joined += line.checkNo;
    }
    return joined;
}

GridRow storedRow(const db::Row& line, const std::string& dateFormat) {
    const auto amount = [&](const char* name) { return FormatAmount(line[name].numberOr(0)); };
    const bool foreign = !line["receipt_exchange_rate"].isNull();
    const double applied = line["applied_amount"].numberOr(0);
    const double rate = line["receipt_exchange_rate"].numberOr(1);
    return {{column::kPayItem, line["pay_item"].textOr()},
            {column::kInvoiceNo, line["invoice_no"].textOr()},
            {column::kDocumentType,
             receipts::documentTypeLabel(line["matching_doctype"].textOr())},
            {column::kInvoiceDate, framework::dateText(line["invoice_date"].date(), dateFormat)},
            {column::kCheckNo, line["check_no"].textOr()},
            {column::kGross, amount("gross_amount")},
            {column::kOpen, amount("open_amount")},
            {column::kApplied, amount("applied_amount")},
            {column::kBalance, amount("invoice_balance")},
            {column::kDiscountAvailable, amount("discount_available")},
            {column::kDiscountAccount, line["discount_accno"].textOr()},
            {column::kWriteOffAccount, line["writeoff_accno"].textOr()},
            {column::kWriteOff, amount("writeoff")},
            {column::kDiscountTaken, amount("discount_taken")},
            {column::kCurrency, line["Currency"].textOr()},
            {column::kInvoiceRate, receipts::rateText(line["invoice_exchange_rate"].number())},
            {column::kReceiptRate, receipts::rateText(line["receipt_exchange_rate"].number())},
            {column::kBaseAmount, FormatAmount(roundMoney(foreign ? applied * rate : applied))},
            {column::kComputerId, line["computer_id"].textOr()}};
}

}  // namespace keltro::matching
