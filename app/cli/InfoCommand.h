// `keltro-ar info --db URL`: what the company in the database is (name, base currency,
// fiscal years, how many customers, accounts and documents it holds).
#pragma once

#include <ostream>

#include "app/cli/Arguments.h"

namespace keltro::app {

int runInfo(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace keltro::app
