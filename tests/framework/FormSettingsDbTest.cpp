// What every screen with a grid gets from the screen base: the font bar working on its
// grid and stored in Grid_property, the person's toolbar settings in Form_property_table
// and the even-row switch shared through Recent_value_table.
#include <gtest/gtest.h>

#include "framework/ColourPicker.h"
#include "framework/GridLayout.h"
#include "framework/Screen.h"
#include "framework/StandardCommands.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

// A screen that declares a grid and nothing of the font bar.
class GridScreen : public Screen {
public:
    GridScreen() : Screen("ARform_probe", "Probe") {
        addField({.name = "txtremark", .caption = "Remark"});
        // A list on a window of the screen's own comes first, as the report screens' does.
        addWindow("Print Column");
        addGrid({.name = "grid_sel", .declaredCaptions = {"caption"}, .page = "Print Column"});
        addGrid({.name = "dbgrid1", .declaredCaptions = {"code", "amount", "hidden", "paid"}});
        addCommand(showTextBelowIconCommand());
        addExitCommand("&File");
    }
    using Screen::LockFields;
    using Screen::UnlockFields;
};

class FormSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Caption, visible, width, row height, bold, alignment, size, colour.
        db().execute(
            "INSERT INTO Grid_property (form_name, grid_name, col_order, Caption, Visible, Locked, cell_type, "
            "col_width, row_height, font_bold, Alignment, font_size, font_color) VALUES "
            "('ARform_probe', 'dbgrid1', 0, 'code', TRUE, FALSE, '', 1500, 450, FALSE, 0, 9, NULL), "
            "('ARform_probe', 'dbgrid1', 1, 'amount', TRUE, FALSE, '', -5, NULL, TRUE, 7, -3, -1), "
            "('ARform_probe', 'dbgrid1', 2, 'hidden', FALSE, FALSE, '', 900, NULL, FALSE, 0, NULL, NULL), "
            "('ARform_probe', 'dbgrid1', 3, 'paid', TRUE, FALSE, 'dbgCheckBox', 600, NULL, FALSE, 0, NULL, NULL)");
        db().execute("INSERT INTO Form_property_table (userid, form, toolbar_text, Fontbar) VALUES (?, ?, ?, ?)",
                     {"admin", "ARform_probe", true, false});
        db().execute("INSERT INTO Recent_value_table (form_name, control_name, [Value]) VALUES (NULL, ?, ?)",
                     {"evenrow_color", "1"});
    }

    db::Database& db() { return database.db(); }

    std::unique_ptr<GridScreen> open(const std::string& user = "admin") {
        auto screen = std::make_unique<GridScreen>();
        HostContext c;
        c.cnx = c.dbe = c.abcdb = &db();
        c.KELTRO_USER = user;
        c.ui = &ui;
        c.clock = &clock;
        screen->setContext(c);
        screen->load();
        return screen;
    }

    std::int64_t count(const std::string& sql) { return db().queryOne(sql)->at(0).integerOr(-1); }

    test::TestDatabase database{test::Contents::Tables};
    services::RecordingUi ui;
    services::FixedClock clock{test::kDemoToday};
};

TEST_F(FormSettingsTest, theGridBringsTheFontBarAndLoadPassesOverStoredValuesTheGridCannotTake) {
    auto screen = open();
    for (const char* control : {"cmbselcol", "cmbitfont", "cmbfont_size", "cmbitcolor"})
        EXPECT_TRUE(screen->hasField(control)) << control;
    for (const char* caption : {"Save Font", "Restore Font", "Bold", "Align Right", "&Font Bar", "&Even Row Colour"})
        EXPECT_NO_THROW(screen->command(caption)) << caption;
    EXPECT_EQ(screen->field("cmbselcol").value, "selected columns");
    EXPECT_EQ(screen->field("cmbitcolor").items.size(), 510u);
    EXPECT_EQ(screen->fontBarGrid(), "dbgrid1") << "not the list on the screen's own window";

    const Grid& grid = screen->grid("dbgrid1");
    EXPECT_EQ(grid.rowHeight, 450);
    const GridColumn& amount = grid.columns[1];
    EXPECT_TRUE(amount.bold) << "the good values of the row still apply";
    EXPECT_EQ(amount.width, 1440) << "a negative width is passed over";
    EXPECT_EQ(amount.alignment, -1) << "an unknown alignment is passed over";
    EXPECT_EQ(amount.fontSize, 0);
    EXPECT_FALSE(amount.fontColor);
    EXPECT_EQ(grid.columns[0].fontSize, 9);
}

TEST_F(FormSettingsTest, allColumnsBoldSavesAndRestoresWithoutTouchingHiddenColumns) {
    auto screen = open();
    screen->pick("cmbselcol", 0);  // "all columns"
    screen->run("Bold");
    screen->enter("cmbitcolor", "lavender");
    const auto& columns = screen->grid("dbgrid1").columns;
    for (std::size_t n : {0u, 1u, 3u}) {
        EXPECT_TRUE(columns[n].bold) << n;
        EXPECT_EQ(columns[n].fontColor, Rgb(230, 230, 250)) << n;
    }
    EXPECT_FALSE(columns[2].bold) << "hidden";
    EXPECT_EQ(count("SELECT COUNT(*) FROM Grid_property WHERE font_bold = TRUE"), 1) << "nothing stored yet";

    screen->run("Save Font");
    ASSERT_FALSE(ui.said().empty());
    EXPECT_EQ(ui.said().back().text, "save font complete");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Grid_property WHERE font_bold = TRUE"), 3);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Grid_property WHERE font_color = 16443110"), 3);
    EXPECT_EQ(count("SELECT font_bold FROM Grid_property WHERE Caption = 'hidden'"), 0);

    // The selected column only: a click chooses it; then Restore Font undoes the change.
    screen->pick("cmbselcol", 1);
    screen->enterCell("dbgrid1", 0, "code", "S1");
    screen->run("Align Right");
    screen->run("Italic");
    EXPECT_EQ(columns[0].alignment, 1);
    EXPECT_TRUE(columns[0].italic);
    EXPECT_FALSE(columns[1].italic);
    screen->run("Restore Font");
    EXPECT_EQ(columns[0].alignment, 0);
    EXPECT_FALSE(columns[0].italic);
    EXPECT_TRUE(columns[0].bold) << "the saved font comes back";
}

TEST_F(FormSettingsTest, theUsersRowIsReadAndWrittenBackAndNoRowIsMadeForAnother) {
    auto screen = open("admin");
    EXPECT_TRUE(screen->command("&Show Text below Icon").checked);
    EXPECT_FALSE(screen->formProperties().fontBarShown);
    EXPECT_FALSE(screen->command("&Font Bar").checked);
    screen->run("&Show Text below Icon");
    screen->run("&Font Bar");
    screen->run("&Exit");
    const auto row = db().queryOne("SELECT * FROM Form_property_table WHERE userid = 'admin'");
    ASSERT_TRUE(row);
    EXPECT_EQ((*row)["toolbar_text"].boolean(), false);
    EXPECT_EQ((*row)["Fontbar"].boolean(), true);

    auto clerks = open("clerk");
    EXPECT_FALSE(clerks->formProperties().toolbarText) << "the design default";
    EXPECT_TRUE(clerks->formProperties().fontBarShown);
    clerks->run("&Show Text below Icon");
    clerks->run("&Exit");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Form_property_table"), 1);
}

TEST_F(FormSettingsTest, theEvenRowSwitchIsSharedByEveryUserAndScreen) {
    auto admins = open("admin");
    EXPECT_TRUE(admins->evenRowsColoured());
    admins->run("&Even Row Colour");
    EXPECT_FALSE(admins->evenRowsColoured());
    EXPECT_EQ(db().queryOne("SELECT [Value] FROM Recent_value_table WHERE control_name = 'evenrow_color'")
                  ->at(0).textOr(),
              "0");
    auto clerks = open("clerk");
    EXPECT_FALSE(clerks->evenRowsColoured());
    EXPECT_FALSE(clerks->command("&Even Row Colour").checked);

    EXPECT_EQ(RowBackColour(1, true), Rgb(240, 240, 240));
    EXPECT_EQ(RowBackColour(2, true), Rgb(255, 255, 255));
    EXPECT_EQ(RowBackColour(1, false), Rgb(255, 255, 255));
}

TEST_F(FormSettingsTest, lockingTakesTextAndListFieldsButNotTheFontBar) {
    auto screen = open();
    screen->LockFields();
    EXPECT_TRUE(screen->field("txtremark").locked);
    EXPECT_FALSE(screen->field("cmbitcolor").locked);
    EXPECT_NO_THROW(screen->enter("cmbitfont", "Verdana"));
    EXPECT_THROW(screen->enter("txtremark", "x"), ScreenError);
    screen->UnlockFields();
    EXPECT_FALSE(screen->field("txtremark").locked);

    for (const auto& [name, lockable] : std::vector<std::pair<std::string, bool>>{
             {"txtdocno", true}, {"CMBterm", true}, {"rboxnote", true}, {"chkpaid", false}, {"dbgrid1", false},
             {"labelx", false}})
        EXPECT_EQ(IsLockableControl(name), lockable) << name;
    EXPECT_EQ(KindOfControl("XPLABtitle"), ControlKind::Label);
    EXPECT_EQ(KindOfControl("ddtax"), ControlKind::DropDownGrid);
    EXPECT_EQ(StyleOfControl("optall", "Tahoma", "9").fontName, "Arial");
    EXPECT_EQ(StyleOfControl("txtremark", "Tahoma", "9").fontName, "Tahoma");
    EXPECT_EQ(StyleOfControl("txtremark", "Tahoma", "9").borderHighlight, Rgb(250, 0, 0));
}

}  // namespace
}  // namespace keltro::framework
