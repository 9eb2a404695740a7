// A/R Fast Receipt: a batch of money received on one day into one bank, one line of the
// grid `dbgrid1` per cheque or cash payment, each saying what the money is (a receipt for
// an invoice, unapplied cash, a prepayment or a miscellaneous receipt). Saving posts a
// journal per line; "&Generate actual receipt" later makes the real documents from the
// lines, and "&Actual receipt" opens the one made from the selected line.
//
// States: browsing (a stored batch, read-only), "&New" (a cleared batch: header and
// lines open) and "&Edit mode" (a stored batch that is neither void nor complete: its
// bank, remark, rate, amount, period and lines may change). "&Delete Line" marks the
// selected row deleted; it stays in the grid, drawn in grey italics, and is left out
// when the batch is saved. The rules are FastReceiptSave.h's and
// FastReceiptGeneration.h's; the grid's reactions are in ARform_fast_receipt_grid.cpp.
#pragma once

#include <optional>
#include <string>

#include "framework/WalkedDocumentScreen.h"
#include "receipts/FastReceiptRecords.h"
#include "receipts/FastReceiptSave.h"

namespace keltro::receipts {

class ARform_fast_receipt : public framework::WalkedDocumentScreen {
public:
    ARform_fast_receipt();

    const std::optional<FastReceiptHeader>& shownBatch() const { return m_shown; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;
    bool acceptCell(const std::string& grid, std::size_t row, const std::string& column,
                    const std::string& text) override;
    void onCellChanged(const std::string& grid, std::size_t row, const std::string& column) override;
    void onCellClicked(const std::string& grid, std::size_t row, const std::string& column) override;

private:
    // --- declaring the screen -------------------------------------------------------------
    void declareHeader();
    void declareGrids();
    void declareCommands();
    void arrangeWindow();
    void attachActions();
    void fillLists();

    // --- state ----------------------------------------------------------------------------
    void applyLocks() override;
    bool hasStoredDocument() const override { return m_shown.has_value(); }

    // --- showing batches ------------------------------------------------------------------
    void showBatch(const FastReceiptHeader& header);
    std::optional<framework::StoredDocument> shownStored() const override;
    void showWithKey(const std::string& fkey) override;
    void showNone() override;
    void gotoNumber(const std::string& docno) override;

    // --- entering and saving --------------------------------------------------------------
    void beginNew() override;
    void leaveNew() override { showLast(); }
    void beginEdit() override;
    void saveNew() override;
    void saveEdit() override;
    FastReceiptDraft draft() const;
    FastReceiptSaveContext saveContext();
    std::optional<CheckedFastReceipt> checked(const FastReceiptDraft& d);

    // --- header reactions -----------------------------------------------------------------
    void currencyChosen();
    void rateDateChanged();
    void amountOrRateChanged();
    bool isForeign() const;

    // --- the grid (ARform_fast_receipt_grid.cpp) --------------------------------------------
    void insertLine();
    void deleteLine();
    void customerNoTyped(framework::GridRow& cells);
    void customerNameTyped(framework::GridRow& cells);
    void accountTyped(framework::GridRow& cells);
    void checkDateTyped(framework::GridRow& cells);
    std::string nextLineno() const;

    // --- commands around a stored batch ---------------------------------------------------
    void voidCommand();
    void generate();
    void actualReceipt();
    void preview();

    std::optional<FastReceiptHeader> m_shown;
    std::size_t m_currentRow = 0;  // the row last typed or clicked into
};

}  // namespace keltro::receipts
