// The recurring-invoice inquiry: lists recurring-invoice definitions, finds the ones due
// this month or quarter, and generates and posts one invoice for each row marked "due".
#pragma once

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_recur_inquiry : public framework::Screen {
public:
    ARreport_recur_inquiry();
};

}  // namespace keltro::reports
