// A/R Revaluation. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::revaluation {

class ARform_revalue : public framework::Screen {
public:
    ARform_revalue();
    void gotoDocno(const std::string& docnox);
};

}  // namespace keltro::revaluation
