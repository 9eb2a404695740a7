// The one SQL text the code writes, put into PostgreSQL's form.
//
// The code writes `?` for each bound value and may bracket a name, `[default]`. PostgreSQL
// numbers its parameters (`$1`, `$2` …) and quotes names with double quotes; its tables
// are created with lower-case names, so a bracketed name becomes a lower-case quoted one.
// Text inside quotes is left alone.
#pragma once

#include <string>
#include <string_view>

namespace keltro::db {

std::string toPostgresSql(std::string_view sql);

}  // namespace keltro::db
