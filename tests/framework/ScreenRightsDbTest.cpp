// The user's rights on a screen: without the update right "&New" and "&Edit mode" do
// nothing; without the print right printing does nothing; the rest always runs.
#include <gtest/gtest.h>

#include "framework/Screen.h"
#include "schema/Schema.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

class RightsProbe : public Screen {
public:
    RightsProbe() : Screen("ARform_probe", "Probe") {
        addCommand({.menu = "&Edit", .caption = "&New", .checkable = true, .needs = Right::Update,
                    .action = [this] { ++runs["new"]; }});
        addCommand({.menu = "&File", .caption = "&Print", .needs = Right::Print,
                    .action = [this] { ++runs["print"]; }});
        addCommand({.menu = "&Record", .caption = "&Last record", .action = [this] { ++runs["last"]; }});
    }
    std::map<std::string, int> runs;
};

class ScreenRightsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db::Transaction tx(database.db());
        const std::vector<std::tuple<std::string, bool, bool>> rights = {
            {"keeper", true, true}, {"viewer", false, true}, {"writer", true, false}};
        for (const auto& [user, update, print] : rights)
            database.db().execute("INSERT INTO User_right_table (form, userid, [Update], [Print], form_design) "
                                  "VALUES (?, ?, ?, ?, ?)",
                                  {"ARform_probe", user, update, print, false});
        tx.commit();
    }

    std::map<std::string, int> runAllAs(const std::string& user) {
        RightsProbe screen;
        HostContext context;
        context.abcdb = &database.db();
        context.KELTRO_USER = user;
        screen.setContext(context);
        screen.load();
        for (const char* caption : {"&New", "&Print", "&Last record"}) screen.run(caption);
        EXPECT_EQ(screen.command("&New").checked, screen.runs.contains("new")) << user;
        return screen.runs;
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(ScreenRightsTest, commandsNeedingARightAreIgnoredWithoutIt) {
    using Runs = std::map<std::string, int>;
    EXPECT_EQ(runAllAs("keeper"), (Runs{{"new", 1}, {"print", 1}, {"last", 1}}));
    EXPECT_EQ(runAllAs("viewer"), (Runs{{"print", 1}, {"last", 1}}));
    EXPECT_EQ(runAllAs("writer"), (Runs{{"new", 1}, {"last", 1}}));
    EXPECT_EQ(runAllAs("stranger"), (Runs{{"last", 1}})) << "no row: neither saving nor printing";
}

}  // namespace
}  // namespace keltro::framework
