#include "matching/ARform_prepayment.h"

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "matching/PrepaymentDisplay.h"
#include "matching/PrepaymentVoid.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptDisplay.h"
#include "receipts/ReceiptFields.h"
#include "receipts/ReceiptNavigation.h"
#include "receipts/ReceiptPrint.h"
#include "receipts/ReceiptValidation.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/Accounts.h"

namespace keltro::matching {

using framework::FieldKind;
using framework::Mode;
using framework::trimmedText;
using receipts::numberOf;
using services::FormatAmount;

namespace {

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kOrderGrid = "dbgrid_order";
constexpr std::string_view kLiabilityParameter = "AR Prepayment Liability account";

// The controls a person types into while entering a prepayment.
const std::vector<std::string> kEntryFields = {
    "txtrcdate",  "cmbperiod",   "cmbfyear",    "cmbcustno",   "cmbcustname",
    "txtrcno",    "txtrcamount", "cmbcurrency", "cmbexrate",   "txtratedate",
    "cmbpayby",   "cmbcash",     "cmbbank",     "txtcheck",    "txtcheckdate",
    "txtpayer",   "txtremark",   "txtorder_no", "txtcustomer_po"};

}  // namespace

ARform_prepayment::ARform_prepayment() : DocumentScreen("ARform_prepayment", "A/R Prepayment") {
    declareHeader();
    declareGrids();
    declareCommands();
    arrangeWindow();
    attachActions();
}

void ARform_prepayment::declareHeader() {
    for (auto& f : receipts::documentFields(kPrepaymentDoctype)) addField(std::move(f));
    addField(receipts::journalKeyField());
    for (auto& f : receipts::customerFields()) addField(std::move(f));
    for (auto& f : receipts::receiptDateFields()) addField(std::move(f));
    addField({.name = "txtrcamount", .caption = "Receipt amount"});
    addField({.name = "txtreceipt_base", .caption = "Base-currency amount", .locked = true});
    for (auto& f : receipts::currencyFields()) addField(std::move(f));
    for (auto& f : receipts::paymentFields()) addField(std::move(f));
    addField({.name = "labelbank_currency", .kind = FieldKind::Label, .caption = "Bank account"});
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtorder_no", .caption = "Order no"});
    addField({.name = "txtcustomer_po", .caption = "Customer PO"});
    addField({.name = "txtliability_account", .caption = "Prepayment liability account",
              .locked = true});
    // The invoice that consumed the prepayment.
    addField({.name = "txtprepayment_invoice_no", .caption = "Applied to invoice", .locked = true});
    addField({.name = "txtsource", .caption = "Source", .locked = true});
    addField({.name = "txtfast_docno", .caption = "Fast receipt no", .locked = true});
    for (auto& f : receipts::flagFields()) addField(std::move(f));
}

void ARform_prepayment::declareGrids() {
    // The lines of the shown prepayment, for reading only.
    addGrid({.name = kGrid,
             .declaredCaptions = {"pay item", "invoice no", "invoice date", "gross amount",
                                  "open amount", "applied amount", "balance", "currency",
                                  "computer id"},
             .locked = true});
    addWindow(kSalesOrderWindow);
    addGrid({.name = kOrderGrid,
             .declaredCaptions = {"order no", "back-order quantity"},
             .locked = true,
             .page = kSalesOrderWindow});
}

void ARform_prepayment::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand("Preview"));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("New")) addCommand(std::move(c));
    for (auto& c : framework::voidMenuCommands(*this, "&Void prepayment")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand({.menu = "&Link", .caption = "Origin Document", .toolbar = "Origin"});
    // The customer's back-ordered sales-order lines.
    addCommand({.caption = "Sales Order", .toolbar = "order"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("AR Prepayment Help", "AR Prepayment Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

// Who paid and how much on top, how it was paid beside, the prepayment's particulars and
// where it went last.
void ARform_prepayment::arrangeWindow() {
    arrangeGroups({
        {"Customer and amount", {"cmbcustno", "cmbcustname", "txtpayer", "txtrcamount", "cmbcurrency",
                                 "cmbexrate", "txtratedate", "txtreceipt_base"}},
        {"Payment", {"txtrcno", "cmbpayby", "cmbcash", "cmbbank", "labelbank_currency", "txtcheck",
                     "txtcheckdate", "txtremark", "txtorder_no", "txtcustomer_po"}},
        {"Prepayment", {"txtdocno", "txtrcdate", "cmbfyear", "cmbperiod", "cmbcompany", "txtid",
                        "txtfkey", "txtglfkey", "txtliability_account", "txtprepayment_invoice_no",
                        "txtsource", "txtfast_docno", "chkprint", "chkvoid"}},
    });
}

void ARform_prepayment::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Void prepayment", [this] { voidCommand(); });
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLast(); });
    attach("&Refresh record", [this] { refresh(); });
    attach("&G/L Record", [this] { glRecord(); });
    attach("Origin Document", [this] { originDocument(); });
    attach("Sales Order", [this] { salesOrders(); });
}

// --- What the host asks ---------------------------------------------------------------

// The value asked for stays in its field when no prepayment has it.
void ARform_prepayment::gotoFkey(const std::string& fkeyx) {
    setValue("txtfkey", fkeyx);
    guarded([&] {
        const auto header = receipts::findReceipt(database(), fkeyx);
        if (header && header->doctype == kPrepaymentDoctype) return showPrepayment(*header);
        documentNotFound(fkeyx);
    });
}

// --- Opening --------------------------------------------------------------------------

void ARform_prepayment::onLoad() {
    fillLists();
    readModuleAccounts();
    showLast();
}

void ARform_prepayment::fillLists() {
    for (auto& [control, items] :
         receipts::receivedMoneyLists(database(), context().KELTRO_NO_PERIODS))
        mutableField(control).items = std::move(items);
}

void ARform_prepayment::readModuleAccounts() {
    namespace parameter = store::parameter;
    db::Database& db = database();
    m_accounts = {store::defaultModuleAccount(db, parameter::kAr, kLiabilityParameter),
                  store::defaultModuleAccount(db, parameter::kGl, parameter::kRealizedGain),
                  store::defaultModuleAccount(db, parameter::kGl, parameter::kRealizedLoss)};
}

// --- State -------------------------------------------------------------------------------

void ARform_prepayment::applyLocks() {
    const bool entering = mode() != Mode::Browse;
    for (const auto& control : kEntryFields) setLocked(control, !entering);
    setLocked("cmbcompany", true);
    setLocked("txtdocno", entering);
}

// --- Showing prepayments -------------------------------------------------------------------

void ARform_prepayment::showPrepayment(const receipts::ReceiptHeader& header) {
    m_shown = header;
    const auto customer = store::findCustomer(database(), header.customerNo);
    for (const auto& [control, text] : receipts::receiptFields(
             header, customer ? customer->name : "", context().KELTRO_DATE_FORMAT))
        if (hasField(control)) setValue(control, text);
    applyFields(ownFields(header));
    mutableField("cmbexrate").items.clear();
    showStoredLines(header.fkey);
    enterMode(Mode::Browse);
}

void ARform_prepayment::showStoredLines(const std::string& fkey) {
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    for (const auto& line : receipts::receiptLines(database(), fkey))
        rows.push_back(storedRow(line, context().KELTRO_DATE_FORMAT));
}

void ARform_prepayment::showWithKey(const std::string& fkey) {
    if (const auto header = receipts::findReceipt(database(), fkey)) showPrepayment(*header);
}

void ARform_prepayment::showNone() {
    m_shown.reset();
    applyFields(entryDefaults(""));
    setValue("txtdocno", "");
    setValue("txtsource", "");
    mutableGrid(kGrid).rows.clear();
    enterMode(Mode::Browse);
}

void ARform_prepayment::showLast() {
    if (const auto fkey = receipts::lastReceiptKey(database(), kPrepaymentDoctype))
        showWithKey(*fkey);
    else
        showNone();
}

// Next or previous in the order they were saved; from an entry, the last one.
void ARform_prepayment::step(int direction) {
    if (!m_shown || mode() != Mode::Browse) return showLast();
    const auto fkey =
        receipts::neighbourReceiptKey(database(), m_shown->id, direction, kPrepaymentDoctype);
    showWithKey(fkey ? *fkey : m_shown->fkey);
}

void ARform_prepayment::refresh() {
    if (m_shown && mode() == Mode::Browse) showWithKey(m_shown->fkey);
}

void ARform_prepayment::gotoNumber(const std::string& docno) {
    if (const auto header = receipts::findReceiptByDocno(database(), docno, kPrepaymentDoctype))
        return showPrepayment(*header);
    documentNotFound(docno);
}

// --- Entering and saving ----------------------------------------------------------------------

void ARform_prepayment::startEntry(Mode mode) {
    m_shown.reset();
    applyFields(entryDefaults(shownDateText(clock().today())));
    setValue("cmbcurrency", context().BASE_CURRENCY);
    mutableGrid(kGrid).rows.clear();
    enterMode(mode);
    periodFromDate("txtrcdate");
}

// Leaving an entry that has a customer and an amount offers to save it first.
void ARform_prepayment::leaveEntry() {
    if (entryWorthSaving() && ui().ask("Do you want to save new entry?") && save()) return;
    showLast();
}

bool ARform_prepayment::entryWorthSaving() const {
    const std::string amount = trimmedText(value("txtrcamount"));
    return !trimmedText(value("cmbcustno")).empty() && !amount.empty() && amount != "0.00";
}

// The checks, then the save in its transaction; once committed, the last prepayment (the
// one just saved) on screen. False when it was refused or failed; the entry stays.
bool ARform_prepayment::save() {
    const PrepaymentDraft d = draft();
    const auto checked = checkNewPrepayment({database(), ui(), context().BASE_CURRENCY}, d);
    if (!checked) return false;
    std::optional<SavedPrepayment> saved;
    guarded([&] {
        auto where = saveContext();
        saved = saveNewPrepayment(where, d, *checked);
    });
    if (!saved) {
        clearNewNumber();
        ui().message("Add new prepayment failed");
        return false;
    }
    ui().message("Add new Prepayment complete");
    showLast();
    return true;
}

PrepaymentDraft ARform_prepayment::draft() const {
    PrepaymentDraft d;
    d.amountText = value("txtrcamount");
    d.receiptDate = shownDate("txtrcdate");
    d.customerNo = value("cmbcustno");
    d.payby = value("cmbpayby");
    d.cashAccno = framework::ItemValue(trimmedText(value("cmbcash")));
    d.bankCode = framework::ItemValue(trimmedText(value("cmbbank")));
    d.checkNo = value("txtcheck");
    d.checkDate = shownDate("txtcheckdate");
    d.currency = value("cmbcurrency");
    d.rateText = value("cmbexrate");
    d.rateDate = isForeign() ? shownDate("txtratedate") : std::nullopt;
    d.periodText = value("cmbperiod");
    d.fyear = value("cmbfyear");
    d.receiptNo = value("txtrcno");
    d.payer = value("txtpayer");
    d.remark = value("txtremark");
    d.orderNo = value("txtorder_no");
    d.customerPo = value("txtcustomer_po");
    return d;
}

PrepaymentSaveContext ARform_prepayment::saveContext() {
    return {database(), ui(), clock(), ledger(), context().KELTRO_USER, context().BASE_CURRENCY,
            m_accounts};
}

// --- Header reactions ---------------------------------------------------------------------------

void ARform_prepayment::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtrcdate") return periodFromDate(control);
        if (control == "txtcheckdate") return retypeDate(control);
        if (control == "txtratedate") return rateDateChanged();
        if (control == "cmbcustno") return customerChosen();
        if (control == "cmbcustname") return customerNameChosen();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") return rateChosen();
        if (control == "txtrcamount") return amountChanged();
        if (control == "txtdocno" && mode() == Mode::Browse)
            gotoNumber(trimmedText(value(control)));
    });
}

// The customer's name; a new entry takes the customer's currency.
void ARform_prepayment::customerChosen() {
    const auto customer = store::findCustomer(database(), trimmedText(value("cmbcustno")));
    setValue("cmbcustname", customer ? customer->name : "");
    if (!customer) return;
    setValue("cmbcustno", customer->customerNo);
    if (mode() == Mode::Browse || customer->currency.empty()) return;
    setValue("cmbcurrency", customer->currency);
    currencyChosen();
}

void ARform_prepayment::customerNameChosen() {
    const auto customerNo = customerOfPickedName();
    if (!customerNo) return;
    setValue("cmbcustno", *customerNo);
    customerChosen();
}

bool ARform_prepayment::isForeign() const {
    const std::string currency = trimmedText(value("cmbcurrency"));
    return !currency.empty() && currency != context().BASE_CURRENCY;
}

// The base currency (or none) takes no rate; a foreign one lists its rates up to the rate
// date, to be picked.
void ARform_prepayment::currencyChosen() {
    if (!isForeign()) {
        setValue("cmbexrate", "");
        setValue("txtratedate", "");
    }
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtratedate"));
    refreshBaseAmount();
}

void ARform_prepayment::rateDateChanged() {
    retypeDate("txtratedate");
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtratedate"));
}

void ARform_prepayment::rateChosen() {
    takeDateOfPickedRate();
    refreshBaseAmount();
}

void ARform_prepayment::amountChanged() {
    if (const auto amount = numberOf(value("txtrcamount")))
        setValue("txtrcamount", FormatAmount(services::roundMoney(*amount)));
    refreshBaseAmount();
}

// The amount in base currency: at the rate when the currency is foreign and has one.
void ARform_prepayment::refreshBaseAmount() {
    const auto amount = numberOf(value("txtrcamount"));
    const auto rate = numberOf(value("cmbexrate"));
    const bool atRate = isForeign() && rate.has_value();
    setValue("txtreceipt_base",
             amount ? FormatAmount(receipts::receiptBaseAmount(services::roundMoney(*amount),
                                                                rate.value_or(1), atRate))
                    : "");
}

// --- Commands around a stored prepayment ------------------------------------------------------

void ARform_prepayment::voidCommand() {
    if (mode() != Mode::Browse || !m_shown) return;
    const auto stored = receipts::findReceipt(database(), m_shown->fkey);
    if (!stored) return;
    if (const std::string refusal = prepaymentVoidRefusal(*stored); !refusal.empty())
        return ui().message(refusal);
    if (!ui().ask("Are you sure to void this prepayment?")) return;
    bool voided = false;
    guarded([&] {
        auto where = saveContext();
        voided = voidPrepayment(where, *stored);
    });
    if (!voided) return ui().message("Void Prepayment failed");
    ui().message("Prepayment " + stored->docno + " is void.");
    showWithKey(stored->fkey);
}

void ARform_prepayment::glRecord() {
    if (m_shown && mode() == Mode::Browse && !m_shown->glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->glFkey, "");
}

// The sales invoice or order the prepayment came from.
void ARform_prepayment::originDocument() {
    if (!m_shown || mode() != Mode::Browse) return;
    const std::string source = trimmedText(value("txtsource"));
    if (source == "Sales Invoice Entry")
        raiseNotification(source, m_shown->prepaymentInvoiceNo, "");
    else if (source == "Order Entry")
        raiseNotification(source, m_shown->orderNo, "");
}

// The customer's sales-order lines still to be delivered, in their own window.
void ARform_prepayment::salesOrders() {
    auto& rows = mutableGrid(kOrderGrid).rows;
    rows.clear();
    for (const auto& row : database().query(
             "SELECT docno, quantity_backorder FROM Order_transaction_table "
             "WHERE company = 1 AND soldto = ? AND quantity_backorder > 0 ORDER BY docno",
             {trimmedText(value("cmbcustno"))}))
        rows.push_back({{"order no", row["docno"].textOr()},
                        {"back-order quantity",
                         services::FormatNumber(row["quantity_backorder"].numberOr(), "#,##0.00")}});
    openWindow(kSalesOrderWindow);
}

void ARform_prepayment::preview() {
    if (!m_shown || mode() != Mode::Browse) return;
    const receipts::PrintedReceipt printed{m_shown->fkey,      m_shown->docno,
                                           value("cmbcustname"), value("txtrcdate"),
                                           value("txtcheckdate"), value("txtratedate")};
    raiseNotification("ActiveReport", "A/R Prepayment," + m_shown->docno + ",0",
                      receipts::previewQuery(printed));
}

}  // namespace keltro::matching
