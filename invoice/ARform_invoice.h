// A/R Invoice Entry: invoices, debit notes and credit notes, and (with `chkrecur` ticked)
// the recurring-invoice definitions from which invoices are generated.
//
// The kind box `cmbdoctype` decides what the screen works on: "Invoice" (doctype "ar"),
// "Sale Invoice" ("inv", made by the sales module), "Debit Note" ("dn") or "Credit Note"
// ("cn"); the hidden `txtdoctype` keeps the code. The lines are the grid `dbgrid1`, one per
// pay item; each line's tax per authority shows in the "Tax Details Window" (`grid_tax`) and
// summed per authority in the "Tax Summary Window" (`grid_tax_summary`), both laid out as
// the sales module's invoice ("SOform_invoice") lays them out.
//
// States: browsing (a saved document, read-only), new ("&New" pressed: "** New **" and the
// defaults of a new document) and edit ("&Edit mode" pressed: the shown document, with the
// fields its source allows unlocked). Leaving either asks whether to save; a save that
// fails keeps what was typed. The rules live beside the screen: its parts (InvoiceFields.h),
// tax (InvoiceTax.h), lines (InvoiceLines.h, InvoiceLineGrid.h), checks
// (InvoiceValidation.h), saves (InvoiceSave.h), journal (InvoicePosting.h), void
// (InvoiceVoid.h), walking (InvoiceNavigation.h), printing (InvoicePrint.h) and recurring
// definitions (RecurringEntry.h).
//
// The class is written in four files: ARform_invoice.cpp (declaring, opening, the state,
// showing, new, edit and save), ARform_invoice_entry.cpp (reactions to typing: header and
// lines), ARform_invoice_commands.cpp (commands around a saved document) and
// ARform_invoice_recurring.cpp (recurring mode).
//
// The host opens the screen on a kind (`openAs`), switches it to another kind (`switchTo`)
// and sends it to a document by key, number or recurring number.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/DocumentScreen.h"
#include "invoice/InvoiceDisplay.h"
#include "invoice/InvoiceKind.h"
#include "invoice/InvoiceLineGrid.h"
#include "invoice/InvoiceSave.h"
#include "invoice/InvoiceTax.h"
#include "invoice/RecurringEntry.h"
#include "store/Accounts.h"
#include "store/ArDocument.h"

namespace keltro::invoice {

class ARform_invoice : public framework::DocumentScreen {
public:
    ARform_invoice();

    // "cn" or "dn": a new credit or debit note; anything else: invoices, browsing.
    void openAs(const std::string& doctypex);
    // "cn", "dn" or anything else (invoice): unless the screen already shows that kind,
    // sets it and starts a new document.
    void switchTo(const std::string& doctypex);
    void gotoFkey(const std::string& fkeyx);
    // The number of a recurring definition; the screen goes into recurring mode.
    void gotoRecurringNo(const std::string& docnox);

    // The tax table: one row per line and authority.
    const TaxTable& taxTable() const { return m_taxes; }

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
    // --- declaring the screen -------------------------------------------------------------
    void declareCommands();
    void declareViewCommands();
    void arrangeWindow();
    void attachActions();

    // --- opening --------------------------------------------------------------------------
    void fillLists();
    void fillLineLookups();
    void readModuleAccounts();

    // --- the kind and the state -----------------------------------------------------------
    const InvoiceKind& kind() const;
    void setKind(std::string_view kindName);
    void applyLocks() override;
    bool hasStoredDocument() const override { return m_shown || m_shownRecurring; }
    bool fieldEditable(const std::string& control) const;
    bool linesEditable() const;
    bool isSavedDocumentShown() const;

    // --- showing documents ----------------------------------------------------------------
    void showDocument(const store::ArDocument& document);
    void showNoDocument();
    void showLastOfKind();
    void showDocumentWithKey(const std::string& fkey);
    void gotoNumber(const std::string& docno) override;
    void step(int direction);
    void refreshShown();
    void setLinesFrom(const std::vector<store::ArLine>& lines);

    // --- new and edit ---------------------------------------------------------------------
    void beginNew() override;
    void applyNewDefaults();
    void leaveNew() override;
    void beginEdit() override;
    void leaveEdit() override;
    void saveNew() override;
    void saveEdit() override;
    void saveNewInvoice();
    void saveEditedInvoice();
    // Refused: the entry failed a check (its message given); Failed: the save itself.
    enum class SaveOutcome { Saved, Refused, Failed };
    SaveOutcome validateAndSave(const InvoiceDraft& d, SaveKind saveKind, std::string& status,
                                const std::function<bool(SaveContext&, const ValidatedEntry&)>& save);
    void stayInMode(framework::Mode mode);
    InvoiceDraft draft(const InvoiceKind& kind) const;
    ValidationContext validationContext() const;
    SaveContext saveContext(std::string& status);

    // --- header reactions -----------------------------------------------------------------
    void invoiceDateChanged();
    void customerChosen();
    void customerNameChosen();
    void termChosen();
    void currencyChosen();
    void takeLatestRate();
    void rateChosen();

    // --- lines and tax --------------------------------------------------------------------
    LineGridEditor lineEditor();
    void insertLine();
    void deleteLine();
    void linesChanged();
    void refreshTotals();
    void refreshTaxGrids();

    // --- commands around a saved document -------------------------------------------------
    void voidCommand();
    void receiptThisInvoice();
    void receiptHistory();
    void glRecord();
    void originDocument();
    void prepaymentButton();
    void copyCustomerAddress();
    void preview();
    void viewKind(std::string_view kindName);
    void openOnly();
    void viewAll();
    void fillOpenDocuments();

    // --- recurring definitions (`chkrecur` ticked) ----------------------------------------
    bool recurring() const { return value("chkrecur") == "1"; }
    void recurringToggled();
    void leaveRecurringMode();
    void showRecurringLook();
    void viewRecurring();
    void showRecurring(const store::RecurringDefinition& definition);
    void showRecurringWithKey(const std::string& fkey);
    void gotoRecurringNumber(const std::string& recurno);
    void stepRecurring(int direction);
    void saveNewRecurring();
    void saveEditedRecurring();
    bool checkAndSaveRecurring(framework::Mode mode,
                               const std::function<bool(RecurringSaveContext&, const RecurringDraft&,
                                                        const CheckedRecurring&)>& save);
    RecurringDraft recurringDraft() const;

    TaxTable m_taxes;
    std::optional<store::ArDocument> m_shown;  // the document on screen, as last read
    std::optional<store::RecurringDefinition> m_shownRecurring;  // the definition on screen
    LineGridState m_lineState;
    bool m_linesChanged = false;
    bool m_editAllowsLines = false;
    std::string m_moduleReceivable;
    RoundingAccounts m_rounding;
    std::vector<store::AccountName> m_salesAccounts;
};

}  // namespace keltro::invoice
