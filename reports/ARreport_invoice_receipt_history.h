// Invoice and Receipt History. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::reports {

class ARreport_invoice_receipt_history : public framework::Screen {
public:
    ARreport_invoice_receipt_history();
    void showDocument(const std::string& docnox);
};

}  // namespace keltro::reports
