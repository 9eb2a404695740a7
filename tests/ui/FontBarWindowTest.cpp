// The font bar, the pickers, the even rows and the keyboard on a screen window: what the
// screen base gives a screen that declares only a grid, as a person meets it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QToolBar>

#include "framework/ColourPicker.h"
#include "framework/Screen.h"
#include "services/Clock.h"
#include "support/HeadlessDesk.h"
#include "ui/GridView.h"
#include "ui/MultiColumnCombo.h"
#include "ui/QtScreenFactory.h"
#include "ui/ScreenWindow.h"
#include "ui/Theme.h"

namespace keltro {
namespace {

// Two fields declared in one order and boxed in the other, and a grid of three columns.
class GridProbe : public framework::Screen {
public:
    GridProbe() : Screen("Grid_probe", "Grid probe") {
        addField({.name = "txtfirst", .caption = "First"});
        addField({.name = "txtsecond", .caption = "Second"});
        addGrid({.name = "dbgrid1", .declaredCaptions = {"code", "name", "amount"}});
        arrangeGroups({{"Before", {"txtsecond"}}, {"After", {"txtfirst"}}});
        addCommand({.menu = "&File", .caption = "&Save", .toolbar = "Save"});
    }
};

class FontBarWindow : public ::testing::Test {
protected:
    void SetUp() override {
        db().execute(
            "INSERT INTO [Grid_property] ([form_name], [grid_name], [col_order], [Caption], [Visible], [Locked], "
            "[col_width], [row_height]) VALUES "
            "('Grid_probe', 'dbgrid1', 0, 'code', TRUE, FALSE, 1500, 300), "
            "('Grid_probe', 'dbgrid1', 1, 'name', TRUE, FALSE, 2500, NULL), "
            "('Grid_probe', 'dbgrid1', 2, 'amount', TRUE, FALSE, 1500, NULL)");
        probe = std::make_shared<GridProbe>();
        framework::HostContext c;
        test::fillContext(c, db(), ui, clock);
        probe->setContext(c);
        probe->load();
        for (std::size_t row = 0; row < 3; ++row) probe->enterCell("dbgrid1", row, "code", "S" + std::to_string(row));
        screens.show(probe);
        window = screens.windowOf(*probe);
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        grid = window->gridView("dbgrid1");
        fontBar = window->findChild<QToolBar*>("font");
        ASSERT_TRUE(grid && fontBar);
    }
    void TearDown() override {
        if (window) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    db::Database& db() { return database.db(); }
    QAction* fontBarButton(const QString& text) const {
        for (QAction* action : fontBar->actions())
            if (action->text() == text) return action;
        return nullptr;
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    services::RecordingUi ui;
    services::FixedClock clock{test::kDemoToday};
    ui::QtScreenFactory screens;
    std::shared_ptr<GridProbe> probe;
    ui::ScreenWindow* window = nullptr;
    ui::GridView* grid = nullptr;
    QToolBar* fontBar = nullptr;
};

TEST_F(FontBarWindow, aScreenWithAGridShowsTheBarWhosePickersDrawColoursAndApplyToColumns) {
    EXPECT_TRUE(fontBar->isVisible());
    auto* colours = window->findChild<ui::MultiColumnCombo*>("cmbitcolor");
    ASSERT_TRUE(colours);
    QStandardItemModel* model = colours->listModel();
    ASSERT_EQ(model->rowCount(), 510);
    EXPECT_EQ(model->item(0, 0)->data(Qt::DecorationRole).value<QColor>(), QColor(Qt::black));
    EXPECT_EQ(model->item(255, 1)->text(), "navy");
    EXPECT_EQ(model->item(255, 0)->data(Qt::DecorationRole).value<QColor>(), QColor(0, 0, 128));

    // "all columns", then Bold from the bar and a colour picked from the list.
    probe->pick("cmbselcol", 0);
    ASSERT_TRUE(fontBarButton("Bold"));
    fontBarButton("Bold")->trigger();
    probe->pick("cmbitcolor", 255);
    for (int c = 0; c < grid->columnCount(); ++c) {
        EXPECT_TRUE(grid->item(0, c)->font().bold()) << c;
        EXPECT_EQ(grid->item(0, c)->foreground().color(), QColor(0, 0, 128)) << c;
    }

    probe->run("&Font Bar");
    EXPECT_FALSE(fontBar->isVisible()) << "the person hid the bar";
}

TEST_F(FontBarWindow, selectedColumnsAreTheOnesTheBarChanges) {
    grid->selectColumn(1);
    fontBarButton("Italic")->trigger();
    EXPECT_FALSE(grid->item(0, 0)->font().italic());
    EXPECT_TRUE(grid->item(0, 1)->font().italic());
    EXPECT_EQ(probe->grid("dbgrid1").selectedColumns, (std::vector<std::size_t>{1}));
}

TEST_F(FontBarWindow, everyOtherRowIsGreyWhileTheSharedSettingIsOn) {
    const QColor gray94 = ui::colourOfNumber(framework::Rgb(240, 240, 240));
    EXPECT_EQ(grid->item(1, 0)->background().color(), gray94);
    EXPECT_EQ(grid->item(0, 0)->background(), QBrush()) << "the grid's own white";
    probe->run("&Even Row Colour");
    EXPECT_EQ(grid->item(1, 0)->background(), QBrush());
}

TEST_F(FontBarWindow, enterMovesAlongTheRowThenToTheNextAndTabFollowsTheDeclaredOrder) {
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    const std::pair<int, int> expected[] = {{0, 2}, {1, 0}, {1, 1}};
    for (const auto& [row, column] : expected) {
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(grid->currentRow(), row);
        EXPECT_EQ(grid->currentColumn(), column);
    }
    auto* first = window->findChild<QLineEdit*>("txtfirst");
    auto* second = window->findChild<QLineEdit*>("txtsecond");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->nextInFocusChain(), second) << "declared first, boxed second";

    EXPECT_EQ(fontBarButton("&Apply To")->shortcut(), QKeySequence("Alt+A"));
    EXPECT_TRUE(fontBarButton("&Font Name")->shortcut().isEmpty()) << "its letter is the File menu's";
}

}  // namespace
}  // namespace keltro
