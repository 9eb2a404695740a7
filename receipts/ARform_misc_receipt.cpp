#include "receipts/ARform_misc_receipt.h"

namespace keltro::receipts {

ARform_misc_receipt::ARform_misc_receipt() : Screen("ARform_misc_receipt", "Miscellaneous Receipt") { addExitCommand("&File"); }

void ARform_misc_receipt::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::receipts
