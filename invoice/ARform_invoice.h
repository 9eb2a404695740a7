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
// The host opens the screen on a kind (`openAs`), switches it to another kind (`switchTo`)
// and sends it to a document by key, number or recurring number.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::invoice {

class ARform_invoice : public framework::Screen {
public:
    ARform_invoice();

    // "cn" or "dn": a new credit or debit note; anything else: invoices, browsing.
    void openAs(const std::string& doctypex);
    // "cn", "dn" or anything else (invoice): unless the screen already shows that kind,
    // sets it and starts a new document.
    void switchTo(const std::string& doctypex);
    void gotoFkey(const std::string& fkeyx);
    void gotoDocno(const std::string& docnox);
    // The number of a recurring definition; the screen goes into recurring mode.
    void gotoRecurringNo(const std::string& docnox);

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;

private:
    void declareHeader();
    void declareRecurringFields();
    void declareTotals();
    void declareGrids();
    void declareCommands();
    void declareViewCommands();

    // Sets `cmbdoctype` and the matching doctype code.
    void setKind(const std::string& kind);
    void startNewDocument();
    // The look-up lists: customers, terms, currencies, fiscal years, periods.
    void fillLists();
    // A typed invoice date: checked in the user's format; a good one sets the fiscal year
    // and period.
    void invoiceDateChanged();
};

}  // namespace keltro::invoice
