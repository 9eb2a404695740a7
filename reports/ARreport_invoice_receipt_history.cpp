#include "reports/ARreport_invoice_receipt_history.h"

namespace keltro::reports {

ARreport_invoice_receipt_history::ARreport_invoice_receipt_history() : Screen("ARreport_invoice_receipt_history", "Invoice and Receipt History") { addExitCommand("&File"); }

void ARreport_invoice_receipt_history::showDocument(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::reports
