// A/R Invoice Entry. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::invoice {

class ARform_invoice : public framework::Screen {
public:
    ARform_invoice();
    void openAs(const std::string& doctypex);
    void switchTo(const std::string& doctypex);
    void gotoFkey(const std::string& fkeyx);
    void gotoDocno(const std::string& docnox);
    void gotoRecurringNo(const std::string& docnox);
};

}  // namespace keltro::invoice
