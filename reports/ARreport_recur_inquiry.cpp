#include "reports/ARreport_recur_inquiry.h"

#include "framework/FontBar.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"

namespace keltro::reports {

ARreport_recur_inquiry::ARreport_recur_inquiry()
    : Screen("ARreport_recur_inquiry", "Recurring Invoice Inquiry") {
    // "*" or nothing: every customer.
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));

    // Not locked as a whole: a person ticks "due" on the rows to generate; the layout locks
    // every other column.
    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer no", "customer name", "recurring no",
                                  "recurring name", "recurring date", "begin date",
                                  "expiration date", "no of invoice", "no of issue", "frequency",
                                  "due date", "due"}});

    for (auto& c : reportCommands("Preview")) addCommand(std::move(c));
    addExitCommand("&File");
    addCommand(findCommand());
    addCommand({.caption = "Clear", .toolbar = "Clear"});
    addCommand({.menu = "&Command", .caption = "&List Due Recur", .toolbar = "Due"});
    addCommand({.menu = "&Command", .caption = "&Generate Invoice", .toolbar = "Generate"});
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

}  // namespace keltro::reports
