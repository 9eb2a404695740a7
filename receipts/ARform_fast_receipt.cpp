#include "receipts/ARform_fast_receipt.h"

#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptFields.h"
#include "receipts/ReceiptValidation.h"
#include "services/DateFormat.h"
#include "services/Money.h"

namespace keltro::receipts {

using framework::FieldKind;
using framework::Mode;
using framework::trimmedText;
using services::FormatAmount;

namespace {

constexpr const char* kGrid = "dbgrid1";

// What a person types into a new batch, and what editing a stored one leaves open.
const std::vector<std::string> kEntryFields = {"txtrcdate",   "cmbperiod", "cmbfyear",
                                               "cmbbank",     "txtremark", "txtrcamount",
                                               "cmbcurrency", "cmbexrate", "txtratedate"};
const std::vector<std::string> kEditFields = {"cmbperiod", "cmbfyear",  "cmbbank",
                                              "txtremark", "txtrcamount", "cmbexrate",
                                              "txtratedate"};

std::string flag(bool on) { return on ? "1" : "0"; }

framework::FieldValues shownFields(const FastReceiptHeader& h, const std::string& dateFormat) {
    using framework::dateText;
    return {{"txtdocno", h.docno},
            {"txtfkey", h.fkey},
            {"txtid", h.id ? std::to_string(h.id) : ""},
            {"txtrcdate", dateText(h.receiptDate, dateFormat)},
            {"cmbperiod", h.period ? std::to_string(*h.period) : ""},
            {"cmbfyear", h.fyear},
            {"cmbbank", h.bankCode},
            {"txtremark", h.remark},
            {"txtrcamount", FormatAmount(h.receiptAmount)},
            {"cmbcurrency", h.currency},
            {"cmbexrate", rateText(h.exchangeRate)},
            {"txtratedate", dateText(h.rateDate, dateFormat)},
            {"txtreceipt_base", FormatAmount(h.receiptBaseAmount)},
            {"chkcomplete", flag(h.complete)},
            {"chkprint", flag(h.printed)},
            {"chkvoid", flag(h.isVoid)}};
}

std::string optionalText(const std::optional<int>& number) {
    return number ? std::to_string(*number) : std::string();
}

framework::GridRow rowOfLine(const FastReceiptLine& l, const std::string& dateFormat,
                             const std::string& customerName, const std::string& accountName) {
    return {{"line no", std::to_string(l.lineno)},
            {"transaction type", labelOf(l.type)},
            {"receipt by", labelOf(l.by)},
            {"check no", l.checkNo},
            {"check date", framework::dateText(l.checkDate, dateFormat)},
            {"amount", FormatAmount(l.amount)},
            {"invoice no", l.invoiceNo},
            {"order no", l.orderNo},
            {"customer po", l.customerPo},
            {"description", l.description},
            {"account no", l.accno},
            {"account name", accountName},
            {"customer no", l.customerNo},
            {"customer name", customerName},
            {"payer name", l.payer},
            {"receipt document no", l.realDocno},
            {"receipt document type", l.realDoctype},
            {"period", optionalText(l.period)},
            {"fiscal year", l.fyear},
            {"glfkey", l.glFkey},
            {"computer id", l.computerId}};
}

}  // namespace

ARform_fast_receipt::ARform_fast_receipt()
    : WalkedDocumentScreen("ARform_fast_receipt", "A/R Fast Receipt", kFastReceiptTable,
                           kFastReceiptDoctype) {
    declareHeader();
    declareGrids();
    declareCommands();
    arrangeWindow();
    attachActions();
}

void ARform_fast_receipt::declareHeader() {
    for (auto& f : documentFields(kFastReceiptDoctype)) addField(std::move(f));
    for (auto& f : receiptDateFields()) addField(std::move(f));
    addField(bankField());
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtrcamount", .caption = "Receipt amount"});
    for (auto& f : currencyFields()) addField(std::move(f));
    addField({.name = "txtreceipt_base", .caption = "Base-currency amount", .locked = true});
    // Ticked once the real documents were generated from the lines.
    addField({.name = "chkcomplete", .kind = FieldKind::Check, .caption = "Complete", .value = "0",
              .locked = true});
    for (auto& f : flagFields()) addField(std::move(f));
}

void ARform_fast_receipt::declareGrids() {
    addGrid({.name = kGrid,
             .declaredCaptions = {"line no", "transaction type", "receipt by", "check no",
                                  "check date", "amount", "invoice no", "order no",
                                  "customer po", "description", "account no", "account name",
                                  "customer no", "customer name", "payer name",
                                  "receipt document no", "receipt document type", "period",
                                  "fiscal year", "glfkey", "computer id"},
             .lookupColumns = {{"transaction type", "0;2500;<;Transaction type"},
                               {"receipt by", "0;1500;<;Receipt by"},
                               {"account no", kAccountList},
                               {"customer no", kCustomerNoList},
                               {"customer name", kCustomerNameList}}});
    // Rows deleted before the batch is saved: grey, in italics.
    mutableGrid(kGrid).rowStyles = {
        {.name = "Deleted_style", .column = "deleted", .foreColor = 0x808080, .italic = true}};
}

void ARform_fast_receipt::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand("Preview"));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("New")) addCommand(std::move(c));
    for (auto& c : framework::lineCommands()) addCommand(std::move(c));
    for (auto& c : framework::voidMenuCommands(*this, "&Void Receipt")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("Last record")) addCommand(std::move(c));
    addCommand({.menu = "&Generate", .caption = "&Generate actual receipt"});
    addCommand({.menu = "&Link", .caption = "&Actual receipt"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("Fast Receipt Entry Help", "Fast Receipt Entry Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
}

void ARform_fast_receipt::arrangeWindow() {
    arrangeGroups({
        {"Money received", {"cmbbank", "txtrcamount", "cmbcurrency", "cmbexrate", "txtratedate",
                            "txtreceipt_base", "txtremark"}},
        {"Batch", {"txtdocno", "txtrcdate", "cmbfyear", "cmbperiod", "cmbcompany", "txtid",
                   "txtfkey", "chkcomplete", "chkprint", "chkvoid"}},
    });
}

void ARform_fast_receipt::attachActions() {
    attachDocumentCommands();
    attach("&Preview", [this] { preview(); });
    attach("&Insert Line", [this] { insertLine(); });
    attach("&Delete Line", [this] { deleteLine(); });
    attach("&Void Receipt", [this] { voidCommand(); });
    attachRecordCommands();
    attach("&Generate actual receipt", [this] { generate(); });
    attach("&Actual receipt", [this] { actualReceipt(); });
}

// --- Opening ------------------------------------------------------------------------------

void ARform_fast_receipt::onLoad() {
    fillLists();
    showLast();
}

void ARform_fast_receipt::fillLists() {
    db::Database& db = database();
    for (auto& [control, items] : receivedMoneyLists(db, context().KELTRO_NO_PERIODS))
        if (hasField(control)) mutableField(control).items = std::move(items);
    auto& lookups = mutableGrid(kGrid).lookupItems;
    lookups["transaction type"] = fastLineTypeLabels();
    lookups["receipt by"] = receivedByLabels();
    lookups["account no"] = framework::FillList(
        db.query("SELECT accno,accname FROM Account_master_table WHERE type = 'A' ORDER BY accno"),
        {"accno", "accname"});
    lookups["customer no"] = framework::FillList(
        db.query("SELECT customer_no,customer_name FROM Customer_table ORDER BY customer_no"),
        {"customer_no", "customer_name"});
    lookups["customer name"] = framework::FillList(
        db.query("SELECT customer_name,customer_no FROM Customer_table ORDER BY customer_name"),
        {"customer_name", "customer_no"});
}

// --- State ---------------------------------------------------------------------------------

void ARform_fast_receipt::applyLocks() {
    const auto& open = mode() == Mode::New ? kEntryFields : kEditFields;
    for (const auto& control : kEntryFields)
        setLocked(control, mode() == Mode::Browse || !framework::among(open, control));
    setLocked("cmbcompany", true);
    setLocked("txtdocno", mode() != Mode::Browse);
    mutableGrid(kGrid).locked = mode() == Mode::Browse;
}

// --- Showing batches -------------------------------------------------------------------------

void ARform_fast_receipt::showBatch(const FastReceiptHeader& header) {
    m_shown = header;
    applyFields(shownFields(header, context().KELTRO_DATE_FORMAT));
    mutableField("cmbexrate").items.clear();
    auto& rows = mutableGrid(kGrid).rows;
    rows.clear();
    const auto& lookups = grid(kGrid).lookupItems;
    const auto nameIn = [&](const char* list, const std::string& key) {
        return key.empty() ? std::string()
                           : framework::ItemColumnWhere(lookups.at(list), 0, key, 1).value_or("");
    };
    for (const auto& line : fastReceiptLines(database(), header.fkey))
        rows.push_back(rowOfLine(line, context().KELTRO_DATE_FORMAT,
                                 nameIn("customer no", line.customerNo),
                                 nameIn("account no", line.accno)));
    m_currentRow = 0;
    enterMode(Mode::Browse);
}

std::optional<framework::StoredDocument> ARform_fast_receipt::shownStored() const {
    if (!m_shown) return std::nullopt;
    return framework::StoredDocument{m_shown->id, m_shown->fkey};
}

void ARform_fast_receipt::showWithKey(const std::string& fkey) {
    if (const auto header = findFastReceipt(database(), fkey)) showBatch(*header);
}

void ARform_fast_receipt::showNone() {
    m_shown.reset();
    applyFields(shownFields({}, ""));
    mutableGrid(kGrid).rows.clear();
    enterMode(Mode::Browse);
}

void ARform_fast_receipt::gotoNumber(const std::string& docno) {
    if (const auto header = findFastReceiptByDocno(database(), docno)) return showBatch(*header);
    documentNotFound(docno);
}

// --- Entering and saving ----------------------------------------------------------------------

void ARform_fast_receipt::beginNew() {
    m_shown.reset();
    applyFields(shownFields({}, ""));
    setValue("txtdocno", framework::kNewDocumentNo);
    setValue("txtrcdate", shownDateText(clock().today()));
    setValue("cmbcurrency", context().BASE_CURRENCY);
    mutableGrid(kGrid).rows.clear();
    m_currentRow = 0;
    enterMode(Mode::New);
    periodFromDate("txtrcdate");
}

void ARform_fast_receipt::beginEdit() { beginEditUnless(fastReceiptRefusal(*m_shown)); }

std::optional<CheckedFastReceipt> ARform_fast_receipt::checked(const FastReceiptDraft& d) {
    return checkFastReceipt(database(), ui(), context().BASE_CURRENCY, d);
}

void ARform_fast_receipt::saveNew() {
    const FastReceiptDraft d = draft();
    const auto passed = checked(d);
    if (!passed) return;
    saveNewDocument(
        [&] {
            auto where = saveContext();
            return saveNewFastReceipt(where, d, *passed);
        },
        "Add new Fast Receipt complete", "Add new Fast receipt failed");
}

void ARform_fast_receipt::saveEdit() {
    const auto stored = findFastReceipt(database(), m_shown->fkey);
    if (!stored) return documentNotFound(m_shown->docno);
    if (const std::string refusal = fastReceiptRefusal(*stored); !refusal.empty())
        return ui().message(refusal);
    const FastReceiptDraft d = draft();
    const auto passed = checked(d);
    if (!passed) return;
    changeStored(
        [&] {
            auto where = saveContext();
            return updateStoredFastReceipt(where, *stored, d, *passed);
        },
        stored->fkey, "Update Fast Receipt complete", "Update Fast receipt failed");
}

FastReceiptDraft ARform_fast_receipt::draft() const {
    FastReceiptDraft d;
    d.amountText = value("txtrcamount");
    d.receiptDate = shownDate("txtrcdate");
    d.bankCode = value("cmbbank");
    d.currency = value("cmbcurrency");
    d.rateText = value("cmbexrate");
    d.rateDate = shownDate("txtratedate");
    d.remark = value("txtremark");
    d.periodText = value("cmbperiod");
    d.fyear = value("cmbfyear");
    for (const auto& cells : grid(kGrid).rows) {
        const auto cell = [&](const char* column) { return cellOf(cells, column); };
        d.rows.push_back({cell("line no"), cell("transaction type"), cell("receipt by"),
                          cell("check no"), cell("check date"), cell("amount"), cell("invoice no"),
                          cell("order no"), cell("customer po"), cell("description"),
                          cell("account no"), cell("customer no"), cell("payer name"),
                          cell("period"), cell("fiscal year"), cell("deleted") == "TRUE"});
    }
    return d;
}

FastReceiptSaveContext ARform_fast_receipt::saveContext() {
    return {database(), ui(), clock(), ledger(), context().KELTRO_USER, context().BASE_CURRENCY,
            context().KELTRO_DATE_FORMAT};
}

// --- Header reactions ---------------------------------------------------------------------------

void ARform_fast_receipt::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtrcdate") return periodFromDate(control);
        if (control == "txtratedate") return rateDateChanged();
        if (control == "cmbcurrency") return currencyChosen();
        if (control == "cmbexrate") {
            takeDateOfPickedRate();
            return amountOrRateChanged();
        }
        if (control == "txtrcamount") return amountOrRateChanged();
        if (control == "txtdocno" && mode() == Mode::Browse)
            gotoNumber(trimmedText(value(control)));
    });
}

bool ARform_fast_receipt::isForeign() const {
    const std::string currency = trimmedText(value("cmbcurrency"));
    return !currency.empty() && currency != context().BASE_CURRENCY;
}

void ARform_fast_receipt::currencyChosen() {
    if (!isForeign()) {
        setValue("cmbexrate", "");
        setValue("txtratedate", "");
    }
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtrcdate"));
    if (isForeign() && !field("cmbexrate").items.empty()) {
        setValue("cmbexrate", framework::ItemValue(field("cmbexrate").items.front()));
        takeDateOfPickedRate();
    }
    amountOrRateChanged();
}

void ARform_fast_receipt::rateDateChanged() {
    retypeDate("txtratedate");
    fillRateList(trimmedText(value("cmbcurrency")), shownDate("txtratedate"));
}

// The amount shown as money, and its base-currency value.
void ARform_fast_receipt::amountOrRateChanged() {
    const auto amount = numberOf(value("txtrcamount"));
    if (amount) setValue("txtrcamount", FormatAmount(services::roundMoney(*amount)));
    const auto rate = numberOf(value("cmbexrate"));
    const bool atRate = isForeign() && rate.has_value();
    setValue("txtreceipt_base",
             amount ? FormatAmount(receiptBaseAmount(services::roundMoney(*amount),
                                                     rate.value_or(1), atRate))
                    : "");
}

}  // namespace keltro::receipts
