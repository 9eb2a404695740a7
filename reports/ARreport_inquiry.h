// A/R Inquiry. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_inquiry : public framework::Screen {
public:
    ARreport_inquiry();
};

}  // namespace keltro::reports
