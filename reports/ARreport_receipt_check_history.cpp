#include "reports/ARreport_receipt_check_history.h"

#include "framework/FontBar.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"

namespace keltro::reports {

ARreport_receipt_check_history::ARreport_receipt_check_history()
    : Screen("ARreport_receipt_check_history", "Receipt Cheque History") {
    // A cheque number outweighs a receipt number, and either outweighs customer and dates.
    addField({.name = "txtcheckno", .caption = "Check no"});
    addField({.name = "txtrcno", .caption = "Receipt document no"});
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : dateRangeFields("monthselect", "Receipt date")) addField(std::move(f));
    // Neither set: receipts of every status.
    for (auto& f : optionFields({{"opt_complete", "Completely matched"},
                                 {"opt_partial", "Unapplied cash left"}},
                                ""))
        addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));

    // Its stored layout goes by the name of the report it prints, the receipt matching history.
    addGrid({.name = "dbgrid1",
             .layoutForm = "ARreport_receipt_matching_history",
             .declaredCaptions = {"receipt document no", "receipt date", "check/receipt no",
                                  "check date", "receipt amount", "base-currency amount",
                                  "match no", "match date", "unapplied document",
                                  "unapplied amount", "customer no", "customer name", "pay item",
                                  "invoice no", "invoice date", "gross amount", "open amount",
                                  "applied amount", "balance", "discount available", "write-off",
                                  "discount taken", "currency"},
             .locked = true});

    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

}  // namespace keltro::reports
