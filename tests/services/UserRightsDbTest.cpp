// A user's rights on a screen, with and without a row in the rights table.
#include <gtest/gtest.h>

#include "services/UserRights.h"
#include "support/TestDatabase.h"

namespace keltro::services {
namespace {

TEST(UserRightsTest, readFromTheUsersRowForTheScreen) {
    test::TestDatabase database{test::Contents::Tables};
    for (const db::Params& row : {db::Params{"clerk", "ARform_invoice", true, false, true},
                                  {"clerk", "ARform_receipt", false, true, false},
                                  {"admin", "ARform_matching", true, true, true},
                                  {"o'brien", "ARform_invoice", true, true, db::Value()}})
        database.db().execute(
            "INSERT INTO User_right_table (userid, form, [Update], [Print], form_design) VALUES (?, ?, ?, ?, ?)", row);

    const std::tuple<const char*, const char*, UserRights, UserRights> cases[] = {
        // user, screen, rights held so far, rights read
        {"clerk", "ARform_invoice", {}, {true, false, true}},
        {"clerk", "ARform_receipt", {true, true, true}, {false, true, false}},
        {"o'brien", "ARform_invoice", {}, {true, true, false}},  // Null is no right
        // No row for this user and screen: neither save nor print; design stays as it was.
        {"clerk", "ARform_matching", {}, {false, false, false}},
        {"clerk", "ARform_matching", {true, true, true}, {false, false, true}},
    };
    for (const auto& [user, form, current, expected] : cases)
        EXPECT_EQ(GetUserRights(database.db(), form, user, current), expected) << user << " on " << form;
}

}  // namespace
}  // namespace keltro::services
