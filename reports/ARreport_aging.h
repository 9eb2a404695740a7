// The aging report: every unpaid A/R item, customer by customer, with its open amount in
// an age column counted in 30-day steps from its due date to today (AgingStatement.h).
//
// Besides the customer ("*" or nothing: every customer), a person may give a day to look
// back to (`txtasof`, empty: today) and the days per age column (`txtclass_width`, 30).
#pragma once

#include <vector>

#include "reports/AgingStatement.h"
#include "reports/ReportScreen.h"

namespace keltro::reports {

class ARreport_aging : public ReportScreen {
public:
    ARreport_aging();

    // The grid rows of the statement's lines: a total row after each customer's items,
    // with "total       " in the column shown left of "open amount".
    std::vector<framework::GridRow> gridRows(const AgingStatement& statement) const;

private:
    void onReportLoad() override;
    void run();
    std::string totalCaption() const;
};

}  // namespace keltro::reports
