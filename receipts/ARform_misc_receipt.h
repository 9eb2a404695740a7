// Miscellaneous Receipt: money received that settles no A/R document (interest, refunds,
// the sale of an asset). The receiving account is debited as on the receipt screen; each
// line of the grid `dbgrid1` credits the G/L account the person chose. No customer takes
// part.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::receipts {

class ARform_misc_receipt : public framework::Screen {
public:
    ARform_misc_receipt();
    void gotoDocno(const std::string& docnox);

private:
    void declareHeader();
    void declareGrids();
    void declareCommands();
};

}  // namespace keltro::receipts
