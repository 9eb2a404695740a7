// A/R Receipt Entry: a customer's payment, applied to the customer's open documents one
// pay item at a time, with an early-payment discount and a write-off per pay item.
//
// The grid `dbgrid1` offers the chosen customer's unpaid lines; an excess of the receipt
// over what it applies becomes an unapplied-cash document. The same screen completes the
// receipts the fast receipt screen stored without applying them.
#pragma once

#include <string>

#include "framework/Screen.h"

namespace keltro::receipts {

class ARform_receipt : public framework::Screen {
public:
    ARform_receipt();

    // A new receipt from `custnox`, with the document `docnox` offered first.
    void receiptThisInvoice(const std::string& docnox, const std::string& custnox);
    void gotoDocno(const std::string& docnox);

    // The document to offer first once the customer's open lines are listed; empty when
    // none was asked for.
    const std::string& invoiceToPay() const { return m_invoiceToPay; }

private:
    void declareHeader();
    void declareGrids();
    void declareCommands();

    std::string m_invoiceToPay;
};

}  // namespace keltro::receipts
