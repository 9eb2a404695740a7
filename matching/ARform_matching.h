// A/R Matching. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::matching {

class ARform_matching : public framework::Screen {
public:
    ARform_matching();
    void gotoDocno(const std::string& docnox);
};

}  // namespace keltro::matching
