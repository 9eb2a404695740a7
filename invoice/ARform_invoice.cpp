#include "invoice/ARform_invoice.h"

namespace keltro::invoice {

ARform_invoice::ARform_invoice() : Screen("ARform_invoice", "A/R Invoice Entry") { addExitCommand("&File"); }

void ARform_invoice::openAs(const std::string& doctypex) {
    (void)doctypex;
}

void ARform_invoice::switchTo(const std::string& doctypex) {
    (void)doctypex;
}

void ARform_invoice::gotoFkey(const std::string& fkeyx) {
    (void)fkeyx;
}

void ARform_invoice::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

void ARform_invoice::gotoRecurringNo(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::invoice
