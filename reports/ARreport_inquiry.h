// The A/R inquiry: the lines of A/R documents chosen by number, or by customer, status,
// invoice-date range and kind, listed for printing and for opening the invoice they
// belong to.
#pragma once

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_inquiry : public framework::Screen {
public:
    ARreport_inquiry();
};

}  // namespace keltro::reports
