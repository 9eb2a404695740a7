#include "invoice/InvoiceLineGrid.h"

#include <algorithm>

#include "invoice/InvoiceLines.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/TaxCodes.h"

namespace keltro::invoice {

using services::FormatAmount;

namespace {

bool isAmountColumn(const std::string& caption) {
    return caption == column::kGross || caption == column::kOpen ||
           caption == column::kTaxable || caption == column::kTax;
}

std::string payItemOf(const framework::GridRow& row) {
    return trimmedText(cellText(row, column::kPayItem));
}

}  // namespace

bool LineGridEditor::refuse(const std::string& text) {
    m_ui.message(text);
    return false;
}

bool LineGridEditor::acceptLineCell(std::size_t row, const std::string& caption,
                                    const std::string& text) {
    m_state.currentRow = row;
    if (caption == column::kPayItem)
        m_state.payItemBefore = row < m_lines.rows.size() ? payItemOf(m_lines.rows[row]) : "";
    const std::string typed = trimmedText(text);
    if (typed.empty()) return true;
    if (isAmountColumn(caption) && !isNumericText(typed))
        return refuse("please input numeric data");
    if (caption == column::kTaxCode && !store::findTaxCode(m_db, typed))
        return refuse("Invalid tax code");
    if (caption == column::kSalesAccount && !store::findAccount(m_db, typed))
        return refuse("Invalid sales account");
    if (caption == column::kPayItem) {
        const auto other = rowOfPayItem(typed);
        if (other && *other != row)
            return refuse("Pay item " + typed + " is already on this document");
    }
    return true;
}

bool LineGridEditor::acceptTaxCell(std::size_t row, const std::string& caption,
                                   const std::string& text) {
    if (row >= m_taxes.rows().size()) return false;
    if (caption != "rate" && caption != "tax amount") return true;
    if (isNumericText(text) && services::ParseAmountText(trimmedText(text)) >= 0) return true;
    return refuse("please input numeric data");
}

void LineGridEditor::lineCellChanged(std::size_t row, const std::string& caption) {
    auto& cells = m_lines.rows.at(row);
    const std::string payItem = payItemOf(cells);
    if (caption == column::kPayItem) {
        m_taxes.renameLine(m_state.payItemBefore, payItem);
        cells[column::kPayItem] = payItem;
    } else if (payItem.empty()) {
        cells[column::kPayItem] = nextPayItem(m_lines.rows);
    }
    if (caption == column::kGross) recomputeLineTax(row, TaxEntry::Gross);
    if (caption == column::kTaxable) recomputeLineTax(row, TaxEntry::Taxable);
    if (caption == column::kTaxCode) recomputeAfterTaxCode(row);
    if (caption == column::kSalesAccount) salesAccountChanged(row);
}

// A typed amount gives the line's tax per authority and its other amount.
void LineGridEditor::recomputeLineTax(std::size_t row, TaxEntry entry) {
    auto& cells = m_lines.rows.at(row);
    const auto amount =
        amountOfCell(cells, entry == TaxEntry::Gross ? column::kGross : column::kTaxable);
    if (!amount) return;
    std::string code = trimmedText(cellText(cells, column::kTaxCode));
    if (code.empty()) {
        const auto fallback =
            store::requireDefaultTaxCode(m_db, m_ui, store::DefaultTaxScope::AnyCode);
        if (!fallback) return;
        code = fallback->code;
    }
    const std::string payItem = payItemOf(cells);
    const LineTax tax = computeLineTax(payItem, code, *amount, entry,
                                       store::salesTaxAuthorities(m_db, code));
    m_taxes.replaceLine(payItem, tax.rows);
    cells[column::kTaxCode] = code;
    cells[column::kGross] = FormatAmount(tax.grossAmount);
    cells[column::kTaxable] = FormatAmount(tax.taxableAmount);
    cells[column::kTax] = FormatAmount(tax.tax);
}

void LineGridEditor::recomputeAfterTaxCode(std::size_t row) {
    const auto& cells = m_lines.rows.at(row);
    if (amountOfCell(cells, column::kTaxable)) return recomputeLineTax(row, TaxEntry::Taxable);
    if (amountOfCell(cells, column::kGross)) recomputeLineTax(row, TaxEntry::Gross);
}

void LineGridEditor::salesAccountChanged(std::size_t row) {
    auto& cells = m_lines.rows.at(row);
    cells[column::kSalesAccount] = trimmedText(cellText(cells, column::kSalesAccount));
    cells[column::kAccountName] = accountName(cells[column::kSalesAccount]);
}

std::string LineGridEditor::accountName(const std::string& accno) const {
    if (accno.empty()) return {};
    for (const auto& account : m_salesAccounts)
        if (account.accno == accno) return account.accname;
    const auto account = store::findAccount(m_db, accno);
    return account ? account->accname : "";
}

std::optional<std::size_t> LineGridEditor::rowOfPayItem(const std::string& payItem) const {
    for (std::size_t r = 0; r < m_lines.rows.size(); ++r)
        if (payItemOf(m_lines.rows[r]) == payItem) return r;
    return std::nullopt;
}

void LineGridEditor::taxCellChanged(std::size_t row, const std::string& caption,
                                    const std::string& text) {
    const double typed = services::ParseAmountText(trimmedText(text));
    lineTaxEdited(caption == "rate" ? m_taxes.setRate(row, typed)
                                    : m_taxes.setTaxAmount(row, typed));
}

void LineGridEditor::lineTaxEdited(const std::string& payItem) {
    const auto row = rowOfPayItem(payItem);
    if (!row) return;
    auto& cells = m_lines.rows.at(*row);
    const double tax = m_taxes.lineTax(payItem);
    const double taxable = amountOfCell(cells, column::kTaxable).value_or(0);
    cells[column::kTax] = FormatAmount(tax);
    cells[column::kGross] = FormatAmount(services::roundMoney(taxable + tax));
}

void LineGridEditor::insertLine() {
    m_lines.rows.push_back({{column::kPayItem, nextPayItem(m_lines.rows)}});
    m_state.currentRow = m_lines.rows.size() - 1;
}

void LineGridEditor::deleteLine() {
    auto& rows = m_lines.rows;
    if (rows.empty()) return;
    const std::size_t row = std::min(m_state.currentRow, rows.size() - 1);
    m_taxes.removeLine(payItemOf(rows[row]));
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
    m_state.currentRow = rows.empty() ? 0 : std::min(row, rows.size() - 1);
}

void LineGridEditor::showLines(const std::vector<store::ArLine>& lines,
                               const std::string& dateFormat) {
    m_lines.rows.clear();
    m_taxes.clear();
    for (const auto& line : lines) {
        m_lines.rows.push_back(gridRowOf(line, accountName(line.salesAccno), dateFormat));
        m_taxes.replaceLine(line.payItem, taxRowsOfLine(line));
    }
    m_state = {};
}

std::string LineGridEditor::firstDescription() const {
    if (m_lines.rows.empty()) return {};
    return trimmedText(cellText(m_lines.rows.front(), column::kDescription));
}

}  // namespace keltro::invoice
