// Grid layouts read from and written back to Grid_property.
#include <gtest/gtest.h>

#include "framework/GridLayout.h"
#include "support/TestDatabase.h"

namespace keltro::framework {
namespace {

class GridLayoutTest : public ::testing::Test {
protected:
    db::Database& db() { return database.db(); }

    void addColumn(int order, const std::string& caption, bool visible, int width,
                   std::optional<int> rowHeight = std::nullopt) {
        db().execute("INSERT INTO Grid_property (form_name, grid_name, col_order, Caption, Visible, "
                     "Locked, col_width, row_height, Alignment, cell_type) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                     {"ARform_test", "dbgrid1", order, caption, visible, false, width,
                      db::Value(rowHeight), 1, caption == "paid" ? "dbgCheckBox" : ""});
    }

    test::TestDatabase database{test::Contents::Tables};
};

TEST_F(GridLayoutTest, columnsFollowTheStoredRowsInOrderWithRowHeightsInRange) {
    for (const auto& [stored, loaded] :
         {std::pair{1000L, 370}, {450L, 450}, {600L, 600}, {200L, 200}, {199L, 370}, {601L, 370}, {0L, 370}})
        EXPECT_EQ(LoadedRowHeight(stored), loaded) << stored;

    addColumn(1, "description", true, 3000);
    addColumn(0, "pay item", true, 900, 1000);
    addColumn(2, "paid", true, 600);
    addColumn(3, "computer id", false, 1500);
    Grid grid{.name = "dbgrid1", .columns = {{.caption = "left over from before"}}};
    LoadGridLayout(db(), "ARform_test", grid);

    ASSERT_EQ(grid.columns.size(), 4u);
    EXPECT_EQ(grid.columns[0].caption, "pay item");
    EXPECT_EQ(grid.columns[0].width, 900);
    EXPECT_EQ(grid.columns[0].alignment, 1);
    EXPECT_EQ(grid.rowHeight, 370) << "1000 is out of range";
    EXPECT_TRUE(grid.columns[2].checkBox);
    EXPECT_EQ(grid.columns[2].alignment, 2) << "check-box columns stay centred";
    EXPECT_FALSE(grid.columns[3].visible);

    Grid empty{.name = "no_such_grid"};
    LoadGridLayout(db(), "ARform_test", empty);
    EXPECT_TRUE(empty.columns.empty());
}

TEST_F(GridLayoutTest, closingStoresDraggedOrderAndWidthsOfVisibleColumnsOnly) {
    addColumn(0, "pay item", true, 900, 450);
    addColumn(1, "description", true, 3000);
    addColumn(2, "computer id", false, 1500);
    Grid grid{.name = "dbgrid1"};
    LoadGridLayout(db(), "ARform_test", grid);

    // The person drags "description" to the front, widens it and lets the rows grow.
    grid.columns[1].displayPosition = 0;
    grid.columns[1].width = 4000;
    grid.columns[0].displayPosition = 1;
    grid.columns[2].displayPosition = 0;  // hidden: its row is not touched
    grid.rowHeight = 5000;                // out of range: stored as the default
    SaveGridLayout(db(), "ARform_test", grid);

    std::vector<std::tuple<std::string, std::int64_t, std::int64_t, std::int64_t>> stored;  // order, width, height
    for (const auto& row : db().query("SELECT * FROM Grid_property ORDER BY Caption"))
        stored.emplace_back(row["Caption"].textOr(), row["col_order"].integerOr(-1), row["col_width"].integerOr(-1),
                            row["row_height"].integerOr(-1));
    EXPECT_EQ(stored, (decltype(stored){
                          {"computer id", 2, 1500, -1}, {"description", 0, 4000, -1}, {"pay item", 1, 900, 370}}));
}

}  // namespace
}  // namespace keltro::framework
