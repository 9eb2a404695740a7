// The invoice/receipt history: for a customer or a range of invoice numbers, every
// receipt line and matching line that reached each invoice, with the invoice's open amount
// before and its balance after each payment.
//
// A run needs a customer or an invoice number ("please specify customer no or invoice
// no"). Clicking a row chooses it for the "&Link" commands: "&Receipt/Matching Record"
// opens its receipt (or its matching, "A/R Matching") and "&A/R Record" its invoice.
#pragma once

#include <optional>
#include <string>

#include "reports/ReportQueries.h"
#include "reports/ReportScreen.h"

namespace keltro::reports {

class ARreport_invoice_receipt_history : public ReportScreen {
public:
    ARreport_invoice_receipt_history();
    // Shows the history of one invoice, as the host asks with the invoice's number.
    void showDocument(const std::string& docnox);

    InvoiceHistoryFilter filter() const;

protected:
    void onReportLoad() override;
    void onCellClicked(const std::string& grid, std::size_t row, const std::string& column) override;

private:
    void declareFilters();
    void declareCommands();
    void run();
    void clear();
    void openPayment();
    void openInvoice();

    std::optional<std::size_t> m_chosenRow;
};

}  // namespace keltro::reports
