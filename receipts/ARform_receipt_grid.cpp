// The receipt screen's grid of open items: what a cell takes, quick apply, the accounts a
// discount or write-off proposes, and the totals below it.
#include "receipts/ARform_receipt.h"

#include "framework/LookupList.h"
#include "receipts/ReceiptApplication.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/Accounts.h"

namespace keltro::receipts {

using framework::GridRow;
using framework::trimmedText;
using services::FormatAmount;

namespace {

bool isAccountColumn(const std::string& caption) {
    return caption == column::kDiscountAccount || caption == column::kWriteOffAccount;
}

}  // namespace

// --- The grid
// --------------------------------------------------------------------------------------

GridRow& ARform_receipt::row(std::size_t index) { return mutableGrid(kGrid).rows.at(index); }

bool ARform_receipt::acceptCell(const std::string& gridName, std::size_t index,
                                const std::string& caption, const std::string& text) {
    if (gridName != kGrid) return true;
    if (index >= grid(kGrid).rows.size())
        throw framework::ScreenError(className() + "." + kGrid +
                                     " offers open items only; it takes no new row");
    m_currentRow = index;
    const CellVerdict verdict = checkCell(row(index), caption, text);
    if (verdict == CellVerdict::Accept) return true;
    ui().message(refusalMessage(verdict));
    if (verdict == CellVerdict::WrongSign) {
        m_rowsWithAmounts.edited(index);
        row(index)[caption] = "";
        settleRow(row(index), context().BASE_CURRENCY);
        refreshTotals();
    }
    return false;
}

void ARform_receipt::onCellChanged(const std::string& gridName, std::size_t index,
                                   const std::string& caption) {
    if (gridName != kGrid) return;
    m_rowsWithAmounts.edited(index);
    guarded([&] {
        GridRow& cells = row(index);
        if (isAccountColumn(caption)) return accountCellChanged(cells, caption);
        cellEdited(cells, caption, context().BASE_CURRENCY);
        proposeRowAccounts(cells);
        refreshTotals();
    });
}

void ARform_receipt::onCellClicked(const std::string& gridName, std::size_t index,
                                   const std::string& caption) {
    if (gridName != kGrid) return;
    m_currentRow = index;
    if (caption != column::kApplied || grid(kGrid).locked) return;
    const QuickApplyContext quick{context().BASE_CURRENCY, trimmedText(value("cmbcurrency")),
                                  value("cmbexrate")};
    m_rowsWithAmounts.edited(index);
    if (!quickApply(row(index), quick)) return;
    proposeRowAccounts(row(index));
    refreshTotals();
}

// An account typed or picked shows as its list item.
void ARform_receipt::accountCellChanged(GridRow& cells, const std::string& caption) {
    const std::string accno = accountOfCell(cells, caption);
    const std::string name = accountName(accno);
    cells[caption] = name.empty() ? accno : accno + ";" + name;
}

// A discount or write-off without its account takes the module's.
void ARform_receipt::proposeRowAccounts(GridRow& cells) {
    const auto propose = [&](const char* amount, const char* account, const std::string& accno) {
        if (numberOf(cellOf(cells, amount)).value_or(0) != 0 &&
            accountOfCell(cells, account).empty())
            cells[account] =
                accountCell(accno, [this](const std::string& a) { return accountName(a); });
    };
    propose(column::kDiscountTaken, column::kDiscountAccount, m_accounts.discount);
    propose(column::kWriteOff, column::kWriteOffAccount, m_accounts.writeoff);
}

void ARform_receipt::refreshTotals() {
    const auto& rows = grid(kGrid).rows;
    const ApplicationTotals totals = totalsOf(rows, m_rowsWithAmounts.of(rows));
    setValue("txttotal", FormatAmount(totals.applied));
    setValue("txttotal_base", FormatAmount(totals.base));
    setValue("label_total_currency", totals.currency);
}

}  // namespace keltro::receipts
