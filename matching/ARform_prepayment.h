// A/R Prepayment. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::matching {

class ARform_prepayment : public framework::Screen {
public:
    ARform_prepayment();
    void gotoFkey(const std::string& fkeyx);
    void gotoDocno(const std::string& docnox);
};

}  // namespace keltro::matching
