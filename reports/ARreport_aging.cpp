#include "reports/ARreport_aging.h"

namespace keltro::reports {

using framework::Command;
using framework::Field;
using framework::FieldKind;
using framework::Grid;

ARreport_aging::ARreport_aging() : Screen("ARreport_aging", "A/R Aging Report") {
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    addField({.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
              .columnSpec = "0;1500;^;Customer no|1;3000;<;Name"});
    addField({.name = "cmbcustname", .kind = FieldKind::Combo, .caption = "Customer name",
              .columnSpec = "0;3000;<;Customer name|1;1500;^;No"});

    addGrid({.name = "dbgrid1",
             .declaredCaptions = {"customer", "invoice no", "invoice date", "pay item",
                                  "gross amount", "open amount", "1 - 30", "31 - 60", "61 - 90",
                                  "> 90", "credit limit"},
             .locked = true});

    addCommand({.menu = "&Run", .caption = "&Find", .toolbar = "Find"});
    addCommand({.menu = "&File", .caption = "Page Set&up"});
    addCommand({.menu = "&File", .caption = "Print &Column"});
    addCommand({.menu = "&File", .caption = "&Preview", .needs = framework::Right::Print});
    addExitCommand("&File", "");
    addCommand({.menu = "&Option", .caption = "&Show Text below Icon", .checkable = true});
}

}  // namespace keltro::reports
