#include "revaluation/ARform_revalue.h"

#include "framework/FontBar.h"
#include "framework/StandardCommands.h"
#include "reports/ReportCommands.h"

namespace keltro::revaluation {

using framework::FieldKind;

namespace {

// The fields a new revaluation starts empty.
constexpr const char* kDocumentFields[] = {"txtdocno", "txtfkey",  "txtglfkey", "txtlastdate",
                                           "txtdate",  "txtdesc", "cmbperiod", "cmbfyear"};

// The account grid's amount columns carry the base currency: "debit (USD)".
std::vector<std::string> accountCaptions(const std::string& baseCurrency) {
    return {"account no", "account name", "currency", "debit (" + baseCurrency + ")",
            "credit (" + baseCurrency + ")"};
}

}  // namespace

ARform_revalue::ARform_revalue() : Screen("ARform_revalue", "A/R Revaluation") {
    declareHeader();
    declareGrids();
    declareCommands();
}

void ARform_revalue::declareHeader() {
    addField({.name = "txtdocno", .caption = "Document no"});
    addField({.name = "txtfkey", .caption = "Key", .locked = true});
    addField({.name = "txtglfkey", .caption = "G/L key", .locked = true});
    // Open items dated up to this day are revalued.
    addField({.name = "txtlastdate", .kind = FieldKind::Date, .caption = "Last transaction date"});
    addField({.name = "txtdate", .kind = FieldKind::Date, .caption = "Revaluation date"});
    addField({.name = "txtdesc", .caption = "Description"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    addField({.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
              .locked = true});
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARform_revalue::declareGrids() {
    // One line per currency to revalue, with its new rate and the customers it covers.
    addGrid({.name = "dbgridcmd",
             .declaredCaptions = {"currency", "rate", "every customer", "customer group",
                                  "customer no"},
             .lookupColumns = {{"currency", ""},
                               {"customer no", "0;3000;<;customer name|1;1500;<;customer no"}}});
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer no", "customer name", "document no", "date",
                                  "pay item", "currency", "original rate", "invoice amount",
                                  "original base-currency amount", "unrealized Gain/Loss",
                                  "new base-currency amount"},
             .locked = true,
             .page = "Result"});
    // The base currency is known once the host context is in: see onLoad.
    addGrid({.name = "dbgrid2", .declaredCaptions = accountCaptions(""), .locked = true,
             .page = "Account"});
}

void ARform_revalue::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(reports::pageSetupCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File", "");
    auto modes = framework::modeCommands("");
    modes.front().action = [this] {
        if (command("&New").checked) startNew();
    };
    for (auto& c : modes) addCommand(std::move(c));
    for (auto& c : framework::lineCommands()) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record"});
    // Computes the revalued items and the account summary.
    addCommand({.caption = "Find result", .toolbar = "Find"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("AR Revalue Help", "AR Revalue Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARform_revalue::onLoad() {
    mutableGrid("dbgrid2").declaredCaptions = accountCaptions(context().BASE_CURRENCY);
}

void ARform_revalue::startNew() {
    for (const char* name : kDocumentFields) setValue(name, "");
    setValue("chkprint", "0");
    setValue("txtdocno", framework::kNewDocumentNo);
    for (const char* grid : {"dbgridcmd", "dbgrid1", "dbgrid2"}) mutableGrid(grid).rows.clear();
    setMode(framework::Mode::New);
}

void ARform_revalue::gotoDocno(const std::string& docnox) {
    if (value("txtdocno") == framework::kNewDocumentNo) return;
    setValue("txtdocno", docnox);
}

}  // namespace keltro::revaluation
