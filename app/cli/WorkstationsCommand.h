// `keltro-ar bench workstations --db URL [--workers 8] [--count 1000] [--reuse]
// [--today YYYY-MM-DD]`: that many workstations, each a process with its own connection,
// save `--count` documents each (invoices, receipts, credit notes in turn) on one
// database at once; then the document series and the books are audited. One JSON line
// per worker count (`--workers 1,4,8` runs each in turn on the same books).
//
// Without `--reuse` the database is new, as for the other benches (a SQLite file the
// bench creates, or an empty PostgreSQL database, given the demo company); with it the
// database already holds the demo company (`keltro-ar init --demo`) and earlier runs.
// One workstation runs in this process; the crash test kills it at random moments.
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runWorkstationsBench(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
