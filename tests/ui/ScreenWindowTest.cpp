// The generic screen window: every A/R screen, opened as the desktop opens it, shows what it
// declares; a probe screen's steps (typing, picking, cell edits, commands, closing) reach it;
// moved and resized grid columns reach `Grid_property` when the window closes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

#include "framework/FontBar.h"
#include "framework/LookupList.h"
#include "support/HeadlessDesk.h"
#include "ui/GridView.h"
#include "ui/MultiColumnCombo.h"
#include "ui/QtScreenFactory.h"
#include "ui/ScreenWindow.h"
#include "ui/Theme.h"

namespace keltro {
namespace {

using framework::FieldKind;
using ui::GridView;
using ui::ScreenWindow;
using Menus = std::vector<std::pair<QString, QStringList>>;

// A demo company with ARclass on the Qt screen factory, as keltro-host sets it up.
class Desk {
public:
    Desk() : clock(test::kDemoToday), arclass(screens) {
        test::fillContext(arclass, database.db(), ui, clock);
        arclass.KELTRO_FONT_NAME = "DejaVu Sans";
        arclass.KELTRO_FONT_SIZE = "9";
    }
    ~Desk() {
        for (auto* window : screens.windows()) window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A screen of the test's own, loaded and shown.
    template <class S>
    std::shared_ptr<S> show() {
        auto screen = std::make_shared<S>();
        framework::HostContext c;
        test::fillContext(c, database.db(), ui, clock);
        screen->setContext(c);
        screen->load();
        screens.show(screen);
        return screen;
    }
    ScreenWindow* windowOf(const std::string& className) const {
        auto screen = arclass.referencedScreen(className);
        return screen ? screens.windowOf(*screen) : nullptr;
    }

    test::TestDatabase database{test::Contents::DemoCompany};
    services::RecordingUi ui;
    services::FixedClock clock;
    ui::QtScreenFactory screens;
    host::ARclass arclass;
};

// --- What a window shows ---------------------------------------------------------------------

Menus declaredMenus(const framework::Screen& screen) {
    Menus menus;
    for (const auto& c : screen.commands()) {
        if (c.menu.empty()) continue;
        auto it = std::ranges::find(menus, QString::fromStdString(c.menu), &Menus::value_type::first);
        if (it == menus.end()) it = menus.insert(it, {QString::fromStdString(c.menu), {}});
        it->second << QString::fromStdString(c.caption);
    }
    return menus;
}

Menus shownMenus(ScreenWindow& window) {
    Menus menus;
    for (auto* action : window.menuBar()->actions()) {
        menus.push_back({action->text(), {}});
        for (auto* entry : action->menu() ? action->menu()->actions() : QList<QAction*>())
            if (!entry->isSeparator() && !entry->text().isEmpty()) menus.back().second << entry->text();
    }
    return menus;
}

QAction* menuEntry(ScreenWindow& window, int menu, int entry) {
    return window.menuBar()->actions().at(menu)->menu()->actions().at(entry);
}

QAction* toolbarAction(ScreenWindow& window, const std::string& caption) {
    for (auto* bar : window.findChildren<QToolBar*>())
        for (auto* action : bar->actions())
            if (action->text() == QString::fromStdString(caption)) return action;
    return nullptr;
}

// The widget a field takes text in (a drop-down's own line edit); null for a field that takes none.
QWidget* textTaker(QWidget* input) {
    if (auto* combo = qobject_cast<QComboBox*>(input)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(input) || qobject_cast<QPlainTextEdit*>(input) ? input : nullptr;
}

bool isReadOnly(QWidget* input) {
    if (QWidget* text = textTaker(input)) return text->property("readOnly").toBool();
    return qobject_cast<QLabel*>(input) || !input->isEnabled();
}

const std::map<FieldKind, const char*> kWidgetClass = {
    {FieldKind::Text, "QLineEdit"}, {FieldKind::Date, "QLineEdit"}, {FieldKind::MultiLine, "QPlainTextEdit"},
    {FieldKind::Combo, "keltro::ui::MultiColumnCombo"}, {FieldKind::Check, "QCheckBox"},
    {FieldKind::Option, "QRadioButton"}, {FieldKind::Label, "QLabel"}};

// The nearest of a widget and its parents that is a `W`.
template <class W>
W* enclosing(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* found = qobject_cast<W*>(w)) return found;
    return nullptr;
}

// The caption of the tab page, or the title of the screen's own window, a widget lies on;
// empty when it lies on neither.
QString pageOf(QWidget* widget) {
    for (QWidget* w = widget; w && w->parentWidget(); w = w->parentWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(w)) return dialog->windowTitle();
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr)
            return tabs->tabText(tabs->indexOf(w));
    }
    return {};
}

// The title of the header box a widget stands in; empty when it stands in none.
QString groupOf(QWidget* widget) {
    auto* box = enclosing<QGroupBox>(widget);
    return box ? box->title() : QString();
}

void expectFieldShown(ScreenWindow& window, const framework::Field& field) {
    SCOPED_TRACE(field.name);
    auto* input = window.findChild<QWidget*>(QString::fromStdString(field.name));
    ASSERT_TRUE(input) << "no widget for the field";
    EXPECT_TRUE(input->inherits(kWidgetClass.at(field.kind))) << input->metaObject()->className();
    EXPECT_EQ(input->isHidden(), !field.visible);
    const bool readOnly = field.locked || field.kind == FieldKind::Label;
    EXPECT_EQ(isReadOnly(input), readOnly);
    if (QWidget* text = textTaker(input)) {
        EXPECT_EQ(text->palette().color(QPalette::Base),
                  readOnly ? ui::readOnlyBackground(field.name) : QColor(Qt::white));
    }
    if (!field.page.empty()) { EXPECT_EQ(pageOf(input), QString::fromStdString(field.page)); }
    if (std::ranges::none_of(framework::fontBarFields(), [&](const auto& f) { return f.name == field.name; })) {
        EXPECT_EQ(groupOf(input), QString::fromStdString(field.group));
        const bool inOwnWindow = input->window() != window.window();
        EXPECT_EQ(enclosing<QScrollArea>(input) != nullptr, !field.footer && !inOwnWindow) << "totals stay in sight";
    }
    auto* combo = qobject_cast<ui::MultiColumnCombo*>(input);
    const auto columns = framework::ParseColumnSpec(field.columnSpec);
    if (!combo || columns.empty()) return;
    for (int section = 0; const auto& column : columns) {
        EXPECT_EQ(combo->listModel()->headerData(section, Qt::Horizontal).toString(), column.heading.c_str());
        EXPECT_EQ(combo->listView()->header()->sectionSize(section++), column.width / 15);
    }
    EXPECT_EQ(combo->listModel()->rowCount(), static_cast<int>(field.items.size()));
}

void expectGridShown(ScreenWindow& window, const framework::Grid& grid) {
    SCOPED_TRACE(grid.name);
    GridView* view = window.gridView(grid.name);
    ASSERT_TRUE(view) << "no table for the grid";
    ASSERT_EQ(view->columnCount(), static_cast<int>(grid.columns.size()));
    if (!grid.page.empty()) { EXPECT_EQ(pageOf(view), QString::fromStdString(grid.page)); }
    for (int c = 0; c < view->columnCount(); ++c) {
        const auto& column = grid.columns[static_cast<std::size_t>(c)];
        SCOPED_TRACE(column.caption);
        EXPECT_EQ(view->horizontalHeaderItem(c)->text(), column.caption.c_str());
        EXPECT_EQ(view->isColumnHidden(c), !column.visible);
        if (column.visible) { EXPECT_EQ(view->columnWidth(c), column.width / 15); }
        if (view->rowCount() == 0) continue;
        const auto flags = view->item(view->rowCount() - 1, c)->flags();
        EXPECT_EQ(bool(flags & (Qt::ItemIsEditable | Qt::ItemIsUserCheckable)), !grid.locked && !column.locked);
    }
}

// The window a show method opens shows what its screen declares.
void expectScreenShown(const std::string& method, const std::vector<std::string>& args, const std::string& className) {
    SCOPED_TRACE(method + " " + className + (args.empty() ? "" : " " + args[0]));
    Desk desk;
    ASSERT_TRUE(desk.arclass.call(method, args));
    ScreenWindow* window = desk.windowOf(className);
    ASSERT_TRUE(window) << "the show method opened no window";
    const framework::Screen& screen = window->screen();
    EXPECT_EQ(window->windowTitle(), QString::fromStdString(screen.title()));
    EXPECT_EQ(shownMenus(*window), declaredMenus(screen));
    for (const auto& command : screen.commands()) {
        if (command.toolbar.empty()) continue;
        SCOPED_TRACE(command.toolbar);
        QAction* button = toolbarAction(*window, command.toolbar);
        ASSERT_TRUE(button) << "no toolbar button";
        EXPECT_EQ(button->isCheckable(), command.checkable);
        if (command.checkable) { EXPECT_EQ(button->isChecked(), command.checked); }
        EXPECT_EQ(button->isEnabled(), command.enabled);
    }
    for (const auto& field : screen.fields()) expectFieldShown(*window, field);
    for (const auto& grid : screen.grids()) expectGridShown(*window, grid);
}

TEST(EveryScreenWindow, showsWhatItsScreenDeclares) {
    expectScreenShown("showform_ARform_invoice", {"cn"}, "ARform_invoice");
    for (const auto& [method, className] : test::kShowMethods) expectScreenShown(method, {}, className);
}

// --- Grid layouts ------------------------------------------------------------------------------

std::vector<std::pair<std::string, long>> storedColumns(db::Database& db, const std::string& form,
                                                          const std::string& grid) {
    std::vector<std::pair<std::string, long>> out;
    for (const auto& row : db.query("SELECT [Caption], [col_width] FROM [Grid_property] "
                                    "WHERE [form_name] = ? AND [grid_name] = ? ORDER BY [col_order]",
                                    {form, grid}))
        out.push_back({row["Caption"].textOr(), static_cast<long>(row["col_width"].integerOr(0))});
    return out;
}

TEST(ScreenWindowLayout, draggedAndResizedColumnsAreStoredWhenTheWindowCloses) {
    Desk desk;
    auto expected = storedColumns(desk.database.db(), "ARreport_aging", "dbgrid1");
    ASSERT_GE(expected.size(), 3u);
    desk.arclass.showform_ARreport_aging();
    QPointer<ScreenWindow> window = desk.windowOf("ARreport_aging");
    ASSERT_TRUE(window);
    QHeaderView* header = window->gridView("dbgrid1")->horizontalHeader();
    header->moveSection(0, 2);      // the first column goes third
    header->resizeSection(1, 150);  // the second one gets 150 pixels
    window->close();

    std::rotate(expected.begin(), expected.begin() + 1, expected.begin() + 3);
    expected[0].second = 150 * 15;
    EXPECT_EQ(storedColumns(desk.database.db(), "ARreport_aging", "dbgrid1"), expected);
}

// --- Steps through the window -------------------------------------------------------------------

// A screen with every kind of part, which notes the steps it receives.
class ProbeScreen : public framework::Screen {
public:
    ProbeScreen() : Screen("Probe_form", "Probe") {
        addField({.name = "txtname", .kind = FieldKind::Text, .caption = "Name"});
        addField({.name = "txtlocked", .kind = FieldKind::Text, .caption = "Locked", .value = "fixed", .locked = true});
        addField({.name = "txtdate", .kind = FieldKind::Date, .caption = "Date"});
        addField({.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no",
                  .columnSpec = "0;1500;^;Customer no|1;3000;<;Name", .items = {"1001;Alpha Ltd", "1002;Beta plc"}});
        addField({.name = "chkpaid", .kind = FieldKind::Check, .caption = "Paid", .value = "2", .triState = true});
        addField({.name = "optone", .kind = FieldKind::Option, .caption = "One", .value = "0"});
        addField({.name = "lblstate", .kind = FieldKind::Label, .caption = "State", .value = "open"});
        addField({.name = "txtnote", .kind = FieldKind::MultiLine, .caption = "Note", .page = "Notes"});
        addField({.name = "txthidden", .kind = FieldKind::Text, .caption = "Hidden", .visible = false});
        addGrid({.name = "dbgrid1",
                 .declaredCaptions = {"code", "amount", "paid", "hidden"},
                 .lookupColumns = {{"code", "0;1500;<;Code|1;3000;<;Description"}},
                 .lookupItems = {{"code", {"S1;State", "S2;State and city"}}}});
        addCommand({.menu = "&File", .caption = "&Save", .toolbar = "Save", .action = [this] { setStatus("saved"); }});
        addCommand({.menu = "&Edit", .caption = "&Edit mode", .toolbar = "Edit", .checkable = true});
        addCommand({.menu = "&Edit", .caption = "&Fail",
                    .action = [] { throw framework::ScreenError("Cannot do that"); }});
        addExitCommand("&File");
    }

    std::vector<std::string> steps;

protected:
    void onFieldChanged(const std::string& control) override {
        steps.push_back(control + "=" + value(control));
        setStatus("changed " + control);
        if (control == "txtname") setValue("lblstate", "named " + value(control));
    }
    bool acceptCell(const std::string&, std::size_t, const std::string&, const std::string& text) override {
        if (text != "bad") return true;
        ui().message("Not a code");
        return false;
    }
    void onCellChanged(const std::string& grid, std::size_t row, const std::string& column) override {
        steps.push_back("cell " + std::to_string(row) + " " + column + "=" + mutableGrid(grid).rows[row][column]);
        if (column == "code") mutableGrid(grid).rows[row]["amount"] = "1.00";
    }
    void onCellClicked(const std::string&, std::size_t row, const std::string& column) override {
        steps.push_back("click " + std::to_string(row) + " " + column);
    }
};

// A click on the box itself (a check box takes clicks on its box and caption only).
void clickBox(QWidget* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

// Text typed into a field, then Return.
void typeIn(QWidget* input, const QString& text) {
    QTest::keyClicks(input, text);
    QTest::keyClick(input, Qt::Key_Return);
}

class ScreenWindowSteps : public ::testing::Test {
protected:
    void SetUp() override {
        // The layout: caption, visible, locked, cell type, width, row height, alignment, bold.
        desk.database.db().execute(
            "INSERT INTO [Grid_property] ([form_name], [grid_name], [col_order], [Caption], [Visible], [Locked], "
            "[cell_type], [col_width], [row_height], [Alignment], [font_bold]) VALUES "
            "('Probe_form', 'dbgrid1', 0, 'code', TRUE, FALSE, '', 1500, 300, 0, FALSE), "
            "('Probe_form', 'dbgrid1', 1, 'amount', TRUE, TRUE, '', 1800, NULL, 1, TRUE), "
            "('Probe_form', 'dbgrid1', 2, 'paid', TRUE, FALSE, 'dbgCheckBox', 800, NULL, 2, FALSE), "
            "('Probe_form', 'dbgrid1', 3, 'hidden', FALSE, FALSE, '', 900, NULL, 0, FALSE)");
        probe = desk.show<ProbeScreen>();
        window = desk.screens.windowOf(*probe);
        ASSERT_TRUE(window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        grid = window->gridView("dbgrid1");
        ASSERT_TRUE(grid);
    }

    template <class W> W* input(const char* name) const { return window->findChild<W*>(name); }
    QString status() const { return window->findChild<QLabel*>("status")->text(); }

    Desk desk;
    std::shared_ptr<ProbeScreen> probe;
    QPointer<ScreenWindow> window;
    GridView* grid = nullptr;
};

TEST_F(ScreenWindowSteps, fieldsAreDrawnByKindAndWhatIsTypedReachesTheScreen) {
    for (const auto& field : probe->fields()) expectFieldShown(*window, field);
    EXPECT_EQ(input<QLineEdit>("txtdate")->placeholderText(), "dd/mm/yyyy");
    EXPECT_EQ(input<QCheckBox>("chkpaid")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(input<QLabel>("lblstate")->text(), "open");

    typeIn(input<QLineEdit>("txtname"), "Acme");
    QTest::keyClick(input<QLineEdit>("txtname"), Qt::Key_Return);  // leaving it unchanged is no step
    EXPECT_EQ(probe->steps, std::vector<std::string>{"txtname=Acme"});
    EXPECT_EQ(input<QLabel>("lblstate")->text(), "named Acme") << "the window read the screen again";
    EXPECT_EQ(status(), "changed txtname");

    typeIn(input<QLineEdit>("txtdate"), "05/01/2026");
    auto* note = input<QPlainTextEdit>("txtnote");
    QTest::keyClicks(note, "Call first");
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(note, &leave);
    auto* combo = input<ui::MultiColumnCombo>("cmbcustno");
    emit combo->activated(1);
    EXPECT_EQ(combo->currentText(), "1002");
    typeIn(combo->lineEdit(), "1");  // "10021", typed and left
    clickBox(input<QCheckBox>("chkpaid"));
    clickBox(input<QRadioButton>("optone"));
    EXPECT_EQ(probe->steps, (std::vector<std::string>{"txtname=Acme", "txtdate=05/01/2026", "txtnote=Call first",
                                                      "cmbcustno=1002", "cmbcustno=10021", "chkpaid=1",
                                                      "optone=1"}));
    EXPECT_EQ(input<QCheckBox>("chkpaid")->checkState(), Qt::Checked);
    clickBox(input<QCheckBox>("chkpaid"));
    EXPECT_EQ(probe->field("chkpaid").value, "0");
}

TEST_F(ScreenWindowSteps, gridCellsFollowTheLayoutAndEditsGoThroughTheScreen) {
    expectGridShown(*window, probe->grid("dbgrid1"));
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 300 / 15);
    ASSERT_EQ(grid->rowCount(), 1) << "an editable grid offers one empty row";

    grid->item(0, 0)->setText("S1");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 1)->text(), "1.00") << "the screen's reaction is shown";
    EXPECT_EQ(grid->item(0, 1)->textAlignment(), static_cast<int>((Qt::AlignRight | Qt::AlignVCenter).toInt()));
    EXPECT_TRUE(grid->item(0, 1)->font().bold());

    grid->item(1, 0)->setText("bad");
    EXPECT_EQ(desk.ui.texts(), std::vector<std::string>{"Not a code"});
    EXPECT_EQ(grid->rowCount(), 2) << "a refused value adds no row";
    EXPECT_EQ(grid->item(1, 0)->text(), "");

    grid->item(0, 2)->setCheckState(Qt::Checked);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 0)).center());
    EXPECT_EQ(probe->steps, (std::vector<std::string>{"cell 0 code=S1", "cell 0 paid=1", "click 0 code"}));
}

TEST_F(ScreenWindowSteps, lookUpCellsPickTheirCodeFromAMultiColumnList) {
    grid->setCurrentCell(0, 0);
    grid->edit(grid->model()->index(0, 0));
    auto* combo = grid->viewport()->findChild<ui::MultiColumnCombo*>();
    ASSERT_TRUE(combo) << "the code cell edits through a drop-down";
    EXPECT_EQ(combo->listModel()->rowCount(), 2);
    EXPECT_EQ(combo->listModel()->headerData(1, Qt::Horizontal).toString(), "Description");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(probe->steps, std::vector<std::string>{"cell 0 code=S2"});
    EXPECT_EQ(grid->item(0, 1)->text(), "1.00");
    EXPECT_EQ(grid->itemDelegateForColumn(1), nullptr) << "other columns stay plain";
}

TEST_F(ScreenWindowSteps, commandsRunFromMenuAndToolbarFailuresAreToldAndExitOrClosingEndsBoth) {
    toolbarAction(*window, "Save")->trigger();
    EXPECT_EQ(status(), "saved");

    toolbarAction(*window, "Edit")->trigger();
    EXPECT_TRUE(probe->command("&Edit mode").checked);
    EXPECT_TRUE(menuEntry(*window, 1, 0)->isChecked()) << "the menu entry shows the same state";

    menuEntry(*window, 1, 1)->trigger();  // "&Fail"
    EXPECT_EQ(desk.ui.texts(), std::vector<std::string>{"Cannot do that"});
    EXPECT_FALSE(probe->isClosed());

    probe->enter("txtname", "from the host");
    EXPECT_EQ(input<QLineEdit>("txtname")->text(), "from the host") << "a step from outside is shown too";

    menuEntry(*window, 0, 1)->trigger();  // "&Exit"
    EXPECT_TRUE(probe->isClosed());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull()) << "the window went with its screen";

    auto second = desk.show<ProbeScreen>();
    QPointer<ScreenWindow> other = desk.screens.windowOf(*second);
    ASSERT_TRUE(other);
    other->close();
    EXPECT_TRUE(second->isClosed());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(other.isNull());

    // A window that goes while its screen stays open leaves the screen without handlers.
    auto third = desk.show<ProbeScreen>();
    delete desk.screens.windowOf(*third);
    third->enter("txtname", "still works");
    third->close();
    EXPECT_TRUE(third->isClosed());
}

// --- Boxes, totals, the screen's own windows, row styles ------------------------------------------

// A screen arranged as the document screens are: header boxes with a button, totals below
// the grid, a window of its own opened by a command, deposit rows in their style and a
// field the screen colours.
class ArrangedScreen : public framework::Screen {
public:
    ArrangedScreen() : Screen("Arranged_form", "Arranged") {
        addField({.name = "txtdocno", .caption = "Document no"});
        addField({.name = "cmbcustno", .kind = FieldKind::Combo, .caption = "Customer no"});
        addField({.name = "txtaddress", .kind = FieldKind::MultiLine, .caption = "Address", .page = "Address Window"});
        addField({.name = "txttotal", .caption = "Total", .value = "0.00", .locked = true, .footer = true});
        addGrid({.name = "dbgrid1",
                 .declaredCaptions = {"invoice no", "deposit"},
                 .locked = true,
                 .rowStyles = {{.name = "Deposit_style", .column = "deposit", .backColor = 0xDCF5E1, .italic = true}}});
        addCommand({.menu = "&Edit", .caption = "&Address", .action = [this] { openWindow("Address Window"); }});
        addCommand({.caption = "&Copy", .page = "Address Window",
                    .action = [this] { setValue("txtaddress", "1 Main St"); }});
        addCommand({.caption = "cmdmark", .group = "Document", .buttonText = "Mark", .action = [this] {
                         mutableField("txtdocno").foreColor = 0xFFFFFF;
                         mutableField("txtdocno").backColor = 0x0000FF;
                     }});
        addWindow("Address Window");
        arrangeGroups({{"Customer", {"cmbcustno"}}, {"Document", {"txtdocno"}}});
    }

protected:
    void onLoad() override {
        mutableGrid("dbgrid1").rows = {{{"invoice no", "INV-1"}, {"deposit", "0"}},
                                       {{"invoice no", "UA-1"}, {"deposit", "1"}}};
    }
};

TEST(ScreenWindowArrangement, boxesTotalsOwnWindowsAndStylesFollowTheScreen) {
    Desk desk;
    int order = 0;
    for (const char* caption : {"invoice no", "deposit"})
        desk.database.db().execute("INSERT INTO [Grid_property] ([form_name], [grid_name], [col_order], [Caption], "
                                   "[Visible], [col_width]) VALUES ('Arranged_form', 'dbgrid1', ?, ?, 1, 1500)",
                                   {order++, caption});
    auto screen = desk.show<ArrangedScreen>();
    ScreenWindow* window = desk.screens.windowOf(*screen);
    ASSERT_TRUE(window);
    for (const auto& field : screen->fields()) expectFieldShown(*window, field);
    const auto boxes = window->findChildren<QGroupBox*>();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0]->title(), "Customer") << "boxes stand in the order the screen arranged them";

    QDialog* address = window->subWindow("Address Window");
    ASSERT_TRUE(address);
    EXPECT_FALSE(address->isVisible());
    menuEntry(*window, 0, 0)->trigger();  // "&Address"
    EXPECT_TRUE(address->isVisible());
    address->findChild<QPushButton*>("&Copy")->click();
    EXPECT_EQ(address->findChild<QPlainTextEdit*>("txtaddress")->toPlainText(), "1 Main St");
    address->close();
    EXPECT_FALSE(screen->isWindowOpen("Address Window")) << "closing the window is the person's step";

    auto* mark = window->findChild<QPushButton*>("cmdmark");
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->text(), "Mark");
    EXPECT_EQ(groupOf(mark), "Document");
    mark->click();
    const QPalette docno = window->findChild<QLineEdit*>("txtdocno")->palette();
    EXPECT_EQ(docno.color(QPalette::Base), QColor(Qt::red));
    EXPECT_EQ(docno.color(QPalette::Text), QColor(Qt::white));

    GridView* grid = window->gridView("dbgrid1");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->item(0, 0)->background(), QBrush()) << "an invoice row keeps the grid's look";
    EXPECT_EQ(grid->item(1, 0)->background().color(), QColor(0xE1, 0xF5, 0xDC));
    EXPECT_TRUE(grid->item(1, 0)->font().italic());
}

}  // namespace
}  // namespace keltro
