#include "reports/ARreport_inquiry.h"

namespace keltro::reports {

ARreport_inquiry::ARreport_inquiry() : Screen("ARreport_inquiry", "A/R Inquiry") { addExitCommand("&File"); }

}  // namespace keltro::reports
