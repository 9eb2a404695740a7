#include "receipts/ARform_misc_receipt.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"

namespace keltro::receipts {

ARform_misc_receipt::ARform_misc_receipt()
    : Screen("ARform_misc_receipt", "Miscellaneous Receipt") {
    declareHeader();
    declareGrids();
    declareCommands();
}

void ARform_misc_receipt::declareHeader() {
    for (auto& f : documentFields("mrc")) addField(std::move(f));
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
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"line no", "account no", "account name", "amount", "description",
                                  "reference", "computer id"},
             .lookupColumns = {{"account no", kAccountList}}});
    // The font bar works on the grids above.
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
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
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_misc_receipt::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

}  // namespace keltro::receipts
