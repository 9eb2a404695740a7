// A/R Receipt Entry. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::receipts {

class ARform_receipt : public framework::Screen {
public:
    ARform_receipt();
    void receiptThisInvoice(const std::string& docnox, const std::string& custnox);
    void gotoDocno(const std::string& docnox);
};

}  // namespace keltro::receipts
