// The A/R inquiry: the lines of A/R documents chosen by number, or by customer, status,
// invoice-date range and kind, listed for printing and for opening the invoice they
// belong to.
//
// Clicking a row (the window's double-click) opens its invoice in the invoice entry
// screen and makes it the chosen row; "&Receipt" of the "&Link" menu asks for a receipt
// of the chosen row's invoice, or says "Invoice was paid".
#pragma once

#include "reports/ReportQueries.h"
#include "reports/ReportScreen.h"

namespace keltro::reports {

class ARreport_inquiry : public ReportScreen {
public:
    ARreport_inquiry();

    // The query the filters give.
    InquiryFilter filter() const;

protected:
    void onReportLoad() override;
    void onCellClicked(const std::string& grid, std::size_t row, const std::string& column) override;

private:
    void run();
    void clear();
    void receiptForChosenRow();

    std::optional<std::size_t> m_chosenRow;
};

}  // namespace keltro::reports
