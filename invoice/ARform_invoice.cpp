#include "invoice/ARform_invoice.h"

#include <algorithm>
#include <cstdlib>

#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "invoice/InvoiceFields.h"
#include "invoice/InvoiceLines.h"
#include "invoice/InvoiceNavigation.h"
#include "invoice/InvoicePrint.h"
#include "invoice/InvoiceVoid.h"
#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"
#include "services/Money.h"
#include "store/ReferenceData.h"
#include "store/TaxCodes.h"

namespace keltro::invoice {

using framework::FieldKind;
using framework::among;
using framework::Mode;
using services::FormatAmount;

namespace {

// The header controls a person types into while entering a document.
const std::vector<std::string> kEntryFields = {
    "cmbdoctype",   "cmbcompany", "cmbcustno",   "cmbcustname",    "txtinvdate",
    "cmbterm",      "txtduedate", "txtdiscdate", "cmbcurrency",    "cmbexrate",
    "txtratedate",  "cmbperiod",  "cmbfyear",    "txtcustomer_po", "txtorder_no",
    "txtremark",    "txtbill_address", "txtship_address"};
// Editing a document entered here leaves these locked (the customer too: it is a
// recurring definition's only).
const std::vector<std::string> kLockedWhileEditing = {
    "cmbdoctype", "cmbcompany", "txtinvdate", "cmbcurrency", "txtorder_no", "cmbcustno",
    "cmbcustname"};
// A recurring definition's own fields, and what editing one leaves locked.
const std::vector<std::string> kRecurringFields = {"txtrecurname", "txtrecurdate", "txteffectdate",
                                                   "txtexpiredate", "txtnoinvoice", "cmbfreq"};
const std::vector<std::string> kLockedWhileEditingRecurring = {"cmbdoctype", "cmbcompany"};
// Editing a document of another source opens only these.
const std::vector<std::string> kEditableOfOtherSources = {"txtremark", "txtduedate",
                                                          "txtdiscdate", "cmbterm"};

// The kind the host asks for: "cn" and "dn" name the notes, anything else the invoice.
std::string_view requestedKind(const std::string& doctypex) {
    if (doctypex == "cn") return kCreditNoteKind;
    if (doctypex == "dn") return kDebitNoteKind;
    return kInvoiceKind;
}

// Sources whose documents are entered here; their edits may change lines and header.
bool isEnteredHere(const std::string& source) {
    return source == kSourceInvoice || source == "AR-RECUR";
}

}  // namespace

ARform_invoice::ARform_invoice() : DocumentScreen("ARform_invoice", "A/R Invoice Entry") {
    for (auto& f : invoiceHeaderFields()) addField(std::move(f));
    for (auto& f : recurringFields()) addField(std::move(f));
    for (auto& f : invoiceTotalFields()) addField(std::move(f));
    for (auto& g : invoiceGrids()) addGrid(std::move(g));
    declareCommands();
    arrangeWindow();
    attachActions();
}

void ARform_invoice::declareCommands() {
    // The button beside the prepayment, run by its control name: it opens the prepayment.
    addCommand({.caption = "cmdprepay"});
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("")) addCommand(std::move(c));
    for (auto& c : framework::lineCommands()) addCommand(std::move(c));
    addCommand({.menu = "&Edit", .caption = "&Bill-To/Ship-To Address", .toolbar = "Address"});
    addCommand({.caption = "&Copy Customer Address", .page = kAddressWindow});
    declareViewCommands();
    addCommand({.menu = "&Tax", .caption = "Tax &Details"});
    addCommand({.menu = "&Tax", .caption = "Tax &Summary"});
    addCommand({.menu = "&Invoice", .caption = "&Void Invoice"});
    addCommand({.menu = "&Invoice", .caption = "&Recurring Configuration"});
    addCommand({.menu = "&Receipt", .caption = "&Receipt this invoice"});
    addCommand({.menu = "&Receipt", .caption = "Receipt &History (this invoice)"});
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record"});
    addCommand({.menu = "&Link", .caption = "Origin Document", .toolbar = "Origin"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("A/R Invoice Entry Help", "AR Invoice Entry Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

void ARform_invoice::declareViewCommands() {
    for (const char* caption : {"View &Invoice", "View Invoice from &Sales", "View &Credit Note",
                                "View &Debit Note", "View &Recurring", "&View All"})
        addCommand({.menu = "&View", .caption = caption});
    addCommand({.menu = "&View", .caption = "&Open Invoice Only", .checkable = true});
}

// Where the fields stand on the window: the header in boxes a bookkeeper reads from left
// to right, the addresses in their own window, the totals below the lines.
void ARform_invoice::arrangeWindow() {
    arrangeGroups({
        {"Document", {"cmbdoctype", "txtdocno", "cmbopendoc", "cmbcompany", "txtid", "txtfkey", "txtglfkey",
                      "chkpaid", "chkvoid", "chkprint"}},
        {"Customer", {"cmbcustno", "cmbcustname", "txtcustomer_po", "txtorder_no", "txtapplydoc", "txtremark"}},
        {"Dates and terms", {"txtinvdate", "cmbterm", "txtduedate", "txtdiscdate", "cmbfyear", "cmbperiod"}},
        {"Currency", {"cmbcurrency", "cmbexrate", "txtratedate"}},
        {"Origin", {"txtsource", "txtsource_docno", "txtprepayment", "txtppfkey"}},
        {"Recurring", {"chkrecur", "txtrecurname", "txtrecurdate", "txteffectdate", "txtexpiredate",
                       "txtnoinvoice", "cmbfreq"}},
    });
    mutableCommand("cmdprepay").group = "Origin";
    mutableCommand("cmdprepay").buttonText = "Open prepayment";
    mutableField("txtbill_address").page = kAddressWindow;
    mutableField("txtship_address").page = kAddressWindow;
    for (const char* window : {kAddressWindow, kTaxDetailsWindow, kTaxSummaryWindow}) addWindow(window);
}

void ARform_invoice::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Insert Line", [this] { insertLine(); });
    attach("&Delete Line", [this] { deleteLine(); });
    attach("&Bill-To/Ship-To Address", [this] { openWindow(kAddressWindow); });
    attach("&Copy Customer Address", [this] { copyCustomerAddress(); });
    attach("View &Invoice", [this] { viewKind(kInvoiceKind); });
    attach("View Invoice from &Sales", [this] { viewKind(kSaleInvoiceKind); });
    attach("View &Credit Note", [this] { viewKind(kCreditNoteKind); });
    attach("View &Debit Note", [this] { viewKind(kDebitNoteKind); });
    attach("View &Recurring", [this] { viewRecurring(); });
    attach("&View All", [this] { viewAll(); });
    attach("&Open Invoice Only", [this] { openOnly(); });
    attach("Tax &Details", [this] {
        refreshTaxGrids();
        openWindow(kTaxDetailsWindow);
    });
    attach("Tax &Summary", [this] {
        refreshTaxGrids();
        openWindow(kTaxSummaryWindow);
    });
    attach("&Void Invoice", [this] { voidCommand(); });
    attach("&Recurring Configuration",
           [this] { raiseNotification("Recurring Invoice Inquiry", "", ""); });
    attach("&Receipt this invoice", [this] { receiptThisInvoice(); });
    attach("Receipt &History (this invoice)", [this] { receiptHistory(); });
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLastOfKind(); });
    attach("&Refresh record", [this] { refreshShown(); });
    attach("&G/L Record", [this] { glRecord(); });
    attach("Origin Document", [this] { originDocument(); });
    attach("cmdprepay", [this] { prepaymentButton(); });
}

// --- What the host asks ----------------------------------------------------------------

void ARform_invoice::openAs(const std::string& doctypex) {
    const std::string_view wanted = requestedKind(doctypex);
    leaveRecurringMode();
    if (wanted == kInvoiceKind || !rights().update) return viewKind(wanted);
    setKind(wanted);
    guarded([this] { beginNew(); });
}

void ARform_invoice::switchTo(const std::string& doctypex) {
    const std::string_view wanted = requestedKind(doctypex);
    if (kind().name == wanted && !recurring()) return;
    leaveRecurringMode();
    setKind(wanted);
    guarded([this] { beginNew(); });
}

void ARform_invoice::gotoFkey(const std::string& fkeyx) {
    setValue("txtfkey", fkeyx);
    guarded([&] {
        if (auto document = store::loadDocument(database(), fkeyx)) showDocument(*document);
    });
}

void ARform_invoice::gotoRecurringNo(const std::string& docnox) {
    setValue("chkrecur", "1");
    setValue("txtdocno", docnox);
    guarded([&] { gotoRecurringNumber(docnox); });
}

// --- Opening ----------------------------------------------------------------------------

void ARform_invoice::onLoad() {
    fillLists();
    readModuleAccounts();
    showLastOfKind();
}

void ARform_invoice::fillLists() {
    db::Database& db = database();
    mutableField("cmbcustno").items = framework::lists::customersByNumber(db);
    mutableField("cmbcustname").items = framework::lists::customersByName(db);
    mutableField("cmbterm").items = framework::lists::paymentTerms(db);
    mutableField("cmbcurrency").items = framework::lists::currencies(db);
    auto& years = mutableField("cmbfyear").items;
    years.clear();
    for (const auto& row : db.query("SELECT fyear FROM Fiscalyear_table ORDER BY fyear"))
        years.push_back(row["fyear"].textOr());
    auto& periods = mutableField("cmbperiod").items;
    periods.clear();
    const int count = std::max(1, std::atoi(context().KELTRO_NO_PERIODS.c_str()));
    for (int p = 1; p <= count; ++p) periods.push_back(std::to_string(p));
    m_salesAccounts = store::revenueAccounts(db);
    fillLineLookups();
}

// The drop-down cells of the line grid: tax codes and sales (revenue) accounts.
void ARform_invoice::fillLineLookups() {
    auto& lookups = mutableGrid("dbgrid1").lookupItems;
    lookups["tax code"] = framework::FillList(
        database().query("SELECT tax_code,description FROM Tax_code_table ORDER BY tax_code DESC"),
        {"tax_code", "description"});
    auto& accounts = lookups["sales account"];
    accounts.clear();
    for (const auto& account : m_salesAccounts) accounts.push_back(account.accno + ";" + account.accname);
}

void ARform_invoice::readModuleAccounts() {
    db::Database& db = database();
    m_moduleReceivable = store::moduleAccount(db, store::parameter::kAr,
                                              store::parameter::kReceivable);
    m_rounding = {store::defaultModuleAccount(db, store::parameter::kGl,
                                              store::parameter::kRealizedGain),
                  store::defaultModuleAccount(db, store::parameter::kGl,
                                              store::parameter::kRealizedLoss)};
}

// --- Kind and state ----------------------------------------------------------------------

const InvoiceKind& ARform_invoice::kind() const { return kindNamed(value("cmbdoctype")); }

void ARform_invoice::setKind(std::string_view kindName) {
    const InvoiceKind& k = kindNamed(kindName);
    setValue("cmbdoctype", std::string(k.name));
    setValue("txtdoctype", std::string(k.doctype));
}

bool ARform_invoice::fieldEditable(const std::string& control) const {
    switch (mode()) {
        case Mode::New: return true;
        case Mode::Edit:
            if (m_shownRecurring) return !among(kLockedWhileEditingRecurring, control);
            return m_editAllowsLines ? !among(kLockedWhileEditing, control)
                                     : among(kEditableOfOtherSources, control);
        case Mode::Browse: break;
    }
    return false;
}

bool ARform_invoice::linesEditable() const {
    return mode() == Mode::New || (mode() == Mode::Edit && m_editAllowsLines);
}

void ARform_invoice::applyLocks() {
    for (const auto& control : kEntryFields) setLocked(control, !fieldEditable(control));
    for (const auto& control : kRecurringFields) setLocked(control, !fieldEditable(control));
    // Ticking it turns the document being entered into a definition; while browsing it
    // switches between documents and definitions.
    setLocked("chkrecur", mode() == Mode::Edit);
    setLocked("txtdocno", mode() == Mode::Edit);
    mutableGrid(kLineGrid).locked = !linesEditable();
    mutableGrid(kTaxDetailGrid).locked = !linesEditable();
}

bool ARform_invoice::isSavedDocumentShown() const {
    return m_shown.has_value() && mode() != Mode::New;
}

// --- Showing documents --------------------------------------------------------------------

void ARform_invoice::showDocument(const store::ArDocument& document) {
    const store::ArHeader& h = document.header;
    m_shown = document;
    m_shownRecurring.reset();
    setValue("chkrecur", "0");
    showRecurringLook();
    setKind(kindOfDoctype(h.doctype).name);
    const auto customer = store::findCustomer(database(), h.customerNo);
    applyFields(headerFields(h, customer ? customer->name : "", context().KELTRO_DATE_FORMAT));
    fillRateList(h.currency, h.rateDate);
    setLinesFrom(document.lines);
    m_linesChanged = false;
    enterMode(Mode::Browse);
}

void ARform_invoice::setLinesFrom(const std::vector<store::ArLine>& lines) {
    lineEditor().showLines(lines, context().KELTRO_DATE_FORMAT);
    refreshTotals();
    refreshTaxGrids();
}

void ARform_invoice::showNoDocument() {
    m_shown.reset();
    m_shownRecurring.reset();
    applyFields(emptyHeaderFields());
    mutableField("cmbexrate").items.clear();
    setLinesFrom({});
    enterMode(Mode::Browse);
}

void ARform_invoice::showLastOfKind() {
    if (recurring()) return viewRecurring();
    if (auto document = lastDocument(database(), std::string(kind().doctype)))
        showDocument(*document);
    else
        showNoDocument();
}

void ARform_invoice::showDocumentWithKey(const std::string& fkey) {
    if (auto document = store::loadDocument(database(), fkey)) showDocument(*document);
}

void ARform_invoice::gotoNumber(const std::string& docno) {
    if (auto document = store::loadDocumentByDocno(database(), docno))
        showDocument(*document);
    else
        documentNotFound(docno);
}

// Next or previous by key number; from an unsaved document, the last one.
void ARform_invoice::step(int direction) {
    if (mode() == Mode::Edit) return;
    if (recurring()) return stepRecurring(direction);
    if (!isSavedDocumentShown()) return showLastOfKind();
    if (auto document = steppedDocument(database(), std::string(kind().doctype),
                                        m_shown->header.fkey, direction))
        showDocument(*document);
}

void ARform_invoice::refreshShown() {
    if (mode() == Mode::Edit) return;
    if (m_shownRecurring && mode() == Mode::Browse)
        return showRecurringWithKey(m_shownRecurring->header.fkey);
    if (!isSavedDocumentShown()) return;
    const std::string fkey = m_shown->header.fkey;
    showDocumentWithKey(fkey);
}

// --- New ------------------------------------------------------------------------------------

void ARform_invoice::beginNew() {
    if (kind().name == kSaleInvoiceKind) setKind(kInvoiceKind);
    m_shown.reset();
    m_shownRecurring.reset();
    applyNewDefaults();
    enterMode(Mode::New);
}

void ARform_invoice::applyNewDefaults() {
    const std::string customerNo = value("cmbcustno");
    applyFields(emptyHeaderFields());
    setLinesFrom({});
    setValue("txtdocno", framework::kNewDocumentNo);
    setValue("txtsource", kSourceInvoice);
    for (const auto& control : kRecurringFields) setValue(control, "");
    setValue("cmbfreq", "monthly");
    const auto customer = store::findCustomer(database(), customerNo);
    if (customer) {
        setValue("cmbcustno", customer->customerNo);
        setValue("cmbcustname", customer->name);
        setValue("txtbill_address", customer->address);
    }
    const bool ownCurrency = customer && !customer->currency.empty();
    setValue("cmbcurrency", ownCurrency ? customer->currency : context().BASE_CURRENCY);
    currencyChosen();
    if (const auto term = store::defaultPaymentTerm(database())) {
        setValue("cmbterm", term->termNo);
        termChosen();
    }
    setValue("txtinvdate", shownDateText(clock().today()));
    invoiceDateChanged();
}

// "&New" released: save what was typed, or go back to the last document.
void ARform_invoice::leaveNew() {
    const bool typed = !lineEditor().firstDescription().empty();
    if (typed && ui().ask("Do you want to save new entry?")) return saveNew();
    if (recurring()) return viewRecurring();
    showLastOfKind();
}

// --- Edit -------------------------------------------------------------------------------------

void ARform_invoice::beginEdit() {
    mutableCommand("&Edit mode").checked = false;
    if (m_shownRecurring) {
        showRecurringWithKey(m_shownRecurring->header.fkey);
        m_editAllowsLines = true;
        return enterMode(Mode::Edit);
    }
    const auto document = store::loadDocument(database(), m_shown->header.fkey);
    if (!document) return;
    const store::ArHeader& h = document->header;
    if (h.isVoid) return ui().message(h.docno + " was void.");
    if (store::paidState(h) != store::PaidState::Unpaid)
        return ui().message(h.docno + " was paid.");
    showDocument(*document);
    m_editAllowsLines = isEnteredHere(h.source);
    enterMode(Mode::Edit);
}

void ARform_invoice::leaveEdit() {
    if (ui().ask("Do you want to save editing?")) return saveEdit();
    if (m_shownRecurring) return showRecurringWithKey(m_shownRecurring->header.fkey);
    const std::string fkey = m_shown->header.fkey;
    showDocumentWithKey(fkey);
}

// --- Saving -----------------------------------------------------------------------------------

InvoiceDraft ARform_invoice::draft(const InvoiceKind& documentKind) const {
    InvoiceDraft d;
    d.kind = &documentKind;
    d.typed = {trimmedText(value("cmbcustno")), trimmedText(value("cmbterm")),
               trimmedText(value("cmbcurrency")), trimmedText(value("cmbexrate")),
               shownDate("txtinvdate"),      trimmedText(value("cmbperiod")),
               trimmedText(value("cmbfyear"))};
    d.fkey = m_shown ? m_shown->header.fkey : "";
    d.customerPo = value("txtcustomer_po");
    d.orderNo = value("txtorder_no");
    d.remark = value("txtremark");
    d.billTo = value("txtbill_address");
    d.shipTo = value("txtship_address");
    d.dueDate = shownDate("txtduedate");
    d.discountDate = shownDate("txtdiscdate");
    d.rateDate = shownDate("txtratedate");
    d.totalText = value("txttotal");
    d.lines = entryLines(grid(kLineGrid).rows);
    d.taxes = &m_taxes;
    d.linesChanged = m_linesChanged;
    return d;
}

ValidationContext ARform_invoice::validationContext() const {
    return {database(), ui(), context().BASE_CURRENCY, m_moduleReceivable};
}

void ARform_invoice::saveNew() {
    if (recurring()) return saveNewRecurring();
    saveNewInvoice();
}

void ARform_invoice::saveEdit() {
    if (m_shownRecurring) return saveEditedRecurring();
    saveEditedInvoice();
}

SaveContext ARform_invoice::saveContext(std::string& status) {
    return {database(),          ui(),       ledger(),  clock(), context().KELTRO_USER,
            context().BASE_CURRENCY, m_rounding, &status};
}

// After a failed save the screen keeps what was typed and stays in its mode.
void ARform_invoice::stayInMode(Mode mode) {
    if (mode == Mode::New) clearNewNumber();
    enterMode(mode);
}

// The entry is checked and saved in one transaction: what was checked (the customer, the
// open period, the accounts) is what the saved document and its journal rest on.
ARform_invoice::SaveOutcome ARform_invoice::validateAndSave(
    const InvoiceDraft& d, SaveKind saveKind, std::string& status,
    const std::function<bool(SaveContext&, const ValidatedEntry&)>& save) {
    SaveOutcome outcome = SaveOutcome::Failed;
    guarded([&] {
        db::Transaction transaction(database());
        const auto entry = validateEntry(validationContext(), *d.kind, saveKind, d.typed, d.lines);
        if (!entry) {
            outcome = SaveOutcome::Refused;
            return;
        }
        SaveContext context = saveContext(status);
        if (!save(context, *entry)) return;
        transaction.commit();
        outcome = SaveOutcome::Saved;
    });
    return outcome;
}

void ARform_invoice::saveNewInvoice() {
    const InvoiceKind& documentKind = kind().name == kSaleInvoiceKind ? kindNamed(kInvoiceKind)
                                                                      : kind();
    const InvoiceDraft d = draft(documentKind);
    std::string status;
    std::optional<std::string> fkey;
    const SaveOutcome outcome = validateAndSave(
        d, SaveKind::NewDocument, status, [&](SaveContext& context, const ValidatedEntry& entry) {
            fkey = saveNewDocument(context, d, entry);
            return fkey.has_value();
        });
    if (outcome == SaveOutcome::Refused) return stayInMode(Mode::New);
    setStatus(status);
    if (outcome == SaveOutcome::Failed) {
        ui().message(std::string(documentKind.addFailed));
        return stayInMode(Mode::New);
    }
    ui().message(std::string(documentKind.added));
    showDocumentWithKey(*fkey);
}

void ARform_invoice::saveEditedInvoice() {
    const InvoiceKind& documentKind = kindOfDoctype(m_shown->header.doctype);
    const InvoiceDraft d = draft(documentKind);
    std::string status;
    const SaveOutcome outcome = validateAndSave(
        d, SaveKind::Edit, status, [&](SaveContext& context, const ValidatedEntry& entry) {
            return saveEditedDocument(context, d, entry);
        });
    if (outcome == SaveOutcome::Refused) return stayInMode(Mode::Edit);
    if (outcome == SaveOutcome::Failed) {
        ui().message("Update invoice failed");
        return stayInMode(Mode::Edit);
    }
    ui().message("Update Invoice complete");
    showDocumentWithKey(d.fkey);
}

// --- Header reactions -------------------------------------------------------------------------

void ARform_invoice::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtinvdate") return invoiceDateChanged();
        if (control == "txtduedate" || control == "txtdiscdate") return retypeDate(control);
        if (control == "txteffectdate" || control == "txtexpiredate") return retypeDate(control);
        if (control == "txtratedate") {
            retypeDate(control);
            return takeLatestRate();
        }
        if (control == "chkrecur") return recurringToggled();
        if (control == "cmbcustno") return customerChosen();
        if (control == "cmbcustname") return customerNameChosen();
        if (control == "cmbterm") return termChosen();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") return rateChosen();
        if (control == "cmbdoctype") return setKind(value("cmbdoctype"));
        // A number typed or picked while browsing is a jump to that document.
        const bool jump = control == "txtdocno" || control == "cmbopendoc";
        if (!jump || mode() != Mode::Browse) return;
        if (recurring()) return gotoRecurringNumber(trimmedText(value(control)));
        gotoNumber(trimmedText(value(control)));
    });
}

}  // namespace keltro::invoice
