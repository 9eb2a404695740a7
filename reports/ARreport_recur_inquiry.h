// The recurring-invoice inquiry: lists recurring-invoice definitions, finds the ones due
// this month or quarter, and generates and posts one invoice for each row marked "due".
//
//   "&Find"              every definition, or those of the customer in `cmbcustno` /
//                        `cmbcustname` ("*" or nothing: every customer)
//   "Clear"              empties the customer and the grid
//   "&List Due Recur"    the due list (reports/RecurringDue.h) with each row's due date
//   "&Generate Invoice"  one invoice per row whose "due" box is ticked, in grid order, all
//                        in one transaction (invoice/RecurringGeneration.h): after any
//                        refusal nothing of the run remains, "Generate invoice from on due
//                        recurring-invoice failed"; else "Generate invoices complete"
//
// Double-clicking a row asks the host to show the definition on the invoice screen
// ("A/R Invoice Recurring" with its "recurring no"). Its page format, printed columns and
// "&Preview" are those of every report screen (ReportScreen.h), titled "RECURRING
// INVOICES".
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "reports/ReportScreen.h"
#include "services/Balances.h"
#include "services/Clock.h"
#include "store/RecurringDefinition.h"

namespace keltro::reports {

class ARreport_recur_inquiry : public ReportScreen {
public:
    ARreport_recur_inquiry();

protected:
    void onReportLoad() override;
    void onFieldChanged(const std::string& control) override;
    void onCellDoubleClicked(const std::string& grid, std::size_t row,
                             const std::string& column) override;

private:
    void declareCommands();
    void attach(const std::string& caption, std::function<void()> action);

    void find();
    void clear();
    void listDue();
    void generateInvoices();
    // Generates the ticked rows inside the caller's transaction; false after a refusal.
    bool generateTickedRows();
    std::optional<db::Date> invoiceDateOf(const framework::GridRow& row);

    framework::GridRow rowOf(const store::RecurHeader& header);
    // The customer's name, read once per run for the rows shown.
    std::string cachedCustomerName(const std::string& customerNo);
    // Runs a step, showing a database failure as a message.
    void guarded(const std::function<void()>& step);
    const services::Clock& clock() const;

    services::SystemClock m_systemClock;  // when the host gives no clock
    std::optional<services::LedgerContext> m_ledger;
    std::map<std::string, std::string> m_customerNames;  // by number, for the rows shown
};

}  // namespace keltro::reports
