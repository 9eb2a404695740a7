// `keltro-ar init --db URL [--demo] [--today YYYY-MM-DD]`: creates the suite's tables in
// an empty database and, with --demo, adds the demo company. A database that already
// holds the tables is refused with a message and left as it was.
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runInit(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
