// A user's rights on a screen, with and without a row in the rights table.
#include <gtest/gtest.h>

#include "db/Database.h"
#include "services/UserRights.h"
#include "support/TestDatabase.h"

namespace keltro::services {
namespace {

TEST(UserRightsTest, readFromTheUsersRowForTheScreen) {
    test::TestDatabase database{test::Contents::Tables};
    auto& db = database.db();
    const char* insert =
        "INSERT INTO User_right_table (userid, form, [Update], [Print], form_design) "
        "VALUES (?, ?, ?, ?, ?)";
    db.execute(insert, {"clerk", "ARform_invoice", true, false, true});
    db.execute(insert, {"clerk", "ARform_receipt", false, true, false});
    db.execute(insert, {"admin", "ARform_matching", true, true, true});
    db.execute(insert, {"o'brien", "ARform_invoice", true, true, db::Value()});

    struct Case {
        const char* user;
        const char* form;
        UserRights current;
        UserRights expected;
    };
    const Case cases[] = {
        {"clerk", "ARform_invoice", {}, {true, false, true}},
        {"clerk", "ARform_receipt", {true, true, true}, {false, true, false}},
        {"o'brien", "ARform_invoice", {}, {true, true, false}},  // Null is no right
        // No row for this user and screen: neither save nor print; design stays as it was.
        {"clerk", "ARform_matching", {}, {false, false, false}},
        {"clerk", "ARform_matching", {true, true, true}, {false, false, true}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetUserRights(db, c.form, c.user, c.current), c.expected)
            << c.user << " on " << c.form;
}

}  // namespace
}  // namespace keltro::services
