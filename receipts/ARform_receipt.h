// A/R Receipt Entry: a customer's payment, applied to the customer's open documents one
// pay item at a time, with an early-payment discount and a write-off per pay item.
//
// The grid `dbgrid1` offers the chosen customer's unpaid lines; an excess of the receipt
// over what it applies becomes an unapplied-cash document. The same screen completes the
// receipts the fast receipt screen stored without applying them.
//
// States: browsing (a stored receipt, read-only), new ("&New" pressed: "** New **", the
// customer's open items; the receipt date stays, today's when there is none) and edit
// ("&Edit mode" pressed: reference, payer, pay by, cheque and remark of the shown
// receipt). A receipt stored by the fast receipt screen opens in the new state with its
// number in white on red, to be applied and saved. The rules live beside the screen: the grid
// (ReceiptApplication.h), the checks (ReceiptValidation.h), the save (ReceiptSave.h), the journal
// (ReceiptPosting.h), the void (ReceiptVoid.h), walking (ReceiptNavigation.h) and printing
// (ReceiptPrint.h). The class is written in three files: ARform_receipt.cpp (declaring,
// opening, the state, showing, new, edit, save and the header's reactions),
// ARform_receipt_grid.cpp (the grid of open items) and ARform_receipt_commands.cpp (void,
// links, preview).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/DocumentScreen.h"
#include "receipts/ReceiptDisplay.h"
#include "receipts/ReceiptRecords.h"
#include "receipts/ReceiptSave.h"
#include "services/Balances.h"
#include "services/Clock.h"

namespace keltro::receipts {

class ARform_receipt : public framework::DocumentScreen {
public:
    ARform_receipt();

    // A new receipt from `custnox`, with the document `docnox` offered first.
    void receiptThisInvoice(const std::string& docnox, const std::string& custnox);

    // The document to offer first once the customer's open lines are listed; empty when
    // none was asked for (or once it was offered).
    const std::string& invoiceToPay() const { return m_invoiceToPay; }
    // The stored receipt on screen, as last read; nothing for a new one.
    const std::optional<ReceiptHeader>& shownReceipt() const { return m_shown; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;
    bool acceptCell(const std::string& grid, std::size_t row, const std::string& caption,
                    const std::string& text) override;
    void onCellChanged(const std::string& grid, std::size_t row,
                       const std::string& caption) override;
    void onCellClicked(const std::string& grid, std::size_t row,
                       const std::string& caption) override;

private:
    static constexpr const char* kGrid = "dbgrid1";

    // --- declaring the screen -------------------------------------------------------------
    void declareHeader();
    void arrangeWindow();
    void declareGrids();
    void declareCommands();
    void attachActions();

    // --- opening --------------------------------------------------------------------------
    void fillLists();
    void readModuleAccounts();

    // --- state --------------------------------------------------------------------------
    void applyLocks() override;
    bool hasStoredDocument() const override { return m_shown.has_value(); }
    bool fieldEditable(const std::string& control) const;
    bool completingFastReceipt() const;

    // --- showing receipts -----------------------------------------------------------------
    void showReceipt(const ReceiptHeader& header);
    void showReceiptWithKey(const std::string& fkey);
    void showNoReceipt();
    void showLast();
    void step(int direction);
    void refresh();
    void gotoNumber(const std::string& docno) override;
    void leaveEditBeforeMoving();
    void showStoredLines(const std::string& fkey);
    std::string accountName(const std::string& accno) const;

    // --- new, edit, save --------------------------------------------------------------------
    void beginNew() override { startNew(ReceiptDate::AsShown); }
    void leaveNew() override { showLast(); }
    enum class ReceiptDate { AsShown, Today };
    void startNew(ReceiptDate date);
    void beginEdit() override;
    void leaveEdit() override;
    void saveNew() override;
    void saveNewReceipt();
    void completeFastReceipt();
    void saveEdit() override;
    enum class SaveOutcome { Refused, Failed, Saved };
    using Check =
        std::function<std::optional<CheckedReceipt>(const CheckContext&, const ReceiptDraft&)>;
    using Save = std::function<std::optional<SavedReceipt>(ReceiptSaveContext&, const ReceiptDraft&,
                                                           const CheckedReceipt&)>;
    SaveOutcome checkAndSave(const Check& check, const Save& save);
    ReceiptDraft draft() const;
    ReceiptSaveContext saveContext();

    // --- header reactions -------------------------------------------------------------------
    void receiptDateChanged();
    void customerChosen();
    void customerNameChosen();
    std::vector<OpenItem> offerOpenItems();
    void invoiceCurrencyChosen();
    void fillRateList();
    void currencyChosen();
    void rateChosen();
    void amountChanged();
    void refreshReceiptBase();

    // --- the grid -----------------------------------------------------------------------------
    framework::GridRow& row(std::size_t index);
    void accountCellChanged(framework::GridRow& cells, const std::string& caption);
    void proposeRowAccounts(framework::GridRow& cells);
    void refreshTotals();

    // --- commands around a stored receipt -------------------------------------------------
    void voidCommand();
    void glRecord();
    void arRecord();
    void preview();

    std::optional<ReceiptHeader> m_shown;  // the stored receipt on screen
    std::string m_invoiceToPay;
    std::size_t m_currentRow = 0;
    RowsWithAmounts m_rowsWithAmounts;  // of `dbgrid1`
    ModuleAccounts m_accounts;
    std::vector<std::string> m_rowAccounts;  // the account numbers of `dd1` and `dd2`
};

}  // namespace keltro::receipts
