// What the current user may do on a screen.
//
// The suite's user administration keeps one `User_right_table` row per user and screen
// (`userid`, `form`, and the flags `Update`, `Print`, `form_design`). A screen reads its
// row once, when it loads, and keeps the three flags for its life: "&New" and "&Edit mode"
// do nothing without `update`, printing nothing without `print`; refused commands are
// ignored without a message. A user without a row may neither save nor print; the design
// flag then stays what the screen had (false for a freshly loaded screen).
//
// Database errors are not caught here: they reach the screen's start-up.
#pragma once

#include <string_view>

#include "db/Database.h"

namespace keltro::services {

struct UserRights {
    bool update = false;       // may save changes
    bool print = false;        // may print
    bool form_design = false;  // may change the screen's layout

    bool operator==(const UserRights&) const = default;
};

// The user's rights on the screen `form`; without a row, `current` with update and print
// taken away.
UserRights GetUserRights(db::Database& db, std::string_view form, std::string_view userid,
                         UserRights current = {});

}  // namespace keltro::services
