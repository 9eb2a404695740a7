#include "reports/ARreport_receipt_check_history.h"

namespace keltro::reports {

ARreport_receipt_check_history::ARreport_receipt_check_history() : Screen("ARreport_receipt_check_history", "Receipt Cheque History") { addExitCommand("&File"); }

}  // namespace keltro::reports
