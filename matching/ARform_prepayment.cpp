#include "matching/ARform_prepayment.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"

namespace keltro::matching {

using framework::FieldKind;

ARform_prepayment::ARform_prepayment() : Screen("ARform_prepayment", "A/R Prepayment") {
    declareHeader();
    // The lines of the shown prepayment, for reading only.
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"pay item", "invoice no", "invoice date", "gross amount",
                                  "open amount", "applied amount", "balance", "currency",
                                  "computer id"},
             .locked = true});
    declareCommands();
}

void ARform_prepayment::declareHeader() {
    for (auto& f : receipts::documentFields("rpp")) addField(std::move(f));
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
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
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
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_prepayment::gotoFkey(const std::string& fkeyx) { setValue("txtfkey", fkeyx); }

void ARform_prepayment::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

}  // namespace keltro::matching
