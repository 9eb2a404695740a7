// Recurring Invoice Inquiry. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_recur_inquiry : public framework::Screen {
public:
    ARreport_recur_inquiry();
};

}  // namespace keltro::reports
