// `keltro-host --screenshots DIR`: pictures of the program for its documentation.
//
// Once the main window is up, opens the invoice screen (which shows the last invoice of
// the company), waits for both to be drawn, saves them as DIR/main-window.png and
// DIR/invoice.png (QWidget::grab), prints the invoice shown with "&Preview" into
// DIR/invoice-printout.pdf and ends the program, with status 0 when all three files were
// written. scripts/screenshots.sh enters the invoice beforehand and turns the printout
// into a picture.
#pragma once

#include <string>

#include "host/ARclass.h"

namespace keltro::app {

class HostWindow;

void scheduleScreenshots(HostWindow& window, host::ARclass& arclass, const std::string& folder);

}  // namespace keltro::app
