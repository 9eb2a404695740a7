// A/R Fast Receipt: a batch of money received on one day into one bank, one line of the
// grid `dbgrid1` per cheque or cash payment, each saying what the money is (a receipt for
// an invoice, unapplied cash, a prepayment or a miscellaneous receipt). Saving posts a
// journal per line; "&Generate actual receipt" later makes the real documents from the lines.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::receipts {

class ARform_fast_receipt : public framework::Screen {
public:
    ARform_fast_receipt();
    void gotoDocno(const std::string& docnox);

private:
    void declareHeader();
    void declareGrids();
    void declareCommands();
};

}  // namespace keltro::receipts
