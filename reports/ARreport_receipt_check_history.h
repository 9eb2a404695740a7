// The receipt cheque history: receipts found by cheque number, receipt number, or customer
// and dates, each with the documents it paid and, where it left unapplied cash, the
// matchings that later used that cash.
#pragma once

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_receipt_check_history : public framework::Screen {
public:
    ARreport_receipt_check_history();
};

}  // namespace keltro::reports
