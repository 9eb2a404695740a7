#include "receipts/ARform_fast_receipt.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"

namespace keltro::receipts {

using framework::FieldKind;

ARform_fast_receipt::ARform_fast_receipt() : Screen("ARform_fast_receipt", "A/R Fast Receipt") {
    declareHeader();
    declareGrids();
    declareCommands();
}

void ARform_fast_receipt::declareHeader() {
    for (auto& f : documentFields("fr")) addField(std::move(f));
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
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"line no", "transaction type", "receipt by", "check no",
                                  "check date", "amount", "invoice no", "order no",
                                  "customer po", "description", "account no", "account name",
                                  "customer no", "customer name", "payer name",
                                  "receipt document no", "receipt document type", "period",
                                  "fiscal year", "glfkey", "computer id"},
             .lookupColumns = {{"account no", kAccountList}, {"customer no", kCustomerNoList}}});
    // The font bar works on the grids above.
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
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
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_fast_receipt::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

}  // namespace keltro::receipts
