#include "matching/ARform_matching.h"

namespace keltro::matching {

ARform_matching::ARform_matching() : Screen("ARform_matching", "A/R Matching") { addExitCommand("&File"); }

void ARform_matching::gotoDocno(const std::string& docnox) {
    (void)docnox;
}

}  // namespace keltro::matching
