#include "matching/ARform_prepayment.h"

namespace keltro::matching {

ARform_prepayment::ARform_prepayment() : Screen("ARform_prepayment", "A/R Prepayment") { addExitCommand("&File"); }

void ARform_prepayment::gotoFkey(const std::string& fkeyx) {
    (void)fkeyx;
}

void ARform_prepayment::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::matching
