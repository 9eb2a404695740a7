// A/R revaluation: values the open foreign-currency receivables at new rates on a cut-off
// date and books the unrealized exchange gain or loss, with its reversal in the next
// period.
//
// A revaluation (document type "arre") keeps its criteria (currency, new rate, customers),
// the revalued items and the account summary; it changes no A/R document.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::revaluation {

class ARform_revalue : public framework::Screen {
public:
    ARform_revalue();
    // Shows the revaluation with this number, as the host asks; a new revaluation being
    // entered stays on screen.
    void gotoDocno(const std::string& docnox);

protected:
    void onLoad() override;

private:
    void declareHeader();
    void declareGrids();
    void declareCommands();
    // Clears the screen for a new revaluation.
    void startNew();
};

}  // namespace keltro::revaluation
