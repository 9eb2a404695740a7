#include "reports/ARreport_aging.h"

#include "framework/FontBar.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"

namespace keltro::reports {

using framework::FieldKind;

ARreport_aging::ARreport_aging() : Screen("ARreport_aging", "A/R Aging Report") {
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    // "*" or nothing: every customer.
    for (auto& f : customerFields()) addField(std::move(f));
    for (auto& f : framework::fontBarFields()) addField(std::move(f));

    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer", "invoice no", "invoice date", "pay item",
                                  "gross amount", "open amount", "1 - 30", "31 - 60", "61 - 90",
                                  "> 90", "credit limit"},
             .locked = true});

    addCommand(findCommand());
    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
}

}  // namespace keltro::reports
