// The user's rights on a screen: without the update right "&New" and "&Edit mode" do
// nothing; without the print right printing does nothing; the rest always runs.
#include <gtest/gtest.h>

#include "framework/Screen.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

using Runs = std::map<std::string, int>;

class RightsProbe : public Screen {
public:
    RightsProbe() : Screen("ARform_probe", "Probe") {
        addCommand({.menu = "&Edit", .caption = "&New", .checkable = true, .needs = Right::Update,
                    .action = [this] { ++runs["new"]; }});
        addCommand({.menu = "&File", .caption = "&Print", .needs = Right::Print,
                    .action = [this] { ++runs["print"]; }});
        addCommand({.menu = "&Record", .caption = "&Last record", .action = [this] { ++runs["last"]; }});
    }
    Runs runs;
};

TEST(ScreenRights, commandsNeedingARightAreIgnoredWithoutIt) {
    test::TestDatabase database{test::Contents::Tables};
    for (const auto& [user, update, print] :
         {std::tuple{"keeper", true, true}, {"viewer", false, true}, {"writer", true, false}})
        database.db().execute("INSERT INTO User_right_table (form, userid, [Update], [Print], form_design) "
                              "VALUES (?, ?, ?, ?, ?)",
                              {"ARform_probe", user, update, print, false});
    const std::pair<const char*, Runs> cases[] = {
        {"keeper", {{"new", 1}, {"print", 1}, {"last", 1}}}, {"viewer", {{"print", 1}, {"last", 1}}},
        {"writer", {{"new", 1}, {"last", 1}}}, {"stranger", {{"last", 1}}},  // no row: neither saving nor printing
    };
    for (const auto& [user, runs] : cases) {
        SCOPED_TRACE(user);
        RightsProbe screen;
        screen.setContext({.abcdb = &database.db(), .KELTRO_USER = user});
        screen.load();
        for (const char* caption : {"&New", "&Print", "&Last record"}) screen.run(caption);
        EXPECT_EQ(screen.runs, runs);
        EXPECT_EQ(screen.command("&New").checked, runs.contains("new"));
    }
}

}  // namespace
}  // namespace keltro::framework
