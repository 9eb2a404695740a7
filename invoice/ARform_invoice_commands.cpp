// The invoice screen's commands around a saved document: void, receipt, history, links,
// the address window, preview, and which documents the screen walks.
#include "invoice/ARform_invoice.h"

#include <algorithm>

#include "invoice/InvoiceFields.h"
#include "invoice/InvoicePrint.h"
#include "invoice/InvoiceVoid.h"
#include "store/ReferenceData.h"

namespace keltro::invoice {

using framework::Mode;

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
    leaveRecurringMode();
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
