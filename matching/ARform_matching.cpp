#include "matching/ARform_matching.h"

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "matching/MatchingGrid.h"
#include "receipts/ReceiptFields.h"
#include "receipts/ReceiptRecords.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/Accounts.h"
#include "store/ReferenceData.h"

namespace keltro::matching {

using framework::FieldKind;
using framework::GridRow;
using framework::Mode;
using framework::trimmedText;
using services::FormatAmount;

namespace {

constexpr const char* kGrid = "dbgrid1";

// The controls a person types into while entering a matching.
const std::vector<std::string> kEntryFields = {"txtdate",   "txtratedate", "cmbcustno",
                                               "cmbcustname", "txtremark", "cmbperiod",
                                               "cmbfyear"};

}  // namespace

ARform_matching::ARform_matching() : DocumentScreen("ARform_matching", "A/R Matching") {
    declareHeader();
    declareGrid();
    declareCommands();
    attachActions();
}

void ARform_matching::declareHeader() {
    for (auto& f : receipts::documentFields(kMatchingDoctype))
        if (f.name != "txtid") addField(std::move(f));
    addField(receipts::journalKeyField());
    addField({.name = "txtdate", .kind = FieldKind::Date, .caption = "Matching date"});
    addField({.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"});
    for (auto& f : receipts::customerFields()) addField(std::move(f));
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    // The credit side in base currency must equal the debit side in base currency; both
    // stand side by side below the grid.
    addField({.name = "txtua_amount", .caption = "Unapplied amount", .locked = true});
    addField({.name = "txtinvoice_base", .caption = "Invoice base-currency amount",
              .locked = true});
    addField({.name = "txttotal", .caption = "Invoice amount", .locked = true});
    addField({.name = "label_total_currency", .kind = FieldKind::Label,
              .caption = "Invoice currency"});
    for (const char* name : {"txtua_amount", "txtinvoice_base", "txttotal", "label_total_currency"})
        mutableField(name).footer = true;
    for (auto& f : receipts::flagFields()) addField(std::move(f));
}

void ARform_matching::declareGrid() {
    addGrid({.name = kGrid,
             .declaredCaptions = {"pay item", "invoice no", "document type", "invoice date",
                                  "check no", "gross amount", "open amount", "applied amount",
                                  "balance", "discount available", "discount account",
                                  "write-off account", "write-off", "discount taken", "remark",
                                  "currency", "invoice exch rate", "receipt exch rate",
                                  "base-currency amount", "computer id"},
             .lookupColumns = {{"discount account", receipts::kAccountList},
                               {"write-off account", receipts::kAccountList}}});
    // The drop-downs of the two account columns.
    for (const char* name : {"dd1", "dd2"})
        addField({.name = name, .kind = FieldKind::Combo, .caption = "Account",
                  .visible = false, .columnSpec = receipts::kAccountList});
}

void ARform_matching::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File", "");
    auto modes = framework::modeCommands("New");
    // A saved matching is never edited: the shared toggle stays, switched off.
    modes.back().enabled = false;
    for (auto& c : modes) addCommand(std::move(c));
    // On the menu, but a saved matching is not voided here.
    for (auto& c : framework::voidMenuCommands(*this, "&Void matching")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand({.menu = "&Link", .caption = "&A/R Record"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("AR Matching Help", "AR Matching Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

void ARform_matching::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLast(); });
    attach("&Refresh record", [this] { refresh(); });
    attach("&G/L Record", [this] { glRecord(); });
    attach("&A/R Record", [this] { arRecord(); });
}

// --- Opening ---------------------------------------------------------------------------

void ARform_matching::onLoad() {
    fillLists();
    readModuleAccounts();
    showLast();
}

void ARform_matching::fillLists() {
    db::Database& db = database();
    mutableField("cmbcustno").items = framework::lists::customersByNumber(db);
    mutableField("cmbcustname").items = framework::lists::customersByName(db);
    mutableField("cmbfyear").items = framework::lists::fiscalYears(db);
    mutableField("cmbperiod").items = framework::lists::periodNumbers(context().KELTRO_NO_PERIODS);
    mutableField("dd1").items = parameterAccountItems(db, store::parameter::kDiscount);
    mutableField("dd2").items = parameterAccountItems(db, store::parameter::kWriteOff);
}

void ARform_matching::readModuleAccounts() {
    namespace parameter = store::parameter;
    db::Database& db = database();
    m_discountAccount = store::defaultModuleAccount(db, parameter::kAr, parameter::kDiscount);
    m_writeoffAccount = store::defaultModuleAccount(db, parameter::kAr, parameter::kWriteOff);
    m_realizedGain = store::defaultModuleAccount(db, parameter::kGl, parameter::kRealizedGain);
    m_realizedLoss = store::defaultModuleAccount(db, parameter::kGl, parameter::kRealizedLoss);
}

// --- State -------------------------------------------------------------------------------

void ARform_matching::applyLocks() {
    for (const auto& control : kEntryFields) setLocked(control, mode() != Mode::New);
    setLocked("cmbcompany", true);
    setLocked("txtdocno", mode() != Mode::Browse);
    mutableGrid(kGrid).locked = mode() != Mode::New;
}

// --- Showing matchings ----------------------------------------------------------------------

void ARform_matching::showMatching(const MatchingHeader& h, LineOrder order) {
    m_shown = h;
    const auto customer = store::findCustomer(database(), h.customerNo);
    applyFields({{"txtdocno", h.docno},
                 {"txtdoctype", kMatchingDoctype},
                 {"txtfkey", h.fkey},
                 {"txtglfkey", h.glFkey},
                 {"txtdate", shownDateText(h.date)},
                 {"txtratedate", shownDateText(h.rateDate)},
                 {"cmbcustno", h.customerNo},
                 {"cmbcustname", customer ? customer->name : ""},
                 {"txtremark", h.remark},
                 {"cmbperiod", h.period ? std::to_string(h.period) : ""},
                 {"cmbfyear", h.fyear},
                 {"txtua_amount", FormatAmount(h.unappliedAmount)},
                 {"txtinvoice_base", FormatAmount(h.invoiceBaseAmount)},
                 {"txttotal", h.invoiceAmount ? FormatAmount(*h.invoiceAmount) : ""},
                 {"label_total_currency", h.invoiceCurrency},
                 {"chkprint", h.printed ? "1" : "0"},
                 {"chkvoid", h.isVoid ? "1" : "0"}});
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    for (const auto& line : matchingLineRows(database(), h.fkey, order))
        rows.push_back(storedRow(line, context().KELTRO_DATE_FORMAT));
    m_rowsWithAmounts.stored();
    m_currentRow = 0;
    enterMode(Mode::Browse);
}

void ARform_matching::showMatchingWithKey(const std::string& fkey) {
    if (const auto header = findMatching(database(), fkey))
        showMatching(*header, LineOrder::Stepping);
}

void ARform_matching::showNoMatching() {
    m_shown.reset();
    for (const char* name : {"txtdocno", "txtfkey", "txtglfkey", "txtremark", "txtua_amount",
                             "txtinvoice_base", "txttotal", "label_total_currency"})
        setValue(name, "");
    mutableGrid(kGrid).rows.clear();
    m_rowsWithAmounts.stored();
    enterMode(Mode::Browse);
}

void ARform_matching::showLast() {
    if (const auto fkey = lastMatchingKey(database())) return showMatchingWithKey(*fkey);
    showNoMatching();
}

// Next or previous by id; from a new matching, the last one.
void ARform_matching::step(int direction) {
    if (!m_shown || mode() == Mode::New) return showLast();
    const auto fkey = neighbourMatchingKey(database(), m_shown->id, direction);
    showMatchingWithKey(fkey ? *fkey : m_shown->fkey);
}

void ARform_matching::refresh() {
    if (m_shown && mode() == Mode::Browse) showMatchingWithKey(m_shown->fkey);
}

void ARform_matching::gotoNumber(const std::string& docno) {
    if (const auto header = findMatchingByDocno(database(), docno))
        return showMatching(*header, LineOrder::ByPayItem);
    documentNotFound(docno);
}

// --- Entering a matching ----------------------------------------------------------------------

// "** New **", today as matching and rate date, no customer and an empty grid.
void ARform_matching::beginNew() {
    m_shown.reset();
    applyFields({{"txtdocno", framework::kNewDocumentNo},
                 {"cmbcustno", ""},
                 {"cmbcustname", ""},
                 {"txtdoctype", kMatchingDoctype},
                 {"txtfkey", ""},
                 {"txtglfkey", ""},
                 {"txtdate", shownDateText(clock().today())},
                 {"txtratedate", shownDateText(clock().today())},
                 {"txtremark", ""},
                 {"chkprint", "0"},
                 {"chkvoid", "0"}});
    enterMode(Mode::New);
    periodFromDate("txtdate");
    offerOpenItems();
}

void ARform_matching::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtdate") return dateChanged();
        if (control == "txtratedate") {
            retypeDate(control);
            if (mode() == Mode::New) offerOpenItems();
            return;
        }
        if (control == "cmbcustno") return customerChosen();
        if (control == "cmbcustname") return customerNameChosen();
        if (control == "txtdocno" && mode() == Mode::Browse) gotoNumber(trimmedText(value(control)));
    });
}

void ARform_matching::dateChanged() { periodFromDate("txtdate"); }

void ARform_matching::customerChosen() {
    const auto customer = store::findCustomer(database(), trimmedText(value("cmbcustno")));
    setValue("cmbcustname", customer ? customer->name : "");
    if (customer) setValue("cmbcustno", customer->customerNo);
    if (mode() == Mode::New) offerOpenItems();
}

void ARform_matching::customerNameChosen() {
    const auto customerNo = customerOfPickedName();
    if (!customerNo) return;
    setValue("cmbcustno", *customerNo);
    customerChosen();
}

// Every open item of the customer, each foreign one at its currency's receipt rate.
void ARform_matching::offerOpenItems() {
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    m_rowsWithAmounts.offered();
    m_currentRow = 0;
    const std::string customerNo = trimmedText(value("cmbcustno"));
    if (!customerNo.empty()) {
        const auto items = receipts::openItems(database(), customerNo, std::nullopt);
        const receipts::OfferContext offer{context().BASE_CURRENCY, context().KELTRO_DATE_FORMAT,
                                           clock().today(), services::ComputerName()};
        ReceiptRates rates(database(), context().BASE_CURRENCY, shownDate("txtratedate"));
        rows.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            rows.push_back(offeredRow(items[i], offer, rates.of(items[i].currency)));
            if ((i + 1) % 500 == 0 || i + 1 == items.size()) {
                ui().progress(static_cast<long>(i + 1), static_cast<long>(items.size()));
                ui().pumpEvents();
            }
        }
    }
    refreshTotals();
}

// An applied amount carries the sign of its item: a credit takes a negative one, a debit
// a positive one.
bool ARform_matching::acceptCell(const std::string& gridName, std::size_t index,
                                 const std::string& caption, const std::string& text) {
    if (gridName != kGrid) return true;
    if (index >= grid(kGrid).rows.size())
        throw framework::ScreenError(className() + "." + kGrid +
                                     " offers open items only; it takes no new row");
    m_currentRow = index;
    if (caption != column::kApplied) return true;
    const auto verdict = receipts::checkCell(grid(kGrid).rows.at(index), caption, text);
    if (verdict != receipts::CellVerdict::WrongSign) return true;
    ui().message(receipts::refusalMessage(verdict));
    return false;
}

void ARform_matching::onCellChanged(const std::string& gridName, std::size_t index,
                                    const std::string& caption) {
    if (gridName != kGrid) return;
    m_rowsWithAmounts.edited(index);
    cellEdited(mutableGrid(kGrid).rows.at(index), caption);
    refreshTotals();
}

// The click into "applied amount" of a row without one fills it; a discount it takes
// goes to the module's discount account.
void ARform_matching::onCellClicked(const std::string& gridName, std::size_t index,
                                    const std::string& caption) {
    if (gridName != kGrid) return;
    m_currentRow = index;
    if (caption != column::kApplied || grid(kGrid).locked) return;
    GridRow& row = mutableGrid(kGrid).rows.at(index);
    m_rowsWithAmounts.edited(index);
    if (!quickFill(row)) return;
    if (receipts::numberOf(receipts::cellOf(row, column::kDiscountTaken)).value_or(0) > 0 &&
        receipts::accountOfCell(row, column::kDiscountAccount).empty())
        row[column::kDiscountAccount] = m_discountAccount;
    refreshTotals();
}

void ARform_matching::refreshTotals() {
    const auto& rows = grid(kGrid).rows;
    const MatchingTotals totals =
        totalsOf(rows, m_rowsWithAmounts.of(rows), context().BASE_CURRENCY);
    setValue("txtua_amount", FormatAmount(-totals.creditBase));
    setValue("txtinvoice_base", FormatAmount(totals.debitBase));
    setValue("txttotal", totals.mixedDebitCurrencies ? "" : FormatAmount(totals.debit));
    setValue("label_total_currency", totals.debitCurrency);
}

// --- Saving ----------------------------------------------------------------------------------

MatchingDraft ARform_matching::draft() const {
    MatchingDraft d;
    d.date = shownDate("txtdate");
    d.rateDate = shownDate("txtratedate");
    d.customerNo = trimmedText(value("cmbcustno"));
    d.remark = value("txtremark");
    d.periodText = value("cmbperiod");
    d.fyear = value("cmbfyear");
    d.unappliedText = value("txtua_amount");
    d.invoiceBaseText = value("txtinvoice_base");
    d.totalText = value("txttotal");
    d.totalCurrency = value("label_total_currency");
    const auto& rows = grid(kGrid).rows;
    const auto withAmounts = m_rowsWithAmounts.of(rows);
    for (const std::size_t index : withAmounts)
        if ((d.lineRefusal = lineRefusal(rows[index]))) break;
    d.lines = matchingLines(rows, withAmounts);
    d.dateFormat = context().KELTRO_DATE_FORMAT;
    return d;
}

void ARform_matching::saveNew() {
    const MatchingDraft d = draft();
    const auto checked = checkMatching(database(), ui(), d);
    if (!checked) return;
    std::optional<SavedMatching> saved;
    guarded([&] {
        MatchingSaveContext save{database(),    ui(),           clock(),
                                 ledger(),      context().KELTRO_USER, context().BASE_CURRENCY,
                                 m_realizedGain, m_realizedLoss};
        saved = saveNewMatching(save, d, *checked);
    });
    if (!saved) {
        clearNewNumber();
        return ui().message("Add new Matching failed");
    }
    ui().message("Add new Matching complete");
    showLast();
}

// --- Links ------------------------------------------------------------------------------------

void ARform_matching::glRecord() {
    if (m_shown && mode() == Mode::Browse && !m_shown->glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->glFkey, "");
}

void ARform_matching::arRecord() {
    const auto& rows = grid(kGrid).rows;
    if (m_currentRow >= rows.size()) return;
    const std::string invoiceNo = trimmedText(receipts::cellOf(rows[m_currentRow], column::kInvoiceNo));
    if (!invoiceNo.empty()) raiseNotification("A/R Invoice Entry", invoiceNo, "");
}

void ARform_matching::preview() {
    if (!m_shown || mode() != Mode::Browse) return;
    raiseNotification("ActiveReport", "A/R Matching," + m_shown->docno + ",0",
                      matchingPreviewQuery(m_shown->fkey));
}

}  // namespace keltro::matching
