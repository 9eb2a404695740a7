#include "services/UserRights.h"

namespace keltro::services {

UserRights GetUserRights(db::Database& db, std::string_view form, std::string_view userid,
                         UserRights current) {
    const auto row =
        db.queryOne("SELECT * FROM User_right_table WHERE form = ? AND userid = ?", {form, userid});
    if (!row) return UserRights{false, false, current.form_design};
    return UserRights{(*row)["Update"].booleanOr(false), (*row)["Print"].booleanOr(false),
                      (*row)["form_design"].booleanOr(false)};
}

}  // namespace keltro::services
