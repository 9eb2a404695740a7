// The invoice screen's reactions to what a person types: the header's customer, term,
// currency and rate, and the lines with their tax.
#include "invoice/ARform_invoice.h"

#include "framework/LookupList.h"
#include "invoice/InvoiceFields.h"
#include "invoice/InvoiceLines.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

using services::FormatAmount;

// --- Header reactions -------------------------------------------------------------------------

void ARform_invoice::invoiceDateChanged() { periodFromDate("txtinvdate"); }

void ARform_invoice::customerChosen() {
    const std::string customerNo = trimmedText(value("cmbcustno"));
    setValue("cmbcustname", "");
    if (customerNo.empty()) return;
    const auto customer = store::findCustomer(database(), customerNo);
    if (!customer) return ui().message("Customer number is invalid");
    setValue("cmbcustno", customer->customerNo);
    setValue("cmbcustname", customer->name);
    setValue("txtbill_address", customer->address);
    if (!customer->currency.empty()) {
        setValue("cmbcurrency", customer->currency);
        currencyChosen();
    }
    if (!customer->paymentTerm.empty()) {
        setValue("cmbterm", customer->paymentTerm);
        termChosen();
    }
    if (isInvoice(kind()) && !customer->active)
        ui().message(customer->name + " is inactive. Invoice will not be saved.");
}

// A name picked from the list by name stands for its customer number.
void ARform_invoice::customerNameChosen() {
    const auto customerNo = customerOfPickedName();
    if (!customerNo) return ui().message("Customer number is invalid");
    setValue("cmbcustno", *customerNo);
    customerChosen();
}

// A term is typed by its number or picked by its name; the field keeps the number.
void ARform_invoice::termChosen() {
    std::string term = trimmedText(value("cmbterm"));
    if (term.empty()) return;
    for (const auto& item : field("cmbterm").items)
        if (framework::ItemColumn(item, 0) == term) term = framework::ItemColumn(item, 1);
    const auto found = store::findPaymentTerm(database(), term);
    if (!found) return ui().message("payment term is invalid");
    setValue("cmbterm", found->termNo);
    const auto dates = store::termDates(*found, clock().today());
    setValue("txtduedate", shownDateText(dates.dueDate));
    setValue("txtdiscdate", shownDateText(dates.discountDate));
}

void ARform_invoice::currencyChosen() {
    const std::string currency = trimmedText(value("cmbcurrency"));
    if (!currency.empty() && currency != context().BASE_CURRENCY &&
        !store::isWorkingCurrency(database(), currency)) {
        ui().message("Currency is invalid");
        setValue("cmbcurrency", "");
    }
    takeLatestRate();
}

// The rate list of the currency up to the rate date (any date when empty), and its latest
// rate; the base currency has none.
void ARform_invoice::takeLatestRate() {
    const std::string currency = trimmedText(value("cmbcurrency"));
    const auto onOrBefore = shownDate("txtratedate");
    fillRateList(currency, onOrBefore);
    std::optional<store::ExchangeRate> latest;
    if (!currency.empty() && currency != context().BASE_CURRENCY)
        latest = store::latestExchangeRate(database(), currency, onOrBefore);
    setValue("cmbexrate", latest ? numberText(latest->rate) : "");
    setValue("txtratedate", latest ? shownDateText(latest->rateDate) : "");
}

// A rate picked from the list brings its date.
void ARform_invoice::rateChosen() { takeDateOfPickedRate(); }

// --- Lines and tax ----------------------------------------------------------------------------

LineGridEditor ARform_invoice::lineEditor() {
    return {database(), ui(), mutableGrid(kLineGrid), m_taxes, m_lineState, m_salesAccounts};
}

bool ARform_invoice::acceptCell(const std::string& gridName, std::size_t row,
                                const std::string& caption, const std::string& text) {
    if (gridName == kLineGrid) return lineEditor().acceptLineCell(row, caption, text);
    if (gridName == kTaxDetailGrid) return lineEditor().acceptTaxCell(row, caption, text);
    return true;
}

void ARform_invoice::onCellChanged(const std::string& gridName, std::size_t row,
                                   const std::string& caption) {
    guarded([&] {
        if (gridName == kLineGrid) lineEditor().lineCellChanged(row, caption);
        if (gridName == kTaxDetailGrid)
            lineEditor().taxCellChanged(row, caption,
                                        cellText(grid(kTaxDetailGrid).rows.at(row), caption));
        linesChanged();
    });
}

void ARform_invoice::onCellClicked(const std::string& gridName, std::size_t row,
                                   const std::string& /*caption*/) {
    if (gridName == kLineGrid) m_lineState.currentRow = row;
}

void ARform_invoice::insertLine() {
    if (!linesEditable()) return;
    lineEditor().insertLine();
    linesChanged();
}

void ARform_invoice::deleteLine() {
    if (!linesEditable()) return;
    lineEditor().deleteLine();
    linesChanged();
}

void ARform_invoice::linesChanged() {
    m_linesChanged = true;
    refreshTotals();
    refreshTaxGrids();
}

void ARform_invoice::refreshTotals() {
    const Totals totals = totalsOf(entryLines(grid(kLineGrid).rows));
    setValue("txtgross", FormatAmount(totals.taxable));
    setValue("txttax", FormatAmount(totals.tax));
    setValue("txttotal", FormatAmount(totals.total));
}

void ARform_invoice::refreshTaxGrids() {
    mutableGrid(kTaxDetailGrid).rows = taxDetailRows(m_taxes);
    mutableGrid(kTaxSummaryGrid).rows = taxSummaryRows(m_taxes);
}

}  // namespace keltro::invoice
