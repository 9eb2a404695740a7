// `keltro-ar bench invoice --db URL [--count N] [--preload N] [--mode durable|cpu|both]
// [--today YYYY-MM-DD]`: times invoice saves through the screen against the floor (the
// same rows written by plain statements) and prints one JSON line per measurement.
//
// `keltro-ar bench receipt --db URL [--count N] [--mode durable|cpu|both]
// [--today YYYY-MM-DD]`: for customers with 10, 100 and 1,000 open items, times the
// listing of their open items on the receipt screen, and receipts of ten applied lines
// saved through the screen against the floor; one JSON line per customer and mode.
//
// SQLite: URL names a file the bench creates; an existing file is refused, so that every
// run starts from the same empty company. PostgreSQL: the database must hold no suite
// table; the bench creates the tables and the demo company in it. Either way the
// database is left as the bench made it (`keltro-ar check` audits it).
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runBench(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
