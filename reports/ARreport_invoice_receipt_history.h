// The invoice/receipt history: for a customer or a range of invoice numbers, every
// receipt line and matching line that reached each invoice, with the invoice's open amount
// before and its balance after each payment.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_invoice_receipt_history : public framework::Screen {
public:
    ARreport_invoice_receipt_history();
    // Shows the history of one invoice, as the host asks with the invoice's number.
    void showDocument(const std::string& docnox);

private:
    void declareFilters();
    void declareCommands();
};

}  // namespace keltro::reports
