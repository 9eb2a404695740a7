// A/R Prepayment: money a customer pays before any invoice exists.
//
// A prepayment is a receipt of document type "rpp" with one open credit line that a
// matching or an invoice later consumes; it is posted to the ledger at once, cash side
// against the customer prepayment liability. The screen shows, voids and steps through
// saved prepayments, and enters new ones.
//
// States: browsing (a stored prepayment, read-only) and entering ("&New" or "&Edit mode"
// pressed: a cleared entry, "** New **"). A saved prepayment is never edited: it is
// voided, or changed by the invoice that consumes it. Releasing either button with an
// entry that has a customer and an amount asks "Do you want to save new entry?". The
// rules live beside the screen: the checks (PrepaymentValidation.h), the save and its
// journal (PrepaymentSave.h), the void (PrepaymentVoid.h).
#pragma once

#include <optional>
#include <string>

#include "framework/DocumentScreen.h"
#include "matching/PrepaymentSave.h"
#include "receipts/ReceiptRecords.h"

namespace keltro::matching {

class ARform_prepayment : public framework::DocumentScreen {
public:
    // The window of the customer's back-ordered sales-order lines.
    static constexpr const char* kSalesOrderWindow = "SALES ORDER WINDOW";

    ARform_prepayment();
    // Shows the prepayment with this internal key, as the host asks.
    void gotoFkey(const std::string& fkeyx);

    // The stored prepayment on screen, as last read; nothing while entering one.
    const std::optional<receipts::ReceiptHeader>& shownPrepayment() const { return m_shown; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;

private:
    // --- declaring the screen -------------------------------------------------------------
    void declareHeader();
    void declareGrids();
    void declareCommands();
    void arrangeWindow();
    void attachActions();

    // --- opening --------------------------------------------------------------------------
    void fillLists();
    void readModuleAccounts();

    // --- state ----------------------------------------------------------------------------
    void applyLocks() override;
    bool hasStoredDocument() const override { return true; }

    // --- showing prepayments --------------------------------------------------------------
    void showPrepayment(const receipts::ReceiptHeader& header);
    void showWithKey(const std::string& fkey);
    void showNone();
    void showLast();
    void step(int direction);
    void refresh();
    void gotoNumber(const std::string& docno) override;
    void showStoredLines(const std::string& fkey);

    // --- entering and saving --------------------------------------------------------------
    void beginNew() override { startEntry(framework::Mode::New); }
    void beginEdit() override { startEntry(framework::Mode::Edit); }
    void leaveNew() override { leaveEntry(); }
    void leaveEdit() override { leaveEntry(); }
    void saveNew() override { save(); }
    void saveEdit() override { save(); }
    void startEntry(framework::Mode mode);
    void leaveEntry();
    bool entryWorthSaving() const;
    bool save();
    PrepaymentDraft draft() const;
    PrepaymentSaveContext saveContext();

    // --- header reactions -----------------------------------------------------------------
    void customerChosen();
    void customerNameChosen();
    void currencyChosen();
    void rateDateChanged();
    void rateChosen();
    void amountChanged();
    void refreshBaseAmount();
    bool isForeign() const;

    // --- commands around a stored prepayment ----------------------------------------------
    void voidCommand();
    void glRecord();
    void originDocument();
    void salesOrders();
    void preview();

    std::optional<receipts::ReceiptHeader> m_shown;  // the stored prepayment on screen
    PrepaymentAccounts m_accounts;
};

}  // namespace keltro::matching
