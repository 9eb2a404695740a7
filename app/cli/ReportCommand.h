// `keltro-ar report NAME --db URL [filters] [--pdf FILE | --csv FILE]`: runs a report
// screen headless, as a person would fill its filters and run it, and writes its grid as
// CSV (to FILE, or standard output) or prints it to a PDF file in the user's page format.
//
// NAME: aging, inquiry, invoice-receipt-history, receipt-check-history (or the screen's
// class name). Filters: --customer NO, --docno NO, --docno2 NO, --check NO, --receipt NO,
// --from DATE, --to DATE, --status paid|open|void|all|partial|complete,
// --type invoice|creditnote|debitnote, --as-of DATE, --class-width DAYS; dates as
// YYYY-MM-DD. Context: --user (admin), --date-format (dd/mm/yyyy), --company, --path,
// --today.
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runReport(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
