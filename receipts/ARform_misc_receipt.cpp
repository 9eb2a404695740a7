#include "receipts/ARform_misc_receipt.h"

#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "receipts/MiscReceiptVoid.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptFields.h"
#include "receipts/ReceiptPrint.h"
#include "services/DateFormat.h"
#include "services/Money.h"
#include "store/Accounts.h"

namespace keltro::receipts {

using framework::FieldKind;
using framework::Mode;
using framework::trimmedText;
using services::FormatAmount;

namespace {

constexpr const char* kGrid = "dbgrid1";
constexpr const char* kAccountNo = "account no";
constexpr const char* kAccountName = "account name";
constexpr const char* kAmount = "amount";

// What a person types into a new receipt, and what "&Edit mode" leaves open.
const std::vector<std::string> kEntryFields = {
    "txtrcno", "txtrcdate", "cmbperiod",  "cmbfyear",  "txtpayer",    "cmbpayby", "cmbcash",
    "cmbbank", "txtcheck",  "txtcheckdate", "txtremark", "txtamount", "cmbcurrency",
    "cmbexrate", "txtratedate"};
const std::vector<std::string> kEditFields = {"txtrcno",  "txtpayer",     "cmbpayby",
                                              "txtcheck", "txtcheckdate", "txtremark"};

std::string flag(bool on) { return on ? "1" : "0"; }

framework::FieldValues shownFields(const MiscReceiptHeader& h, const std::string& dateFormat) {
    using framework::dateText;
    return {{"txtdocno", h.docno},
            {"txtfkey", h.fkey},
            {"txtglfkey", h.glFkey},
            {"txtid", h.id ? std::to_string(h.id) : ""},
            {"txtrcno", h.receiptNo},
            {"txtrcdate", dateText(h.receiptDate, dateFormat)},
            {"cmbperiod", h.period ? std::to_string(*h.period) : ""},
            {"cmbfyear", h.fyear},
            {"txtpayer", h.payer},
            {"cmbpayby", h.payby},
            {"cmbcash", h.cashAccno},
            {"cmbbank", h.bankCode},
            {"txtcheck", h.checkNo},
            {"txtcheckdate", dateText(h.checkDate, dateFormat)},
            {"txtremark", h.remark},
            {"txtamount", FormatAmount(h.receiptAmount)},
            {"cmbcurrency", h.currency},
            {"cmbexrate", rateText(h.exchangeRate)},
            {"txtratedate", dateText(h.rateDate, dateFormat)},
            {"txtunbalance", FormatAmount(0)},
            {"txtfast_docno", h.fastDocno},
            {"chkprint", flag(h.printed)},
            {"chkvoid", flag(h.isVoid)}};
}

framework::FieldValues clearedFields(const std::string& today) {
    framework::FieldValues values = shownFields({}, "");
    for (auto& [control, text] : values)
        if (control == "txtdocno") text = framework::kNewDocumentNo;
    values.push_back({"txtrcdate", today});
    return values;
}

}  // namespace

ARform_misc_receipt::ARform_misc_receipt()
    : WalkedDocumentScreen("ARform_misc_receipt", "Miscellaneous Receipt", kMiscReceiptTable,
                           kMiscReceiptDoctype) {
    declareHeader();
    declareGrids();
    declareCommands();
    arrangeWindow();
    attachActions();
}

void ARform_misc_receipt::declareHeader() {
    for (auto& f : documentFields(kMiscReceiptDoctype)) addField(std::move(f));
    addField(journalKeyField());
    for (auto& f : receiptDateFields()) addField(std::move(f));
    for (auto& f : paymentFields()) addField(std::move(f));
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtamount", .caption = "Receipt amount"});
    for (auto& f : currencyFields()) addField(std::move(f));
    // The receipt amount less the lines' total.
    addField({.name = "txtunbalance", .caption = "Unbalance", .locked = true});
    addField({.name = "txtfast_docno", .caption = "Fast receipt no", .locked = true});
    for (auto& f : flagFields()) addField(std::move(f));
}

void ARform_misc_receipt::declareGrids() {
    addGrid({.name = kGrid,
             .declaredCaptions = {"line no", kAccountNo, kAccountName, kAmount, "description",
                                  "reference", "computer id"},
             .lookupColumns = {{kAccountNo, kAccountList}}});
    // The drop-down of the account cells.
    addField({.name = "ddacc", .kind = FieldKind::Combo, .caption = "Account", .visible = false,
              .columnSpec = kAccountList});
}

void ARform_misc_receipt::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand("Preview"));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("New")) addCommand(std::move(c));
    for (auto& c : framework::voidMenuCommands(*this, "&Void Receipt")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("Last record")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("Miscellaneous Receipt Help", "Miscellaneous Receipt Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

// How the money came and how much on top, the receipt's own particulars beside.
void ARform_misc_receipt::arrangeWindow() {
    arrangeGroups({
        {"Money received", {"txtpayer", "txtamount", "cmbcurrency", "cmbexrate", "txtratedate",
                            "txtunbalance", "cmbpayby", "cmbcash", "cmbbank", "txtcheck",
                            "txtcheckdate"}},
        {"Receipt", {"txtdocno", "txtrcno", "txtrcdate", "cmbfyear", "cmbperiod", "txtremark",
                     "cmbcompany", "txtid", "txtfkey", "txtglfkey", "txtfast_docno", "chkprint",
                     "chkvoid"}},
    });
}

void ARform_misc_receipt::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Void Receipt", [this] { voidCommand(); });
    attachRecordCommands();
    attach("&G/L Record", [this] { glRecord(); });
}

// --- Opening ------------------------------------------------------------------------------

void ARform_misc_receipt::onLoad() {
    fillLists();
    db::Database& db = database();
    m_accounts = {store::defaultModuleAccount(db, store::parameter::kGl, store::parameter::kRealizedGain),
                  store::defaultModuleAccount(db, store::parameter::kGl, store::parameter::kRealizedLoss)};
    showLast();
}

void ARform_misc_receipt::fillLists() {
    for (auto& [control, items] : receivedMoneyLists(database(), context().KELTRO_NO_PERIODS))
        if (hasField(control)) mutableField(control).items = std::move(items);
    const auto accounts = framework::FillList(
        database().query("SELECT accno,accname FROM Account_master_table WHERE type = 'A' "
                         "Order by accno"),
        {"accno", "accname"});
    mutableField("ddacc").items = accounts;
    mutableGrid(kGrid).lookupItems[kAccountNo] = accounts;
}

// --- State ---------------------------------------------------------------------------------

void ARform_misc_receipt::applyLocks() {
    const auto& open = mode() == Mode::New ? kEntryFields : kEditFields;
    for (const auto& control : kEntryFields)
        setLocked(control, mode() == Mode::Browse || !framework::among(open, control));
    setLocked("cmbcompany", true);
    setLocked("txtdocno", mode() != Mode::Browse);
    mutableGrid(kGrid).locked = mode() != Mode::New;
}

// --- Showing receipts ----------------------------------------------------------------------

void ARform_misc_receipt::showReceipt(const MiscReceiptHeader& header) {
    m_shown = header;
    applyFields(shownFields(header, context().KELTRO_DATE_FORMAT));
    mutableField("cmbexrate").items.clear();
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    for (const auto& line : miscReceiptLines(database(), header.fkey))
        rows.push_back({{"line no", std::to_string(line.lineno)},
                        {kAccountNo, line.accno},
                        {kAccountName, accountName(line.accno)},
                        {kAmount, FormatAmount(line.amount)},
                        {"description", line.description},
                        {"reference", line.reference},
                        {"computer id", line.computerId}});
    enterMode(Mode::Browse);
}

std::optional<framework::StoredDocument> ARform_misc_receipt::shownStored() const {
    if (!m_shown) return std::nullopt;
    return framework::StoredDocument{m_shown->id, m_shown->fkey};
}

void ARform_misc_receipt::showWithKey(const std::string& fkey) {
    if (const auto header = findMiscReceipt(database(), fkey)) showReceipt(*header);
}

void ARform_misc_receipt::showNone() {
    m_shown.reset();
    applyFields(clearedFields(""));
    setValue("txtdocno", "");
    mutableGrid(kGrid).rows.clear();
    enterMode(Mode::Browse);
}

void ARform_misc_receipt::gotoNumber(const std::string& docno) {
    if (const auto header = findMiscReceiptByDocno(database(), docno)) return showReceipt(*header);
    documentNotFound(docno);
}

// --- Entering and saving ----------------------------------------------------------------------

void ARform_misc_receipt::beginNew() {
    m_shown.reset();
    applyFields(clearedFields(shownDateText(clock().today())));
    setValue("cmbcurrency", context().BASE_CURRENCY);
    mutableGrid(kGrid).rows.clear();
    enterMode(Mode::New);
    periodFromDate("txtrcdate");
}

void ARform_misc_receipt::beginEdit() {
    beginEditUnless(m_shown->isVoid ? m_shown->docno + " was void." : "");
}

void ARform_misc_receipt::saveNew() {
    const MiscReceiptDraft d = draft();
    const auto checked = checkNewMiscReceipt(database(), ui(), context().BASE_CURRENCY, d);
    if (!checked) return;
    saveNewDocument(
        [&] {
            auto where = saveContext();
            return saveNewMiscReceipt(where, d, *checked);
        },
        "Receipt complete", "Add new receipt failed");
}

void ARform_misc_receipt::saveEdit() {
    MiscReceiptHeader edited = *m_shown;
    edited.receiptNo = value("txtrcno");
    edited.payer = value("txtpayer");
    edited.payby = trimmedText(value("cmbpayby"));
    edited.checkNo = trimmedText(value("txtcheck"));
    edited.checkDate = shownDate("txtcheckdate");
    edited.remark = value("txtremark");
    if (!guarded([&] {
            if (!findMiscReceipt(database(), edited.fkey)) return documentNotFound(edited.docno);
            updateEditedMiscReceipt(database(), edited);
            ui().message("Update receipt complete");
        }))
        return;
    showWithKey(edited.fkey);
}

MiscReceiptDraft ARform_misc_receipt::draft() const {
    MiscReceiptDraft d;
    d.amountText = value("txtamount");
    d.receiptDate = shownDate("txtrcdate");
    d.receiptNo = value("txtrcno");
    d.payer = value("txtpayer");
    d.payby = value("cmbpayby");
    d.cashAccno = framework::ItemValue(trimmedText(value("cmbcash")));
    d.bankCode = framework::ItemValue(trimmedText(value("cmbbank")));
    d.checkNo = value("txtcheck");
    d.checkDate = shownDate("txtcheckdate");
    d.remark = value("txtremark");
    d.currency = value("cmbcurrency");
    d.rateText = value("cmbexrate");
    d.rateDate = shownDate("txtratedate");
    d.periodText = value("cmbperiod");
    d.fyear = value("cmbfyear");
    const std::string computer = services::ComputerName();
    for (const auto& row : grid(kGrid).rows) {
        const auto cell = [&](const char* column) { return cellOf(row, column); };
        const std::string accno = trimmedText(cell(kAccountNo));
        if (accno.empty()) continue;
        d.lines.push_back({static_cast<int>(d.lines.size()) + 1, accno,
                           services::roundMoney(numberOf(cell(kAmount)).value_or(0)),
                           cell("description"), cell("reference"), computer});
    }
    return d;
}

MiscReceiptSaveContext ARform_misc_receipt::saveContext() {
    return {database(), ui(), clock(), ledger(), context().KELTRO_USER, context().BASE_CURRENCY,
            m_accounts};
}

// --- Reactions ------------------------------------------------------------------------------

void ARform_misc_receipt::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtrcdate") return periodFromDate(control);
        if (control == "txtcheckdate") return retypeDate(control);
        if (control == "txtratedate") return rateDateChanged();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") return takeDateOfPickedRate();
        if (control == "txtamount") return amountChanged();
        if (control == "txtdocno" && mode() == Mode::Browse)
            gotoNumber(trimmedText(value(control)));
    });
}

bool ARform_misc_receipt::acceptCell(const std::string& /*grid*/, std::size_t /*row*/,
                                     const std::string& column, const std::string& text) {
    const std::string typed = trimmedText(text);
    if (typed.empty()) return true;
    if (column == kAccountNo &&
        !store::findAccount(database(), framework::ItemValue(typed))) {
        ui().message("Invalid account no");
        return false;
    }
    if (column != kAmount) return true;
    const auto amount = numberOf(typed);
    if (!amount) {
        ui().message("please input numeric data");
        return false;
    }
    if (*amount < 0) {
        ui().message("input must be positive");
        return false;
    }
    return true;
}

void ARform_misc_receipt::onCellChanged(const std::string& gridName, std::size_t row,
                                        const std::string& column) {
    auto& cells = mutableGrid(gridName).rows[row];
    if (column == kAccountNo) {
        cells[kAccountNo] = framework::ItemValue(trimmedText(cells[kAccountNo]));
        cells[kAccountName] = accountName(cells[kAccountNo]);
    }
    if (column == kAmount)
        if (const auto amount = numberOf(cells[kAmount]))
            cells[kAmount] = FormatAmount(services::roundMoney(*amount));
    if (cells["line no"].empty()) cells["line no"] = std::to_string(row + 1);
    if (cells["computer id"].empty()) cells["computer id"] = services::ComputerName();
    refreshUnbalance();
}

std::string ARform_misc_receipt::accountName(const std::string& accno) const {
    if (accno.empty()) return {};
    const auto account = store::findAccount(database(), accno);
    return account ? account->accname : std::string();
}

bool ARform_misc_receipt::isForeign() const {
    const std::string currency = trimmedText(value("cmbcurrency"));
    return !currency.empty() && currency != context().BASE_CURRENCY;
}

void ARform_misc_receipt::currencyChosen() {
    if (!isForeign()) {
        setValue("cmbexrate", "");
        setValue("txtratedate", "");
    }
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtrcdate"));
    if (isForeign() && !field("cmbexrate").items.empty()) {
        setValue("cmbexrate", framework::ItemValue(field("cmbexrate").items.front()));
        takeDateOfPickedRate();
    }
}

void ARform_misc_receipt::rateDateChanged() {
    retypeDate("txtratedate");
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtratedate"));
}

void ARform_misc_receipt::amountChanged() {
    if (const auto amount = numberOf(value("txtamount")))
        setValue("txtamount", FormatAmount(services::roundMoney(*amount)));
    refreshUnbalance();
}

// The receipt amount less every amount typed into the grid.
void ARform_misc_receipt::refreshUnbalance() {
    double total = 0;
    for (const auto& row : grid(kGrid).rows)
        total = services::roundMoney(total + numberOf(cellOf(row, kAmount)).value_or(0));
    const double amount = services::roundMoney(numberOf(value("txtamount")).value_or(0));
    setValue("txtunbalance", FormatAmount(services::roundMoney(amount - total)));
}

// --- Commands around a stored receipt ------------------------------------------------------

void ARform_misc_receipt::voidCommand() {
    if (mode() != Mode::Browse || !m_shown) return;
    const auto stored = findMiscReceipt(database(), m_shown->fkey);
    if (!stored) return;
    if (const std::string refusal = miscVoidRefusal(*stored); !refusal.empty())
        return ui().message(refusal);
    if (!ui().ask("Are you sure to void this receipt?")) return;
    changeStored(
        [&] {
            auto where = saveContext();
            return voidMiscReceipt(where, *stored);
        },
        stored->fkey, "Receipt " + stored->docno + " is void.", "Void Receipt failed");
}

void ARform_misc_receipt::glRecord() {
    if (m_shown && mode() == Mode::Browse && !m_shown->glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->glFkey, "");
}

void ARform_misc_receipt::preview() {
    if (!m_shown || mode() != Mode::Browse) return;
    raiseNotification("ActiveReport", "A/R Miscellaneous Receipt," + m_shown->docno + ",0",
                      miscReceiptPreviewQuery(m_shown->fkey));
}

}  // namespace keltro::receipts
