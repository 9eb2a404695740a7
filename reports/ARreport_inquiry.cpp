#include "reports/ARreport_inquiry.h"

#include "framework/FontBar.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"

namespace keltro::reports {

ARreport_inquiry::ARreport_inquiry() : Screen("ARreport_inquiry", "A/R Inquiry") {
    // A document number, when given, outweighs every other filter.
    addField({.name = "txtdocno", .caption = "Document no"});
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : optionFields({{"opt_paid", "Paid"}, {"opt_open", "Open"}, {"opt_void", "Void"},
                                 {"opt_all", "All"}},
                                "opt_all"))
        addField(std::move(f));
    for (auto& f : dateRangeFields("cal1", "Invoice date")) addField(std::move(f));
    for (auto& f : optionFields({{"opt_invoice", "Invoice"}, {"opt_creditnote", "Credit note"},
                                 {"opt_debitnote", "Debit note"}},
                                "opt_invoice"))
        addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));

    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer no", "customer name", "invoice no", "invoice date",
                                  "due date", "pay item", "gross amount", "open amount", "paid",
                                  "void", "payment term"},
             .locked = true});

    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : queryCommands()) addCommand(std::move(c));
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

}  // namespace keltro::reports
