#include "reports/ARreport_recur_inquiry.h"

namespace keltro::reports {

ARreport_recur_inquiry::ARreport_recur_inquiry() : Screen("ARreport_recur_inquiry", "Recurring Invoice Inquiry") { addExitCommand("&File"); }

}  // namespace keltro::reports
