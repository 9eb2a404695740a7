#include "receipts/ARform_receipt.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"

namespace keltro::receipts {

using framework::FieldKind;

ARform_receipt::ARform_receipt() : Screen("ARform_receipt", "A/R Receipt Entry") {
    declareHeader();
    declareGrids();
    declareCommands();
}

void ARform_receipt::declareHeader() {
    for (auto& f : documentFields("rc")) addField(std::move(f));
    addField(journalKeyField());
    for (auto& f : receiptDateFields()) addField(std::move(f));
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : paymentFields()) addField(std::move(f));
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "txtrcamount", .caption = "Receipt amount"});
    for (auto& f : currencyFields()) addField(std::move(f));
    addField({.name = "txtreceipt_base", .caption = "Base-currency amount", .locked = true});
    // Lists only the lines in one currency; "*" lists them all.
    addField({.name = "cmbinvoice_currency", .kind = FieldKind::Combo,
              .caption = "Invoice currency"});
    addField({.name = "txttotal", .caption = "Total applied", .locked = true});
    addField({.name = "label_total_currency", .kind = FieldKind::Label,
              .caption = "Total currency"});
    addField({.name = "txttotal_base", .caption = "Total in base currency", .locked = true});
    addField({.name = "txtunapplied_docno", .caption = "Unapplied document", .locked = true});
    addField({.name = "txtunapplied_amount", .caption = "Unapplied amount", .locked = true});
    addField({.name = "txtfast_docno", .caption = "Fast receipt no", .locked = true});
    addField({.name = "txtfast_invoice_no", .caption = "Fast receipt invoice no", .locked = true});
    for (auto& f : flagFields()) addField(std::move(f));
}

void ARform_receipt::declareGrids() {
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"document type", "pay item", "invoice no", "invoice date",
                                  "gross amount", "open amount", "discount available",
                                  "currency", "invoice exch rate", "receipt exch rate",
                                  "applied amount", "discount taken", "write-off",
                                  "discount account", "write-off account",
                                  "base-currency amount", "net balance", "deposit",
                                  "sales invoice", "remark", "computer id"},
             .lookupColumns = {{"discount account", kAccountList},
                               {"write-off account", kAccountList}}});
    // The font bar works on the grids above.
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARform_receipt::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand("Preview"));
    addExitCommand("&File");
    for (auto& c : framework::modeCommands("New")) addCommand(std::move(c));
    for (auto& c : framework::voidMenuCommands(*this, "&Void Receipt")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("Last record")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand({.menu = "&Link", .caption = "&A/R Record", .toolbar = "A/R"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("A/R Receipt Entry Help", "AR Receipt Entry Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_receipt::receiptThisInvoice(const std::string& docnox, const std::string& custnox) {
    m_invoiceToPay = docnox;
    setValue("txtdocno", framework::kNewDocumentNo);
    setValue("cmbcustno", custnox);
    mutableCommand("&New").checked = true;
    setMode(framework::Mode::New);
}

void ARform_receipt::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

}  // namespace keltro::receipts
