// The receipt screen's commands around a stored receipt: void, the links and preview.
#include "receipts/ARform_receipt.h"

#include "receipts/ReceiptApplication.h"
#include "receipts/ReceiptPrint.h"
#include "receipts/ReceiptVoid.h"

namespace keltro::receipts {

using framework::Mode;
using framework::trimmedText;

// --- Commands around a stored receipt ------------------------------------------------------

void ARform_receipt::voidCommand() {
    if (mode() != Mode::Browse || !m_shown) return;
    const auto stored = findReceipt(database(), m_shown->fkey);
    if (!stored) return;
    const auto refusal = voidRefusal(database(), *stored);
    for (const auto& message : refusal)
        ui().message(message);
    if (!refusal.empty() || !ui().ask("Are you sure to void this receipt?")) return;
    bool voided = false;
    guarded([&] {
        auto save = saveContext();
        voided = voidReceipt(save, *stored);
    });
    if (!voided) return ui().message("Void Receipt failed");
    ui().message("Receipt " + stored->docno + " is void.");
    showReceiptWithKey(stored->fkey);
}

void ARform_receipt::glRecord() {
    if (m_shown && mode() != Mode::New && !m_shown->glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->glFkey, "");
}

void ARform_receipt::arRecord() {
    const auto& rows = grid(kGrid).rows;
    if (m_currentRow >= rows.size()) return;
    const std::string invoiceNo = trimmedText(cellOf(rows[m_currentRow], column::kInvoiceNo));
    if (!invoiceNo.empty()) raiseNotification("A/R Invoice Entry", invoiceNo, "");
}

void ARform_receipt::preview() {
    if (!m_shown || mode() == Mode::New) return;
    const PrintedReceipt printed{m_shown->fkey,      m_shown->docno,        value("cmbcustname"),
                                 value("txtrcdate"), value("txtcheckdate"), value("txtratedate")};
    raiseNotification("ActiveReport", previewTitle(printed), previewQuery(printed));
}

}  // namespace keltro::receipts
