// A/R matching: settles a customer's open credits (credit notes, prepayments, unapplied
// cash) against the same customer's open debits (invoices, debit notes) without money
// moving.
//
// A saved matching (document type "mc") has one line per settled open item; it lowers the
// open amounts of the documents involved and posts to the ledger only what the settlement
// changes: discounts taken, write-offs and exchange differences.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::matching {

class ARform_matching : public framework::Screen {
public:
    ARform_matching();
    // Shows the matching with this number, as the host asks.
    void gotoDocno(const std::string& docnox);

private:
    void declareHeader();
    void declareGrid();
    void declareCommands();
};

}  // namespace keltro::matching
