// `keltro-host --screenshots DIR`: pictures of the program for its documentation.
//
// Once the main window is up, opens the invoice screen, waits for both to be drawn, saves
// them as DIR/main-window.png and DIR/invoice.png (QWidget::grab) and ends the program,
// with status 0 when both files were written.
#pragma once

#include <string>

#include "host/ARclass.h"

namespace keltro::app {

class HostWindow;

void scheduleScreenshots(HostWindow& window, host::ARclass& arclass, const std::string& folder);

}  // namespace keltro::app
