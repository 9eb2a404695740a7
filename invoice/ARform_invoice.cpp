#include "invoice/ARform_invoice.h"

#include <algorithm>
#include <cstdlib>

#include "framework/FontBar.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
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
using framework::Mode;
using services::FormatAmount;

namespace {

constexpr const char* kLines = "dbgrid1";
constexpr const char* kTaxDetails = "grid_tax";
constexpr const char* kTaxSummary = "grid_tax_summary";
constexpr const char* kTaxDetailsWindow = "Tax Details Window";
constexpr const char* kTaxSummaryWindow = "Tax Summary Window";
constexpr const char* kAddressWindow = "Address Window";

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
// Editing a document of another source opens only these.
const std::vector<std::string> kEditableOfOtherSources = {"txtremark", "txtduedate",
                                                          "txtdiscdate", "cmbterm"};

bool among(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

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

ARform_invoice::ARform_invoice() : Screen("ARform_invoice", "A/R Invoice Entry") {
    declareHeader();
    declareRecurringFields();
    declareTotals();
    declareGrids();
    declareCommands();
    arrangeWindow();
    attachActions();
}

void ARform_invoice::declareHeader() {
    addField({.name = "cmbdoctype", .kind = FieldKind::Combo, .caption = "Document type",
              .value = "Invoice", .items = kindNames()});
    addField({.name = "txtdoctype", .caption = "Document type code", .value = "ar",
              .visible = false});
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    addField({.name = "txtdocno", .caption = "Document no"});
    addField({.name = "txtfkey", .caption = "Key", .locked = true});
    addField({.name = "txtglfkey", .caption = "G/L key", .locked = true});
    addField({.name = "txtid", .caption = "Id", .locked = true});
    addField({.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
              .columnSpec = "0;1500;^;Customer no|1;3000;<;Name"});
    addField({.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
              .columnSpec = "0;3000;<;Customer name|1;1500;^;No"});
    addField({.name = "txtinvdate", .kind = FieldKind::Date, .caption = "Invoice Date"});
    addField({.name = "cmbterm", .kind = FieldKind::Combo, .caption = "Payment term",
              .columnSpec = "0;1700;<;Term|1;700;^;Code"});
    addField({.name = "txtduedate", .kind = FieldKind::Date, .caption = "Due date"});
    addField({.name = "txtdiscdate", .kind = FieldKind::Date, .caption = "Discount date"});
    addField({.name = "cmbcurrency", .kind = FieldKind::Combo, .caption = "Currency"});
    addField({.name = "cmbexrate", .kind = FieldKind::Combo, .caption = "Exchange rate",
              .columnSpec = "0;1500;<;Rate|1;1500;^;Rate Date"});
    addField({.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    addField({.name = "txtcustomer_po", .caption = "Customer PO"});
    addField({.name = "txtorder_no", .caption = "Order no"});
    addField({.name = "txtapplydoc", .caption = "Apply to document", .locked = true});
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtbill_address", .kind = FieldKind::MultiLine,
              .caption = "Bill-to address"});
    addField({.name = "txtship_address", .kind = FieldKind::MultiLine,
              .caption = "Ship-to address"});
    addField({.name = "txtsource", .caption = "Source", .locked = true});
    addField({.name = "txtsource_docno", .caption = "Source document", .locked = true});
    addField({.name = "txtprepayment", .caption = "Prepayment", .locked = true});
    addField({.name = "txtppfkey", .caption = "Prepayment key", .locked = true});
    // The button beside the prepayment, run by its control name: it opens the prepayment.
    addCommand({.caption = "cmdprepay"});
    addField({.name = "chkpaid", .kind = FieldKind::Check, .caption = "Paid", .value = "0",
              .locked = true, .triState = true});
    addField({.name = "chkvoid", .kind = FieldKind::Check, .caption = "Void", .value = "0",
              .locked = true});
    addField({.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
              .locked = true});
    addField({.name = "cmbopendoc", .kind = FieldKind::Combo, .caption = "Open Doc."});
}

// A recurring definition's own fields; its name takes the place of the invoice date.
void ARform_invoice::declareRecurringFields() {
    addField({.name = "chkrecur", .kind = FieldKind::Check, .caption = "Recurring", .value = "0"});
    addField({.name = "txtrecurname", .caption = "Recur name", .visible = false});
    // A day of the month (0 to 31), not a date.
    addField({.name = "txtrecurdate", .caption = "Recurring date"});
    addField({.name = "txteffectdate", .kind = FieldKind::Date, .caption = "Effective date"});
    addField({.name = "txtexpiredate", .kind = FieldKind::Date, .caption = "Expiration date"});
    addField({.name = "txtnoinvoice", .caption = "No of invoice"});
    addField({.name = "cmbfreq", .kind = FieldKind::Combo, .caption = "Frequency",
              .items = {"monthly", "quarterly"}});
}

void ARform_invoice::declareTotals() {
    addField({.name = "txtgross", .caption = "Taxable amount", .value = "0.00", .locked = true, .footer = true});
    addField({.name = "txttax", .caption = "Tax", .value = "0.00", .locked = true, .footer = true});
    addField({.name = "txttotal", .caption = "Total", .value = "0.00", .locked = true, .footer = true});
}

void ARform_invoice::declareGrids() {
    addGrid({.name = kLines,
             .declaredCaptions = {"pay item", "description", "gross amount", "open amount",
                                  "taxable amount", "tax amount", "tax code", "currency", "paid",
                                  "discount taken", "write-off", "source form", "user created",
                                  "sales account", "account name", "created date",
                                  "created time", "computer id"},
             .lookupColumns = {{"tax code", "0;1500;<;Tax code|1;3000;<;Description"},
                               {"sales account", "0;1500;<;account|1;3000;<;name"}}});
    addGrid({.name = kTaxDetails,
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"no", "tax authority", "taxable amount", "rate", "tax amount",
                                  "taxable", "tax code"},
             .page = kTaxDetailsWindow});
    addGrid({.name = kTaxSummary,
             .layoutForm = "SOform_invoice",
             .layoutIsBorrowed = true,
             .declaredCaptions = {"tax authority", "taxable amount", "rate", "tax amount"},
             .locked = true,
             .page = kTaxSummaryWindow});
    // The font bar works on the grids above.
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARform_invoice::declareCommands() {
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
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
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

void ARform_invoice::attach(const std::string& caption, std::function<void()> action) {
    mutableCommand(caption).action = [this, action = std::move(action)] { guarded(action); };
}

void ARform_invoice::attachActions() {
    attach("&Save", [this] { saveCommand(); });
    attach("&Preview", [this] { preview(); });
    attach("&New", [this] { newCommand(); });
    attach("&Edit mode", [this] { editCommand(); });
    attach("&Insert Line", [this] { insertLine(); });
    attach("&Delete Line", [this] { deleteLine(); });
    attach("&Bill-To/Ship-To Address", [this] { openWindow(kAddressWindow); });
    attach("&Copy Customer Address", [this] { copyCustomerAddress(); });
    attach("View &Invoice", [this] { viewKind(kInvoiceKind); });
    attach("View Invoice from &Sales", [this] { viewKind(kSaleInvoiceKind); });
    attach("View &Credit Note", [this] { viewKind(kCreditNoteKind); });
    attach("View &Debit Note", [this] { viewKind(kDebitNoteKind); });
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

void ARform_invoice::guarded(const std::function<void()>& step, const std::string& failure) {
    try {
        step();
    } catch (const std::exception& e) {
        ui().message(e.what());
        if (!failure.empty()) ui().message(failure);
    }
}

// --- What the host asks ----------------------------------------------------------------

void ARform_invoice::openAs(const std::string& doctypex) {
    const std::string_view wanted = requestedKind(doctypex);
    if (wanted == kInvoiceKind || !rights().update) return viewKind(wanted);
    setKind(wanted);
    guarded([this] { beginNew(); });
}

void ARform_invoice::switchTo(const std::string& doctypex) {
    const std::string_view wanted = requestedKind(doctypex);
    if (kind().name == wanted) return;
    setKind(wanted);
    guarded([this] { beginNew(); });
}

void ARform_invoice::gotoFkey(const std::string& fkeyx) {
    setValue("txtfkey", fkeyx);
    guarded([&] {
        if (auto document = store::loadDocument(database(), fkeyx)) showDocument(*document);
    });
}

void ARform_invoice::gotoDocno(const std::string& docnox) {
    setValue("txtdocno", docnox);
    guarded([&] { gotoNumber(docnox); });
}

void ARform_invoice::gotoRecurringNo(const std::string& docnox) {
    setValue("chkrecur", "1");
    setValue("txtdocno", docnox);
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

void ARform_invoice::enterMode(Mode mode) {
    setMode(mode);
    mutableCommand("&New").checked = mode == Mode::New;
    mutableCommand("&Edit mode").checked = mode == Mode::Edit;
    applyLocks();
}

bool ARform_invoice::fieldEditable(const std::string& control) const {
    switch (mode()) {
        case Mode::New: return true;
        case Mode::Edit:
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
    setLocked("txtdocno", mode() == Mode::Edit);
    mutableGrid(kLines).locked = !linesEditable();
    mutableGrid(kTaxDetails).locked = !linesEditable();
}

bool ARform_invoice::isSavedDocumentShown() const {
    return m_shown.has_value() && mode() != Mode::New;
}

// --- Showing documents --------------------------------------------------------------------

void ARform_invoice::applyFields(const FieldValues& values) {
    for (const auto& [control, text] : values) setValue(control, text);
}

void ARform_invoice::showDocument(const store::ArDocument& document) {
    const store::ArHeader& h = document.header;
    m_shown = document;
    setKind(kindOfDoctype(h.doctype).name);
    const auto customer = store::findCustomer(database(), h.customerNo);
    applyFields(headerFields(h, customer ? customer->name : "", context().KELTRO_DATE_FORMAT));
    auto& rates = mutableField("cmbexrate").items;
    rates.clear();
    if (!h.currency.empty() && h.currency != context().BASE_CURRENCY)
        rates = framework::lists::exchangeRates(
            database(), h.currency, h.rateDate,
            [this](const db::Date& d) { return dateText(d, context().KELTRO_DATE_FORMAT); });
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
    applyFields(emptyHeaderFields());
    mutableField("cmbexrate").items.clear();
    setLinesFrom({});
    enterMode(Mode::Browse);
}

void ARform_invoice::showLastOfKind() {
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
        ui().message("Document no. " + docno + " not found");
}

// Next or previous by key number; from an unsaved document, the last one.
void ARform_invoice::step(int direction) {
    if (mode() == Mode::Edit) return;
    if (!isSavedDocumentShown()) return showLastOfKind();
    if (auto document = steppedDocument(database(), std::string(kind().doctype),
                                        m_shown->header.fkey, direction))
        showDocument(*document);
}

void ARform_invoice::refreshShown() {
    if (mode() == Mode::Edit || !isSavedDocumentShown()) return;
    const std::string fkey = m_shown->header.fkey;
    showDocumentWithKey(fkey);
}

// --- New ------------------------------------------------------------------------------------

void ARform_invoice::newCommand() {
    auto& command = mutableCommand("&New");
    if (mode() == Mode::Edit) {
        command.checked = false;  // "&New" does nothing while editing
        return;
    }
    if (command.checked) return beginNew();
    leaveNew();
}

void ARform_invoice::beginNew() {
    if (kind().name == kSaleInvoiceKind) setKind(kInvoiceKind);
    m_shown.reset();
    applyNewDefaults();
    enterMode(Mode::New);
}

void ARform_invoice::applyNewDefaults() {
    const std::string customerNo = value("cmbcustno");
    applyFields(emptyHeaderFields());
    setLinesFrom({});
    setValue("txtdocno", framework::kNewDocumentNo);
    setValue("txtsource", kSourceInvoice);
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
    setValue("txtinvdate", dateText(clock().today(), context().KELTRO_DATE_FORMAT));
    invoiceDateChanged();
}

// "&New" released: save what was typed, or go back to the last document.
void ARform_invoice::leaveNew() {
    const bool typed = !lineEditor().firstDescription().empty();
    if (typed && ui().ask("Do you want to save new entry?")) return saveNew();
    showLastOfKind();
}

// --- Edit -------------------------------------------------------------------------------------

void ARform_invoice::editCommand() {
    auto& command = mutableCommand("&Edit mode");
    if (mode() == Mode::New || (mode() == Mode::Browse && !isSavedDocumentShown())) {
        command.checked = false;
        return;
    }
    if (command.checked) return beginEdit();
    leaveEdit();
}

void ARform_invoice::beginEdit() {
    mutableCommand("&Edit mode").checked = false;
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
    const std::string fkey = m_shown->header.fkey;
    showDocumentWithKey(fkey);
}

// --- Saving -----------------------------------------------------------------------------------

void ARform_invoice::saveCommand() {
    if (mode() == Mode::New) return saveNew();
    if (mode() == Mode::Edit) saveEdit();
}

const services::Clock& ARform_invoice::clock() const {
    return context().clock ? *context().clock : m_systemClock;
}

std::optional<db::Date> ARform_invoice::shownDate(const std::string& control) const {
    return framework::dateOfText(value(control), context().KELTRO_DATE_FORMAT);
}

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
    d.lines = entryLines(grid(kLines).rows);
    d.taxes = &m_taxes;
    d.linesChanged = m_linesChanged;
    return d;
}

ValidationContext ARform_invoice::validationContext() const {
    return {database(), ui(), context().BASE_CURRENCY, m_moduleReceivable};
}

SaveContext ARform_invoice::saveContext(std::string& status) {
    return {database(),          ui(),       ledger(),  clock(), context().KELTRO_USER,
            context().BASE_CURRENCY, m_rounding, &status};
}

services::LedgerContext& ARform_invoice::ledger() {
    if (!m_ledger) m_ledger.emplace(database(), ui());
    return *m_ledger;
}

// After a failed save the screen keeps what was typed and stays in its mode.
void ARform_invoice::stayInMode(Mode mode) {
    if (mode == Mode::New) {
        setValue("txtdocno", framework::kNewDocumentNo);
        setValue("txtfkey", "");
        setValue("txtglfkey", "");
    }
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

void ARform_invoice::saveNew() {
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

void ARform_invoice::saveEdit() {
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
        if (control == "txtduedate" || control == "txtdiscdate") return dateChanged(control);
        if (control == "txtratedate") {
            dateChanged(control);
            return takeLatestRate();
        }
        if (control == "cmbcustno") return customerChosen();
        if (control == "cmbcustname") return customerNameChosen();
        if (control == "cmbterm") return termChosen();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") return rateChosen();
        if (control == "cmbdoctype") return setKind(value("cmbdoctype"));
        // A number typed or picked while browsing is a jump to that document.
        const bool jump = control == "txtdocno" || control == "cmbopendoc";
        if (jump && mode() == Mode::Browse) gotoNumber(trimmedText(value(control)));
    });
}

// A typed date is read in the user's format and shown in it again; a refused one empties
// the field.
void ARform_invoice::dateChanged(const std::string& control) {
    const std::string typed = trimmedText(value(control));
    if (typed.empty()) return;
    const auto date = services::ParseUserDate(ui(), typed, context().KELTRO_DATE_FORMAT);
    setValue(control, dateText(date, context().KELTRO_DATE_FORMAT));
}

void ARform_invoice::invoiceDateChanged() {
    dateChanged("txtinvdate");
    const auto date = shownDate("txtinvdate");
    if (!date) return;
    const auto period = services::FiscalPeriodOfDate(database(), ui(), *date);
    if (!period) return;
    setValue("cmbfyear", period->fyear);
    setValue("cmbperiod", std::to_string(period->period));
}

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
    const std::string name = value("cmbcustname");
    for (const auto& item : field("cmbcustname").items)
        if (framework::ItemColumn(item, 0) == name) {
            setValue("cmbcustno", framework::ItemColumn(item, 1));
            return customerChosen();
        }
    ui().message("Customer number is invalid");
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
    setValue("txtduedate", dateText(dates.dueDate, context().KELTRO_DATE_FORMAT));
    setValue("txtdiscdate", dateText(dates.discountDate, context().KELTRO_DATE_FORMAT));
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
    auto& rates = mutableField("cmbexrate").items;
    if (currency.empty() || currency == context().BASE_CURRENCY) {
        rates.clear();
        setValue("cmbexrate", "");
        setValue("txtratedate", "");
        return;
    }
    const auto onOrBefore = shownDate("txtratedate");
    const std::string& format = context().KELTRO_DATE_FORMAT;
    rates = framework::lists::exchangeRates(database(), currency, onOrBefore,
                                            [&](const db::Date& d) { return dateText(d, format); });
    const auto latest = store::latestExchangeRate(database(), currency, onOrBefore);
    setValue("cmbexrate", latest ? numberText(latest->rate) : "");
    setValue("txtratedate", latest ? dateText(latest->rateDate, format) : "");
}

// A rate picked from the list brings its date.
void ARform_invoice::rateChosen() {
    const std::string rate = trimmedText(value("cmbexrate"));
    for (const auto& item : field("cmbexrate").items)
        if (framework::ItemColumn(item, 0) == rate) {
            setValue("txtratedate", framework::ItemColumn(item, 1));
            return dateChanged("txtratedate");
        }
}

// --- Lines and tax ----------------------------------------------------------------------------

LineGridEditor ARform_invoice::lineEditor() {
    return {database(), ui(), mutableGrid(kLines), m_taxes, m_lineState, m_salesAccounts};
}

bool ARform_invoice::acceptCell(const std::string& gridName, std::size_t row,
                                const std::string& caption, const std::string& text) {
    if (gridName == kLines) return lineEditor().acceptLineCell(row, caption, text);
    if (gridName == kTaxDetails) return lineEditor().acceptTaxCell(row, caption, text);
    return true;
}

void ARform_invoice::onCellChanged(const std::string& gridName, std::size_t row,
                                   const std::string& caption) {
    guarded([&] {
        if (gridName == kLines) lineEditor().lineCellChanged(row, caption);
        if (gridName == kTaxDetails)
            lineEditor().taxCellChanged(row, caption,
                                        cellText(grid(kTaxDetails).rows.at(row), caption));
        linesChanged();
    });
}

void ARform_invoice::onCellClicked(const std::string& gridName, std::size_t row,
                                   const std::string& /*caption*/) {
    if (gridName == kLines) m_lineState.currentRow = row;
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
    const Totals totals = totalsOf(entryLines(grid(kLines).rows));
    setValue("txtgross", FormatAmount(totals.taxable));
    setValue("txttax", FormatAmount(totals.tax));
    setValue("txttotal", FormatAmount(totals.total));
}

void ARform_invoice::refreshTaxGrids() {
    mutableGrid(kTaxDetails).rows = taxDetailRows(m_taxes);
    mutableGrid(kTaxSummary).rows = taxSummaryRows(m_taxes);
}

// --- Commands around a saved document -----------------------------------------------------------

void ARform_invoice::voidCommand() {
    if (mode() != Mode::Browse || !m_shown || m_shown->header.fkey.empty()) return;
    const std::string fkey = m_shown->header.fkey;
    std::string status;
    bool voided = false;
    guarded(
        [&] {
            SaveContext context = saveContext(status);
            voided = voidDocument(context, fkey);
        },
        "Void invoice failed");
    if (!voided) return;
    showDocumentWithKey(fkey);
    setValue("chkvoid", "1");
    ui().message("Void invoice complete");
}

void ARform_invoice::receiptThisInvoice() {
    if (!isSavedDocumentShown()) return;
    const store::ArHeader& h = m_shown->header;
    if (h.isVoid) return ui().message(h.docno + " was void.");
    if (!isInvoice(kind())) return;
    if (h.fullyPaid) return ui().message("Invoice was fully-paid");
    const bool linePaid =
        std::any_of(m_shown->lines.begin(), m_shown->lines.end(),
                    [](const store::ArLine& l) { return l.paid || !l.status.empty(); });
    if (linePaid) return ui().message("Invoice was paid");
    raiseNotification("Receipt This Invoice", h.docno, h.customerNo);
}

void ARform_invoice::receiptHistory() {
    if (isSavedDocumentShown())
        raiseNotification("Invoice Receipt History", m_shown->header.docno, "");
}

void ARform_invoice::glRecord() {
    if (isSavedDocumentShown() && !m_shown->header.glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->header.glFkey, "");
}

void ARform_invoice::originDocument() {
    if (!isSavedDocumentShown()) return;
    const store::ArHeader& h = m_shown->header;
    if (h.source == "SO-INVOICE") raiseNotification("Sales Invoice Entry", h.sourceDocno, "");
    if (h.source == "SO-CRNOTE") raiseNotification("Credit Note", h.sourceDocno, "");
}

void ARform_invoice::prepaymentButton() {
    if (isSavedDocumentShown() && m_shown->header.prepayment.value_or(0) > 0)
        raiseNotification("A/R Prepayment", m_shown->header.ppfkey, "");
}

// The address window's copy: the customer's address as the bill-to address (and as the
// ship-to address while that is empty).
void ARform_invoice::copyCustomerAddress() {
    if (!fieldEditable("txtbill_address")) return;
    const auto customer = store::findCustomer(database(), trimmedText(value("cmbcustno")));
    if (!customer) return;
    setValue("txtbill_address", customer->address);
    if (trimmedText(value("txtship_address")).empty())
        setValue("txtship_address", customer->address);
}

void ARform_invoice::preview() {
    const InvoiceKind& k = kind();
    if (k.printTitle.empty() || !isSavedDocumentShown()) return;
    const PrintedDocument printed{m_shown->header.fkey,   value("cmbcustname"),
                                  value("txtinvdate"),    value("txtratedate"),
                                  value("cmbterm"),       value("txtduedate"),
                                  value("txtdiscdate"),   k.name == kCreditNoteKind};
    raiseNotification("ActiveReport", std::string(k.printTitle) + m_shown->header.docno + ",0",
                      previewQuery(printed));
}

void ARform_invoice::viewKind(std::string_view kindName) {
    setKind(kindName);
    showLastOfKind();
    if (command("&Open Invoice Only").checked) fillOpenDocuments();
}

void ARform_invoice::openOnly() {
    if (command("&Open Invoice Only").checked) return fillOpenDocuments();
    mutableField("cmbopendoc").items.clear();
}

void ARform_invoice::viewAll() {
    mutableCommand("&Open Invoice Only").checked = false;
    mutableField("cmbopendoc").items.clear();
    setValue("cmbopendoc", "");
}

void ARform_invoice::fillOpenDocuments() {
    auto& list = mutableField("cmbopendoc").items;
    list = store::openDocumentNumbers(database(), kind().doctype);
    if (list.empty()) ui().message("There is no opening invoice.");
}

}  // namespace keltro::invoice
