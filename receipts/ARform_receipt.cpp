#include "receipts/ARform_receipt.h"

namespace keltro::receipts {

ARform_receipt::ARform_receipt() : Screen("ARform_receipt", "A/R Receipt Entry") { addExitCommand("&File"); }

void ARform_receipt::receiptThisInvoice(const std::string& docnox, const std::string& custnox) {
    (void)docnox;
    (void)custnox;
}

void ARform_receipt::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::receipts
