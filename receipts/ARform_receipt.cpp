#include "receipts/ARform_receipt.h"

#include <algorithm>
#include <cstdlib>

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"
#include "receipts/ReceiptNavigation.h"
#include "receipts/ReceiptPrint.h"
#include "receipts/ReceiptVoid.h"
#include "services/DateFormat.h"
#include "services/FiscalPeriod.h"
#include "services/Money.h"
#include "store/Accounts.h"
#include "store/ArDocument.h"
#include "store/ReferenceData.h"

namespace keltro::receipts {

using framework::FieldKind;
using framework::among;
using framework::GridRow;
using framework::Mode;
using framework::trimmedText;
using services::FormatAmount;

namespace {

constexpr const char* kAllCurrencies = "*";
// `txtdocno` of a receipt the fast receipt screen stored: white on red.
constexpr long kWhite = 0xFFFFFF;
constexpr long kRed = 0x0000FF;

// The controls a person types into while entering a receipt.
const std::vector<std::string> kEntryFields = {
    "txtrcno",   "txtrcdate",   "cmbperiod",   "cmbfyear",  "cmbcustno",   "cmbcustname",
    "txtpayer",  "cmbpayby",    "cmbcash",     "cmbbank",   "txtcheck",    "txtcheckdate",
    "txtremark", "txtrcamount", "cmbcurrency", "cmbexrate", "txtratedate", "cmbinvoice_currency"};
// What "&Edit mode" opens of a stored receipt.
const std::vector<std::string> kEditFields = {"txtrcno",  "txtpayer",     "cmbpayby",
                                              "txtcheck", "txtcheckdate", "txtremark"};
// What completing a fast receipt opens: the customer, amount and bank came with it.
const std::vector<std::string> kFastFields = {
    "txtrcno",   "txtpayer",    "cmbpayby",  "txtcheck", "txtcheckdate",       "txtremark",
    "cmbexrate", "txtratedate", "cmbperiod", "cmbfyear", "cmbinvoice_currency"};

// The accounts a row may charge its discount or write-off to (`dd1`, `dd2`).
std::vector<std::string> rowAccountItems(db::Database& db) {
    std::vector<std::string> items;
    for (const auto& row :
         db.query("SELECT accno, accname FROM Account_master_table INNER JOIN Account_class_table "
                  "ON Account_master_table.accclass = Account_class_table.class_name "
                  "WHERE acctype = 'Income Statement' AND [type] = 'A' "
                  "AND accclass <> 'Cost of Goods sold' ORDER BY accno"))
        items.push_back(row["accno"].textOr() + ";" + row["accname"].textOr());
    return items;
}

std::string moduleOrDefault(db::Database& db, std::string_view module, std::string_view name) {
    const std::string account = store::defaultModuleAccount(db, module, name);
    return account.empty() ? store::moduleAccount(db, module, name) : account;
}

}  // namespace

ARform_receipt::ARform_receipt() : DocumentScreen("ARform_receipt", "A/R Receipt Entry") {
    declareHeader();
    declareGrids();
    declareCommands();
    arrangeWindow();
    attachActions();
}

// Where the fields stand on the window: who pays and how much on top, how it was paid and
// the receipt's particulars beside, the totals below the documents it applies.
void ARform_receipt::arrangeWindow() {
    arrangeGroups({
        {"Customer and amount", {"cmbcustno", "cmbcustname", "txtpayer", "txtrcamount", "cmbcurrency",
                                 "cmbexrate", "txtratedate", "cmbinvoice_currency"}},
        {"Payment", {"txtrcno", "cmbpayby", "cmbcash", "cmbbank", "txtcheck", "txtcheckdate", "txtremark"}},
        {"Receipt", {"txtdocno", "txtrcdate", "cmbfyear", "cmbperiod", "cmbcompany", "txtid", "txtfkey",
                     "txtglfkey", "txtfast_docno", "txtfast_invoice_no", "chkprint", "chkvoid"}},
    });
    for (const char* name : {"txtreceipt_base", "txttotal", "label_total_currency", "txttotal_base",
                             "txtunapplied_docno", "txtunapplied_amount"})
        mutableField(name).footer = true;
    // Unapplied cash among the documents: on pale green, in italics.
    mutableGrid(kGrid).rowStyles = {
        {.name = "Deposit_style", .column = "deposit", .backColor = 0xDCF5E1, .italic = true}};
}

void ARform_receipt::declareHeader() {
    for (auto& f : documentFields("rc"))
        addField(std::move(f));
    addField(journalKeyField());
    for (auto& f : receiptDateFields())
        addField(std::move(f));
    for (auto& f : customerFields())
        addField(std::move(f));
    for (auto& f : paymentFields())
        addField(std::move(f));
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtrcamount", .caption = "Receipt amount"});
    for (auto& f : currencyFields())
        addField(std::move(f));
    addField({.name = "txtreceipt_base", .caption = "Base-currency amount", .locked = true});
    // Lists only the lines in one currency; "*" lists them all.
    addField({.name = "cmbinvoice_currency",
              .kind = FieldKind::Combo,
              .caption = "Invoice currency",
              .value = kAllCurrencies});
    addField({.name = "txttotal", .caption = "Total applied", .locked = true});
    addField(
        {.name = "label_total_currency", .kind = FieldKind::Label, .caption = "Total currency"});
    addField({.name = "txttotal_base", .caption = "Total in base currency", .locked = true});
    addField({.name = "txtunapplied_docno", .caption = "Unapplied document", .locked = true});
    addField({.name = "txtunapplied_amount", .caption = "Unapplied amount", .locked = true});
    addField({.name = "txtfast_docno", .caption = "Fast receipt no", .locked = true});
    addField({.name = "txtfast_invoice_no", .caption = "Fast receipt invoice no", .locked = true});
    for (auto& f : flagFields())
        addField(std::move(f));
}

void ARform_receipt::declareGrids() {
    addGrid({.name = kGrid,
             .declaredCaptions = {"document type",      "pay item",
                                  "invoice no",         "invoice date",
                                  "gross amount",       "open amount",
                                  "discount available", "currency",
                                  "invoice exch rate",  "receipt exch rate",
                                  "applied amount",     "discount taken",
                                  "write-off",          "discount account",
                                  "write-off account",  "base-currency amount",
                                  "net balance",        "deposit",
                                  "sales invoice",      "remark",
                                  "computer id"},
             .lookupColumns = {{"discount account", kAccountList},
                               {"write-off account", kAccountList}}});
    // The drop-downs of the two account columns.
    for (const char* name : {"dd1", "dd2"})
        addField({.name = name,
                  .kind = FieldKind::Combo,
                  .caption = "Account",
                  .visible = false,
                  .columnSpec = kAccountList});
}

void ARform_receipt::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand("Preview"));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("New"))
        addCommand(std::move(c));
    for (auto& c : framework::voidMenuCommands(*this, "&Void Receipt"))
        addCommand(std::move(c));
    for (auto& c : framework::recordCommands("Last record"))
        addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand({.menu = "&Link", .caption = "&A/R Record", .toolbar = "A/R"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("A/R Receipt Entry Help", "AR Receipt Entry Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

void ARform_receipt::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Void Receipt", [this] { voidCommand(); });
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLast(); });
    attach("&Refresh record", [this] { refresh(); });
    attach("&G/L Record", [this] { glRecord(); });
    attach("&A/R Record", [this] { arRecord(); });
}

// --- What the host asks ---------------------------------------------------------------

// Without the update right the screen stays as it is: no receipt can be entered.
void ARform_receipt::receiptThisInvoice(const std::string& docnox, const std::string& custnox) {
    if (!rights().update) return;
    m_invoiceToPay = docnox;
    setValue("cmbcustno", custnox);
    guarded([this] { startNew(ReceiptDate::Today); });
}

// --- Opening --------------------------------------------------------------------------

void ARform_receipt::onLoad() {
    fillLists();
    readModuleAccounts();
    showLast();
}

void ARform_receipt::fillLists() {
    db::Database& db = database();
    for (auto& [control, items] : receivedMoneyLists(db, context().KELTRO_NO_PERIODS))
        mutableField(control).items = std::move(items);
    auto& invoiceCurrencies = mutableField("cmbinvoice_currency").items;
    invoiceCurrencies = field("cmbcurrency").items;
    invoiceCurrencies.push_back(kAllCurrencies);
    const auto accounts = rowAccountItems(db);
    mutableField("dd1").items = mutableField("dd2").items = accounts;
    m_rowAccounts.clear();
    for (const auto& item : accounts)
        m_rowAccounts.push_back(framework::ItemValue(item));
}

void ARform_receipt::readModuleAccounts() {
    namespace parameter = store::parameter;
    db::Database& db = database();
    m_accounts = {store::moduleAccount(db, parameter::kAr, parameter::kReceivable),
                  moduleOrDefault(db, parameter::kAr, parameter::kDiscount),
                  moduleOrDefault(db, parameter::kAr, parameter::kWriteOff),
                  moduleOrDefault(db, parameter::kGl, parameter::kRealizedGain),
                  moduleOrDefault(db, parameter::kGl, parameter::kRealizedLoss)};
}

// --- State -------------------------------------------------------------------------------

bool ARform_receipt::completingFastReceipt() const {
    return mode() == Mode::New && m_shown && m_shown->newFromFast;
}

bool ARform_receipt::fieldEditable(const std::string& control) const {
    switch (mode()) {
        case Mode::New: return among(completingFastReceipt() ? kFastFields : kEntryFields, control);
        case Mode::Edit: return among(kEditFields, control);
        case Mode::Browse: break;
    }
    return false;
}

void ARform_receipt::applyLocks() {
    for (const auto& control : kEntryFields)
        setLocked(control, !fieldEditable(control));
    setLocked("cmbcompany", true);
    setLocked("txtdocno", mode() != Mode::Browse);
    mutableGrid(kGrid).locked = mode() != Mode::New;
    auto& docno = mutableField("txtdocno");
    const bool fast = completingFastReceipt();
    docno.foreColor = fast ? std::optional<long>(kWhite) : std::nullopt;
    docno.backColor = fast ? std::optional<long>(kRed) : std::nullopt;
}

// --- Showing receipts ---------------------------------------------------------------------

std::string ARform_receipt::accountName(const std::string& accno) const {
    for (const auto& item : field("dd1").items)
        if (framework::ItemValue(item) == accno) return framework::ItemColumn(item, 1);
    const auto account = store::findAccount(database(), accno);
    return account ? account->accname : "";
}

void ARform_receipt::showStoredLines(const std::string& fkey) {
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    m_rowsWithAmounts.stored();
    const auto nameOf = [this](const std::string& accno) { return accountName(accno); };
    for (const auto& line : receiptLines(database(), fkey)) {
        const auto document = store::findHeaderByDocno(database(), line.invoiceNo);
        rows.push_back(storedRow(line, document ? document->doctype : "",
                                 context().KELTRO_DATE_FORMAT, nameOf));
    }
    m_currentRow = 0;
}

void ARform_receipt::showReceipt(const ReceiptHeader& header) {
    m_shown = header;
    const auto customer = store::findCustomer(database(), header.customerNo);
    applyFields(
        receiptFields(header, customer ? customer->name : "", context().KELTRO_DATE_FORMAT));
    mutableField("cmbexrate").items.clear();
    if (!header.newFromFast) {
        showStoredLines(header.fkey);
        return enterMode(Mode::Browse);
    }
    // Stored by the fast receipt screen: to be applied and saved here.
    m_invoiceToPay = header.fastApplyInvoiceNo;
    enterMode(Mode::New);
    fillRateList();
    offerOpenItems();
    refreshTotals();
}

void ARform_receipt::showReceiptWithKey(const std::string& fkey) {
    if (const auto header = findReceipt(database(), fkey)) showReceipt(*header);
}

void ARform_receipt::showNoReceipt() {
    m_shown.reset();
    applyFields(newReceiptFields());
    setValue("txtdocno", "");
    mutableGrid(kGrid).rows.clear();
    m_rowsWithAmounts.stored();
    enterMode(Mode::Browse);
}

void ARform_receipt::leaveEditBeforeMoving() {
    if (mode() == Mode::Edit && ui().ask("Do you want to save editing?")) saveEdit();
}

void ARform_receipt::showLast() {
    leaveEditBeforeMoving();
    if (const auto fkey = lastReceiptKey(database()))
        showReceiptWithKey(*fkey);
    else
        showNoReceipt();
}

// Next or previous by id; from a new receipt, the last one.
void ARform_receipt::step(int direction) {
    if (!m_shown || mode() == Mode::New) return showLast();
    leaveEditBeforeMoving();
    const auto fkey = neighbourReceiptKey(database(), m_shown->id, direction);
    showReceiptWithKey(fkey ? *fkey : m_shown->fkey);
}

void ARform_receipt::refresh() {
    leaveEditBeforeMoving();
    if (m_shown) showReceiptWithKey(m_shown->fkey);
}

void ARform_receipt::gotoNumber(const std::string& docno) {
    if (const auto header = findReceiptByDocno(database(), docno)) return showReceipt(*header);
    documentNotFound(docno);
}

// --- New --------------------------------------------------------------------------------------

// A cleared screen for the customer chosen (if any). "&New" keeps the date shown, so that
// a day's receipts are entered one after the other; a screen without a date, and a
// receipt the host asks for, take today.
void ARform_receipt::startNew(ReceiptDate date) {
    m_shown.reset();
    applyFields(newReceiptFields());
    mutableGrid(kGrid).rows.clear();
    m_rowsWithAmounts.offered();
    if (date == ReceiptDate::Today || !shownDate("txtrcdate"))
        setValue("txtrcdate", shownDateText(clock().today()));
    enterMode(Mode::New);
    receiptDateChanged();
    setValue("cmbcurrency", context().BASE_CURRENCY);
    if (trimmedText(value("cmbcustno")).empty()) return currencyChosen();
    customerChosen();
}

// --- Edit ------------------------------------------------------------------------------------

void ARform_receipt::beginEdit() {
    if (m_shown->isVoid) {
        mutableCommand("&Edit mode").checked = false;
        return ui().message(m_shown->docno + " was void.");
    }
    enterMode(Mode::Edit);
}

void ARform_receipt::leaveEdit() {
    if (ui().ask("Do you want to save editing?")) return saveEdit();
    showReceiptWithKey(m_shown->fkey);
}

// --- Saving ----------------------------------------------------------------------------------

ReceiptDraft ARform_receipt::draft() const {
    ReceiptDraft d;
    d.currency = trimmedText(value("cmbcurrency"));
    d.rateText = value("cmbexrate");
    d.rateDate = shownDate("txtratedate");
    d.amountText = value("txtrcamount");
    d.receiptDate = shownDate("txtrcdate");
    d.customerNo = trimmedText(value("cmbcustno"));
    d.receiptNo = value("txtrcno");
    d.payer = value("txtpayer");
    d.payby = trimmedText(value("cmbpayby"));
    d.cashAccno = framework::ItemValue(trimmedText(value("cmbcash")));
    d.bankCode = framework::ItemValue(trimmedText(value("cmbbank")));
    d.checkNo = trimmedText(value("txtcheck"));
    d.checkDate = shownDate("txtcheckdate");
    d.remark = value("txtremark");
    d.periodText = value("cmbperiod");
    d.fyear = value("cmbfyear");
    const auto& rows = grid(kGrid).rows;
    const auto withAmounts = m_rowsWithAmounts.of(rows);
    d.lines = applicationLines(rows, withAmounts);
    d.totals = totalsOf(rows, withAmounts);
    return d;
}

ReceiptSaveContext ARform_receipt::saveContext() {
    return {database(),
            ui(),
            clock(),
            ledger(),
            context().KELTRO_USER,
            context().BASE_CURRENCY,
            context().KELTRO_DATE_FORMAT,
            m_accounts,
            m_rowAccounts};
}

// A new receipt, or one the fast receipt screen stored, applied here.
void ARform_receipt::saveNew() {
    if (value("txtdocno") == framework::kNewDocumentNo) return saveNewReceipt();
    if (completingFastReceipt()) completeFastReceipt();
}

void ARform_receipt::saveNewReceipt() {
    if (checkAndSave(checkNewReceipt, receipts::saveNewReceipt) == SaveOutcome::Failed)
        clearNewNumber();
}

void ARform_receipt::completeFastReceipt() {
    const ReceiptHeader stored = *m_shown;
    checkAndSave(checkFastCompletion, [&](ReceiptSaveContext& save, const ReceiptDraft& d,
                                          const CheckedReceipt& checked) {
        return receipts::completeFastReceipt(save, stored, d, checked);
    });
}

// The checks, then the save in its transaction; once committed: the message, the journal
// key, the stored receipt on screen.
ARform_receipt::SaveOutcome ARform_receipt::checkAndSave(const Check& check, const Save& save) {
    const ReceiptDraft d = draft();
    const auto checked = check({database(), ui(), context().BASE_CURRENCY}, d);
    if (!checked) return SaveOutcome::Refused;
    std::optional<SavedReceipt> saved;
    guarded([&] {
        auto where = saveContext();
        saved = save(where, d, *checked);
    });
    if (!saved) {
        ui().message("Add new receipt failed");
        return SaveOutcome::Failed;
    }
    ui().message("Add new Receipt complete");
    guarded([&] { storeJournalKey(database(), *saved); });
    showReceiptWithKey(saved->fkey);
    return SaveOutcome::Saved;
}

void ARform_receipt::saveEdit() {
    ReceiptHeader edited = *m_shown;
    edited.receiptNo = value("txtrcno");
    edited.payer = value("txtpayer");
    edited.payby = trimmedText(value("cmbpayby"));
    edited.checkNo = trimmedText(value("txtcheck"));
    edited.checkDate = shownDate("txtcheckdate");
    edited.remark = value("txtremark");
    if (!guarded([&] { updateEditedHeader(database(), edited); })) return;
    ui().message("Update receipt complete");
    showReceiptWithKey(edited.fkey);
}

// --- Header reactions ---------------------------------------------------------------------------

void ARform_receipt::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtrcdate") return receiptDateChanged();
        if (control == "txtcheckdate" || control == "txtratedate") return retypeDate(control);
        if (control == "cmbcustno") return customerChosen();
        if (control == "cmbcustname") return customerNameChosen();
        if (control == "cmbinvoice_currency") return invoiceCurrencyChosen();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") return rateChosen();
        if (control == "txtrcamount") return amountChanged();
        if (control == "txtdocno" && mode() == Mode::Browse)
            gotoNumber(trimmedText(value(control)));
    });
}

// The receipt date decides the fiscal year and period.
void ARform_receipt::receiptDateChanged() { periodFromDate("txtrcdate"); }

// The customer's name, currency and open items; the currency of the items when they share
// one.
void ARform_receipt::customerChosen() {
    const auto customer = store::findCustomer(database(), trimmedText(value("cmbcustno")));
    setValue("cmbcustname", customer ? customer->name : "");
    if (customer) {
        setValue("cmbcustno", customer->customerNo);
        if (!customer->currency.empty()) setValue("cmbcurrency", customer->currency);
    }
    if (const auto currency = commonCurrency(offerOpenItems())) setValue("cmbcurrency", *currency);
    currencyChosen();
}

// A name picked from the list by name stands for its customer number.
void ARform_receipt::customerNameChosen() {
    const auto customerNo = customerOfPickedName();
    if (!customerNo) return;
    setValue("cmbcustno", *customerNo);
    customerChosen();
}

// The grid offers the customer's open lines (of the invoice currency chosen), the
// document to pay first.
std::vector<OpenItem> ARform_receipt::offerOpenItems() {
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    m_rowsWithAmounts.offered();
    m_currentRow = 0;
    const std::string customerNo = trimmedText(value("cmbcustno"));
    const std::string filter = trimmedText(value("cmbinvoice_currency"));
    std::vector<OpenItem> items;
    if (!customerNo.empty())
        items = openItems(
            database(), customerNo,
            filter.empty() || filter == kAllCurrencies ? std::nullopt : std::optional(filter));
    if (!items.empty() && !m_invoiceToPay.empty()) {
        items = withDocumentFirst(std::move(items), m_invoiceToPay);
        m_invoiceToPay.clear();
    }
    const OfferContext offer{context().BASE_CURRENCY, context().KELTRO_DATE_FORMAT, clock().today(),
                             services::ComputerName()};
    for (const auto& item : items)
        rows.push_back(offeredRow(item, offer));
    refreshTotals();
    return items;
}

void ARform_receipt::invoiceCurrencyChosen() {
    if (mode() == Mode::New) offerOpenItems();
}

// The rate list of a foreign currency: its rates up to the receipt date, newest first.
void ARform_receipt::fillRateList() {
    DocumentScreen::fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtrcdate"));
}

// A foreign currency takes its latest rate up to the receipt date; the base currency has
// none.
void ARform_receipt::currencyChosen() {
    fillRateList();
    const std::string currency = trimmedText(value("cmbcurrency"));
    std::optional<store::ExchangeRate> latest;
    if (!currency.empty() && currency != context().BASE_CURRENCY)
        latest = store::latestExchangeRate(database(), currency, shownDate("txtrcdate"));
    setValue("cmbexrate", latest ? rateText(latest->rate) : "");
    setValue("txtratedate", latest ? shownDateText(latest->rateDate) : "");
    refreshReceiptBase();
}

// A rate picked from the list brings its date.
void ARform_receipt::rateChosen() {
    takeDateOfPickedRate();
    refreshReceiptBase();
}

void ARform_receipt::amountChanged() {
    if (const auto amount = numberOf(value("txtrcamount")))
        setValue("txtrcamount", FormatAmount(services::roundMoney(*amount)));
    refreshReceiptBase();
}

void ARform_receipt::refreshReceiptBase() {
    const auto amount = numberOf(value("txtrcamount"));
    const bool foreign = trimmedText(value("cmbcurrency")) != context().BASE_CURRENCY;
    const auto rate = foreign ? numberOf(value("cmbexrate")) : std::optional<double>(1.0);
    setValue("txtreceipt_base", amount && rate ? FormatAmount(receiptBaseAmount(
                                                     services::roundMoney(*amount), *rate, foreign))
                                               : "");
}

}  // namespace keltro::receipts
