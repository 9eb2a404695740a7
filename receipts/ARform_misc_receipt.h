// Miscellaneous Receipt: money received that settles no A/R document (interest, refunds,
// the sale of an asset). The receiving account is debited as on the receipt screen; each
// line of the grid `dbgrid1` credits the G/L account the person chose. No customer takes
// part.
//
// States: browsing (a stored receipt, read-only), "&New" (a cleared entry: header and
// lines open) and "&Edit mode" (a stored receipt whose reference, payer, pay by, cheque
// and remark may change). While lines are typed, `txtunbalance` shows what is left of
// the receipt amount. The checks, save and journal are MiscReceiptSave.h's.
#pragma once

#include <optional>
#include <string>

#include "framework/WalkedDocumentScreen.h"
#include "receipts/MiscReceiptRecords.h"
#include "receipts/MiscReceiptSave.h"

namespace keltro::receipts {

class ARform_misc_receipt : public framework::WalkedDocumentScreen {
public:
    ARform_misc_receipt();

    const std::optional<MiscReceiptHeader>& shownReceipt() const { return m_shown; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;
    bool acceptCell(const std::string& grid, std::size_t row, const std::string& column,
                    const std::string& text) override;
    void onCellChanged(const std::string& grid, std::size_t row, const std::string& column) override;

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

    // --- showing receipts -----------------------------------------------------------------
    void showReceipt(const MiscReceiptHeader& header);
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
    MiscReceiptDraft draft() const;
    MiscReceiptSaveContext saveContext();

    // --- reactions ------------------------------------------------------------------------
    void currencyChosen();
    void rateDateChanged();
    void amountChanged();
    void refreshUnbalance();
    bool isForeign() const;
    std::string accountName(const std::string& accno) const;

    // --- commands around a stored receipt --------------------------------------------------
    void voidCommand();
    void glRecord();
    void preview();

    std::optional<MiscReceiptHeader> m_shown;
    MiscReceiptAccounts m_accounts;
};

}  // namespace keltro::receipts
