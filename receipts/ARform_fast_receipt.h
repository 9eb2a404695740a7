// A/R Fast Receipt. (Declared layout only; its rules follow.)
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::receipts {

class ARform_fast_receipt : public framework::Screen {
public:
    ARform_fast_receipt();
    void gotoDocno(const std::string& docnox);
};

}  // namespace keltro::receipts
