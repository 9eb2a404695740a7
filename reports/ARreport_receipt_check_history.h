// Receipt Cheque History. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_receipt_check_history : public framework::Screen {
public:
    ARreport_receipt_check_history();
};

}  // namespace keltro::reports
