// A/R prepayment: money a customer pays before any invoice exists.
//
// A prepayment is a receipt of document type "rpp" with one open credit line that a
// matching or an invoice later consumes; it is posted to the ledger at once, cash side
// against the customer prepayment liability. The screen shows, voids and steps through
// saved prepayments, and enters new ones.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::matching {

class ARform_prepayment : public framework::Screen {
public:
    ARform_prepayment();
    // Shows the prepayment with this internal key, as the host asks.
    void gotoFkey(const std::string& fkeyx);
    // Shows the prepayment with this number, as the host asks.
    void gotoDocno(const std::string& docnox);

private:
    void declareHeader();
    void declareCommands();
};

}  // namespace keltro::matching
