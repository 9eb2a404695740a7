#include "revaluation/ARform_revalue.h"

namespace keltro::revaluation {

ARform_revalue::ARform_revalue() : Screen("ARform_revalue", "A/R Revaluation") { addExitCommand("&File"); }

void ARform_revalue::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::revaluation
