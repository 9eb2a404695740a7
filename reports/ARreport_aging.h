// The aging report: every unpaid A/R item, customer by customer, with its open amount in
// an age column counted in 30-day steps from its due date to today.
#pragma once

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_aging : public framework::Screen {
public:
    ARreport_aging();
};

}  // namespace keltro::reports
