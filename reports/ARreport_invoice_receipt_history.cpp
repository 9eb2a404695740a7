#include "reports/ARreport_invoice_receipt_history.h"

#include "framework/FontBar.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"

namespace keltro::reports {

ARreport_invoice_receipt_history::ARreport_invoice_receipt_history()
    : Screen("ARreport_invoice_receipt_history", "Invoice and Receipt History") {
    declareFilters();
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer no", "customer name", "pay item", "invoice no",
                                  "invoice date", "gross amount", "open amount", "applied amount",
                                  "balance", "discount available", "write-off", "discount taken",
                                  "currency", "invoice exch rate", "receipt exch rate",
                                  "receipt no", "receipt document no", "receipt date", "check no",
                                  "check date", "matching"},
             .locked = true});
    declareCommands();
}

void ARreport_invoice_receipt_history::declareFilters() {
    for (auto& f : customerFields()) addField(std::move(f));
    // One invoice, or the range from `txtdocno` to `txtdocno2`; either outweighs the
    // customer, the dates and the options.
    addField({.name = "txtdocno", .caption = "Invoice no"});
    addField({.name = "txtdocno2", .caption = "To invoice no"});
    for (auto& f : dateRangeFields("cal1", "Invoice date")) addField(std::move(f));
    for (auto& f : optionFields({{"opt_paid", "Paid"}, {"opt_partial", "Partly paid"},
                                 {"opt_all", "All"}},
                                "opt_all"))
        addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));
}

void ARreport_invoice_receipt_history::declareCommands() {
    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&Receipt/Matching Record"});
    addCommand({.menu = "&Link", .caption = "&A/R Record"});
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

void ARreport_invoice_receipt_history::showDocument(const std::string& docnox) {
    setValue("txtdocno", docnox);
}

}  // namespace keltro::reports
