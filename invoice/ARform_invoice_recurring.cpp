// The invoice screen in recurring mode (`chkrecur` ticked): it shows, walks, enters and
// edits recurring definitions instead of documents. A definition's name stands where the
// invoice date stands; its recurring date, effective and expiration dates, number of
// invoices and frequency appear only in this mode.
#include "invoice/ARform_invoice.h"

#include "db/Database.h"
#include "invoice/InvoiceFields.h"
#include "invoice/InvoiceNavigation.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

using framework::Mode;

namespace {

const std::vector<std::string> kRecurringOnly = {"txtrecurname", "txtrecurdate", "txteffectdate",
                                                 "txtexpiredate", "txtnoinvoice", "cmbfreq"};

}  // namespace

// Ticked while a document is entered, the document becomes a definition; ticked or
// cleared while browsing, the screen shows the last definition or the last document.
void ARform_invoice::recurringToggled() {
    showRecurringLook();
    if (mode() == Mode::New) {
        if (recurring() && value("cmbfreq").empty()) setValue("cmbfreq", "monthly");
        return;
    }
    if (recurring()) return viewRecurring();
    showLastOfKind();
}

void ARform_invoice::leaveRecurringMode() {
    setValue("chkrecur", "0");
    showRecurringLook();
}

void ARform_invoice::showRecurringLook() {
    const bool on = recurring();
    mutableField("txtinvdate").visible = !on;
    for (const auto& control : kRecurringOnly) mutableField(control).visible = on;
}

void ARform_invoice::viewRecurring() {
    setValue("chkrecur", "1");
    showRecurringLook();
    if (auto definition = lastRecurring(database())) return showRecurring(*definition);
    showNoDocument();
    ui().message(kNoRecurringMessage);
}

void ARform_invoice::showRecurring(const store::RecurringDefinition& definition) {
    const store::RecurHeader& h = definition.header;
    m_shown.reset();
    m_shownRecurring = definition;
    setValue("chkrecur", "1");
    showRecurringLook();
    setKind(kInvoiceKind);
    const auto customer = store::findCustomer(database(), h.customerNo);
    applyFields(emptyHeaderFields());
    applyFields(recurringFieldValues(h, customer ? customer->name : "",
                                     context().KELTRO_DATE_FORMAT));
    fillRateList("", std::nullopt);
    setLinesFrom(linesForGrid(definition.lines));
    m_linesChanged = false;
    enterMode(Mode::Browse);
}

void ARform_invoice::showRecurringWithKey(const std::string& fkey) {
    if (auto definition = store::loadRecurring(database(), fkey)) showRecurring(*definition);
}

void ARform_invoice::gotoRecurringNumber(const std::string& recurno) {
    if (auto definition = store::loadRecurringByNumber(database(), recurno))
        return showRecurring(*definition);
    documentNotFound(recurno);
}

// Next or previous by key number; from no definition, the last one.
void ARform_invoice::stepRecurring(int direction) {
    if (!m_shownRecurring || mode() == Mode::New) return viewRecurring();
    if (auto definition = steppedRecurring(database(), m_shownRecurring->header.fkey, direction))
        showRecurring(*definition);
}

RecurringDraft ARform_invoice::recurringDraft() const {
    RecurringDraft d;
    d.fkey = m_shownRecurring ? m_shownRecurring->header.fkey : "";
    d.customerNo = trimmedText(value("cmbcustno"));
    d.recurName = value("txtrecurname");
    d.paymentTerm = trimmedText(value("cmbterm"));
    d.currency = trimmedText(value("cmbcurrency"));
    d.recurDateText = value("txtrecurdate");
    d.effectiveDate = shownDate("txteffectdate");
    d.expirationDate = shownDate("txtexpiredate");
    d.noInvoiceText = value("txtnoinvoice");
    d.frequency = trimmedText(value("cmbfreq"));
    d.remark = value("txtremark");
    d.lines = entryLines(grid(kLineGrid).rows);
    d.taxes = &m_taxes;
    return d;
}

// The checks and the save in one transaction; true once committed. A refusal or a
// failure leaves what was typed on screen, in the mode it was in.
bool ARform_invoice::checkAndSaveRecurring(
    Mode saveMode, const std::function<bool(RecurringSaveContext&, const RecurringDraft&,
                                            const CheckedRecurring&)>& save) {
    const RecurringDraft d = recurringDraft();
    const SaveKind kind = saveMode == Mode::New ? SaveKind::NewDocument : SaveKind::Edit;
    bool refused = false;
    bool saved = false;
    guarded([&] {
        db::Transaction transaction(database());
        const auto checked = checkRecurring(database(), ui(), d, kind);
        if (!checked) {
            refused = true;
            return;
        }
        RecurringSaveContext where{database(), ui(), clock(), context().KELTRO_USER};
        if (!save(where, d, *checked)) return;
        transaction.commit();
        saved = true;
    });
    if (!saved && !refused)
        ui().message(saveMode == Mode::New ? "Add new Recurring invoice failed"
                                           : "Update recurring invoice failed");
    if (!saved) stayInMode(saveMode);
    return saved;
}

void ARform_invoice::saveNewRecurring() {
    std::string fkey;
    const bool saved = checkAndSaveRecurring(
        Mode::New, [&](RecurringSaveContext& c, const RecurringDraft& d, const CheckedRecurring& k) {
            const auto key = invoice::saveNewRecurring(c, d, k);
            fkey = key.value_or("");
            return key.has_value();
        });
    if (!saved) return;
    ui().message("Add new Recurring invoice complete");
    showRecurringWithKey(fkey);
}

void ARform_invoice::saveEditedRecurring() {
    const std::string fkey = m_shownRecurring->header.fkey;
    if (!checkAndSaveRecurring(Mode::Edit, invoice::saveEditedRecurring)) return;
    ui().message("Update recurring invoice complete");
    showRecurringWithKey(fkey);
}

}  // namespace keltro::invoice
