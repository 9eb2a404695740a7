// A/R matching: settles a customer's open credits (credit notes, prepayments, unapplied
// cash) against the same customer's open debits (invoices, debit notes) without money
// moving.
//
// A saved matching (document type "mc") has one line per settled open item; it lowers the
// open amounts of the documents involved and posts to the ledger only what the settlement
// changes: discounts taken, write-offs and exchange differences.
//
// States: browsing (a stored matching, read-only; a matching is never edited once saved)
// and new ("&New" pressed: "** New **", today's date, the chosen customer's open items of
// every currency). The rules live beside the screen: the grid and its totals
// (MatchingGrid.h), the checks and the save (MatchingSave.h), the journal
// (MatchingPosting.h), the stored records and walking them (MatchingRecords.h).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "framework/DocumentScreen.h"
#include "matching/MatchingRecords.h"
#include "matching/MatchingSave.h"
#include "receipts/ReceiptApplication.h"

namespace keltro::matching {

class ARform_matching : public framework::DocumentScreen {
public:
    ARform_matching();

    // The stored matching on screen; nothing for a new one.
    const std::optional<MatchingHeader>& shownMatching() const { return m_shown; }

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
    void declareHeader();
    void declareGrid();
    void declareCommands();
    void attachActions();
    void fillLists();
    void readModuleAccounts();

    // --- state ---------------------------------------------------------------------------
    void applyLocks() override;
    bool hasStoredDocument() const override { return false; }
    void beginNew() override;
    void leaveNew() override { showLast(); }
    void beginEdit() override {}
    void leaveEdit() override {}
    void saveNew() override;
    void saveEdit() override {}

    // --- showing matchings ------------------------------------------------------------------
    void showMatching(const MatchingHeader& header, LineOrder order);
    void showMatchingWithKey(const std::string& fkey);
    void showNoMatching();
    void showLast();
    void step(int direction);
    void refresh();
    void gotoNumber(const std::string& docno) override;

    // --- entering a matching ----------------------------------------------------------------
    void dateChanged();
    void customerChosen();
    void customerNameChosen();
    void offerOpenItems();
    void refreshTotals();
    MatchingDraft draft() const;

    // --- links ------------------------------------------------------------------------------
    void glRecord();
    void arRecord();
    void preview();

    std::optional<MatchingHeader> m_shown;
    std::size_t m_currentRow = 0;
    receipts::RowsWithAmounts m_rowsWithAmounts;  // of `dbgrid1`
    std::string m_realizedGain;
    std::string m_realizedLoss;
    std::string m_discountAccount;  // the grid's defaults
    std::string m_writeoffAccount;
};

}  // namespace keltro::matching
