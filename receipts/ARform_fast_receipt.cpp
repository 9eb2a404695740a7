#include "receipts/ARform_fast_receipt.h"

namespace keltro::receipts {

ARform_fast_receipt::ARform_fast_receipt() : Screen("ARform_fast_receipt", "A/R Fast Receipt") { addExitCommand("&File"); }

void ARform_fast_receipt::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::receipts
