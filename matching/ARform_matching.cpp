#include "matching/ARform_matching.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "receipts/ReceiptFields.h"

namespace keltro::matching {

using framework::FieldKind;

ARform_matching::ARform_matching() : Screen("ARform_matching", "A/R Matching") {
    declareHeader();
    declareGrid();
    declareCommands();
}

void ARform_matching::declareHeader() {
    for (auto& f : receipts::documentFields("mc"))
        if (f.name != "txtid") addField(std::move(f));
    addField(receipts::journalKeyField());
    addField({.name = "txtdate", .kind = FieldKind::Date, .caption = "Matching date"});
    addField({.name = "txtratedate", .kind = FieldKind::Date, .caption = "Rate date"});
    for (auto& f : receipts::customerFields()) addField(std::move(f));
    addField({.name = "txtremark", .caption = "Remark"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    // The credit side in base currency must equal the debit side in base currency.
    addField({.name = "txtua_amount", .caption = "Unapplied amount", .locked = true});
    addField({.name = "txtinvoice_base", .caption = "Invoice base-currency amount",
              .locked = true});
    addField({.name = "txttotal", .caption = "Invoice amount", .locked = true});
    addField({.name = "label_total_currency", .kind = FieldKind::Label,
              .caption = "Invoice currency"});
    for (auto& f : receipts::flagFields()) addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARform_matching::declareGrid() {
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"pay item", "invoice no", "document type", "invoice date",
                                  "check no", "gross amount", "open amount", "applied amount",
                                  "balance", "discount available", "discount account",
                                  "write-off account", "write-off", "discount taken", "remark",
                                  "currency", "invoice exch rate", "receipt exch rate",
                                  "base-currency amount", "computer id"},
             .lookupColumns = {{"discount account", receipts::kAccountList},
                               {"write-off account", receipts::kAccountList}}});
}

void ARform_matching::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File", "");
    addCommand(framework::modeCommands("New").front());
    // On the menu, but a saved matching is not voided here.
    for (auto& c : framework::voidMenuCommands(*this, "&Void matching")) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record", .toolbar = "G/L"});
    addCommand({.menu = "&Link", .caption = "&A/R Record"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("AR Matching Help", "AR Matching Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_matching::gotoDocno(const std::string& docnox) { setValue("txtdocno", docnox); }

}  // namespace keltro::matching
