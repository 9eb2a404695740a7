#include "reports/ARreport_aging.h"

#include <algorithm>

#include "framework/FieldText.h"
#include "reports/ReportCommands.h"
#include "reports/ReportFields.h"
#include "services/DateFormat.h"

namespace keltro::reports {

using framework::FieldKind;

ARreport_aging::ARreport_aging()
    : ReportScreen("ARreport_aging", "A/R Aging Report",
                   {"CUSTOMER INVOICES AGING", "customer_invoice_aging", "Preview Customer Invoice Aging"}) {
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .items = {"1"}});
    // "*" or nothing: every customer.
    for (auto& f : customerFields()) addField(std::move(f));
    // Empty: today, in 30-day columns.
    addField({.name = "txtasof", .kind = FieldKind::Date, .caption = "As of"});
    addField({.name = "txtclass_width", .caption = "Days per column", .value = "30"});

    addGrid({.name = kReportGrid,
             .declaredCaptions = {"customer", "invoice no", "invoice date", "pay item",
                                  "gross amount", "open amount", "1 - 30", "31 - 60", "61 - 90",
                                  "> 90", "credit limit"},
             .locked = true});

    addCommand(findCommand()).action = [this] { run(); };
    for (auto& c : reportCommands("")) addCommand(std::move(c));
    addExitCommand("&File", "");
    attachReportActions();
}

void ARreport_aging::onReportLoad() { fillCustomerLists(true); }

void ARreport_aging::run() {
    AgingRun agingRun{.customer = chosenCustomer(), .today = context().clock->today()};
    agingRun.asOf = dateField("txtasof");
    const double width = services::ParseAmountText(framework::trimmedText(value("txtclass_width")));
    if (width >= 1) agingRun.classWidth = static_cast<int>(width);
    const auto statement = RunAging(database(), agingRun, [this](long done, long total) {
        reportProgress(done, total);
    });
    showRows(gridRows(statement));
}

std::string ARreport_aging::totalCaption() const {
    std::vector<const framework::GridColumn*> shown;
    for (const auto& column : grid(kReportGrid).columns) shown.push_back(&column);
    std::stable_sort(shown.begin(), shown.end(), [&](const auto* a, const auto* b) {
        const auto position = [&](const framework::GridColumn* c) {
            return c->displayPosition >= 0 ? c->displayPosition
                                           : static_cast<int>(c - grid(kReportGrid).columns.data());
        };
        return position(a) < position(b);
    });
    for (std::size_t i = 1; i < shown.size(); ++i)
        if (shown[i]->caption == "open amount") return shown[i - 1]->caption;
    return "gross amount";
}

std::vector<framework::GridRow> ARreport_aging::gridRows(const AgingStatement& statement) const {
    using services::FormatAmount;
    const std::string totalColumn = totalCaption();
    std::vector<framework::GridRow> rows;
    rows.reserve(statement.lines.size());
    for (const auto& line : statement.lines) {
        framework::GridRow row;
        if (line.total) {
            row[totalColumn] = "total       ";
            row["open amount"] = FormatAmount(line.openAmount);
            rows.push_back(std::move(row));
            continue;
        }
        if (line.firstOfCustomer) {
            const auto& customer = statement.customerOf(line);
            row["customer"] = customer.name;
            if (customer.creditLimit) row["credit limit"] = FormatAmount(*customer.creditLimit);
        }
        row["invoice no"] = std::string(statement.docno(line));
        row["invoice date"] = shownDate(line.invoiceDate);
        row["pay item"] = std::string(statement.payItem(line));
        row["gross amount"] = FormatAmount(line.grossAmount);
        row["open amount"] = FormatAmount(line.openAmount);
        if (line.ageColumn >= 0) row[kAgeColumns[line.ageColumn]] = FormatAmount(line.openAmount);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace keltro::reports
