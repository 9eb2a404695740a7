// `keltro-host --screenshots DIR`: pictures of the program for its documentation.
//
// Once the main window is up, opens the invoice screen (which shows the last invoice of
// the company), waits for both to be drawn, saves them as DIR/main-window.png and
// DIR/invoice.png (QWidget::grab), its tax details window as DIR/invoice-tax-details.png,
// prints the invoice shown with "&Preview" into DIR/invoice-printout.pdf, then opens the
// receipt screen, applies a check to the invoice and the customer's debit note (the
// customer's unapplied cash stays listed in its own style) and saves DIR/receipt.png. The
// program ends with status 0 when every file was written. scripts/screenshots.sh enters
// the documents beforehand and turns the printout into a picture.
#pragma once

#include <string>

#include "host/ARclass.h"

namespace keltro::app {

class HostWindow;

void scheduleScreenshots(HostWindow& window, host::ARclass& arclass, const std::string& folder);

}  // namespace keltro::app
