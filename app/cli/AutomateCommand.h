// `keltro-ar automate --db URL [options] SCRIPT`: runs a script of steps against the A/R
// screens without a display (see host/Automation.h for the steps and events).
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runAutomate(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
