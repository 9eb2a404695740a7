// The receipt cheque history: receipts found by cheque number, receipt number, or customer
// and dates, each with the documents it paid and, where it left unapplied cash, the
// matchings that later used that cash.
//
// Per receipt: one row of the receipt itself ("check/receipt no" shows the cheque number,
// or the receipt number when there is no cheque), one row per line it applied, then the
// lines of every matching that used its unapplied-cash document, with the matching's
// number and date. Without a cheque, a receipt or a customer nothing runs: "please
// specify customer no or receipt/check no".
#pragma once

#include "reports/ReportQueries.h"
#include "reports/ReportScreen.h"

namespace keltro::reports {

class ARreport_receipt_check_history : public ReportScreen {
public:
    ARreport_receipt_check_history();

    ReceiptHistoryFilter filter() const;

protected:
    void onReportLoad() override;

private:
    void run();
    void clear();
    void addReceipt(const db::Row& receipt, std::vector<framework::GridRow>& rows);
};

}  // namespace keltro::reports
