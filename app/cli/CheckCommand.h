// `keltro-ar check --db URL`: audits the books of the company in the database (see
// services/BooksAudit.h). Prints each finding on its own line and exits 1 when there is
// one; prints "The books are in order." and exits 0 otherwise. Accountants run it after a
// crash or an import; it changes nothing.
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runCheck(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
