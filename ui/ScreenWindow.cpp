#include "ui/ScreenWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>

#include "framework/FontBar.h"
#include "framework/FormSettings.h"
#include "ui/CommandActions.h"
#include "ui/FontBarPickers.h"
#include "ui/FieldControl.h"
#include "ui/FieldPanel.h"
#include "ui/GridView.h"
#include "ui/MultiColumnCombo.h"
#include "ui/Theme.h"

namespace keltro::ui {

namespace {

constexpr int kFontBarFieldWidth = 130;

// The screens' font from the host context, else the application's.
QFont screenFont(const framework::HostContext& context) {
    QFont font = QApplication::font();
    if (!context.KELTRO_FONT_NAME.empty()) font.setFamily(QString::fromStdString(context.KELTRO_FONT_NAME));
    if (const double size = std::atof(context.KELTRO_FONT_SIZE.c_str()); size > 0) font.setPointSizeF(size);
    return font;
}

// The tab pages in the order their first field or grid is declared.
std::vector<std::string> pageNames(const framework::Screen& screen) {
    std::vector<std::string> pages;
    auto add = [&](const std::string& page) {
        if (!page.empty() && std::find(pages.begin(), pages.end(), page) == pages.end()) pages.push_back(page);
    };
    for (const auto& f : screen.fields()) add(f.page);
    for (const auto& g : screen.grids()) add(g.page);
    for (const auto& c : screen.commands()) add(c.page);
    std::erase_if(pages, [&](const std::string& page) {
        return std::any_of(screen.windows().begin(), screen.windows().end(),
                           [&](const framework::SubWindow& w) { return w.name == page; });
    });
    return pages;
}

bool isFontBarField(const framework::Field& field) { return framework::isFontBarField(field.name); }

void decoratePicker(FieldControl& control) {
    auto* combo = qobject_cast<MultiColumnCombo*>(control.input());
    if (!combo) return;
    if (control.name() == "cmbitcolor") DecorateColourPicker(*combo);
    if (control.name() == "cmbitfont") DecorateFontPicker(*combo);
}

// "&Font Name" and "Font name" name the same thing.
QString plainCaption(const std::string& caption) {
    return QString::fromStdString(caption).remove('&').toCaseFolded();
}

}  // namespace

ScreenWindow::ScreenWindow(std::shared_ptr<framework::Screen> screen, QWidget* parent)
    : QMainWindow(parent), m_screen(std::move(screen)) {
    setObjectName(QString::fromStdString(m_screen->className()));
    setWindowTitle(QString::fromStdString(m_screen->title()));
    buildCommands();
    buildBody();
    buildStatusBar();
    orderTabs();
    connectScreen();
    refresh();
}

ScreenWindow::~ScreenWindow() {
    m_screen->setChangedHandler(nullptr);
    m_screen->setClosedHandler(nullptr);
}

void ScreenWindow::buildCommands() {
    auto makeBar = [this](const QString& title, const char* name) {
        auto* bar = addToolBar(title);
        bar->setObjectName(name);
        bar->setMovable(false);
        bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return bar;
    };
    QToolBar* toolBar = makeBar(tr("Commands"), "commands");
    m_toolBar = toolBar;
    addToolBarBreak();
    m_fontBar = makeBar(tr("Font"), "font");
    m_fontBar->setStyleSheet(
        QString("QToolBar#font { background: %1; }").arg(colourOfNumber(framework::SetThemeColours().fontBarBack).name()));
    m_commands = new CommandActions(m_screen->commands(), menuBar(), toolBar, m_fontBar, this);
    connect(m_commands, &CommandActions::triggered, this, [this](const QString& caption) {
        runStep([&] { m_screen->run(caption.toStdString()); });
    });
}

// The font bar's pickers stand after the button of the same name ("&Font Name").
void ScreenWindow::addFontBarField(FieldControl* control, const framework::Field& field) {
    control->dropCaption();
    control->input()->setMinimumWidth(0);
    control->input()->setMaximumWidth(kFontBarFieldWidth);
    const auto actions = m_fontBar->actions();
    qsizetype after = actions.size() - 1;
    for (qsizetype i = 0; i < actions.size(); ++i)
        if (actions[i]->text().remove('&').toCaseFolded() == plainCaption(field.caption)) after = i;
    if (after + 1 < actions.size())
        m_fontBar->insertWidget(actions[after + 1], control->input());
    else
        m_fontBar->addWidget(control->input());
    m_fontBar->show();
}

void ScreenWindow::buildBody() {
    // Everything but the totals scrolls when the window is smaller than the screen needs.
    auto* body = new QWidget(this);
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* central = new QWidget(scroll);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildPanel("", false, central));
    addGrids("", layout, central);
    const auto pages = pageNames(*m_screen);
    if (!pages.empty()) {
        m_pages = new QTabWidget(central);
        for (const auto& page : pages) {
            auto* tab = new QWidget(m_pages);
            auto* tabLayout = new QVBoxLayout(tab);
            tabLayout->addWidget(buildPanel(page, false, tab));
            addGrids(page, tabLayout, tab);
            m_pages->addTab(tab, QString::fromStdString(page));
        }
        layout->addWidget(m_pages, 1);
    }
    if (m_grids.empty() && !m_pages) layout->addStretch(1);
    scroll->setWidget(central);
    bodyLayout->addWidget(scroll, 1);
    FieldPanel* footer = buildPanel("", true, body);
    footer->setContentsMargins(9, 0, 9, 4);
    footer->setVisible(!footer->isEmpty());
    bodyLayout->addWidget(footer);
    setCentralWidget(body);
    for (const auto& w : m_screen->windows()) buildSubWindow(w.name);
}

FieldPanel* ScreenWindow::buildPanel(const std::string& page, bool footer, QWidget* parent) {
    const FieldStyle style{screenFont(m_screen->context()),
                           QString::fromStdString(m_screen->context().KELTRO_DATE_FORMAT)};
    auto* panel = new FieldPanel(*m_screen, page, footer, style, isFontBarField, parent);
    for (auto* control : panel->controls()) {
        connectField(control);
        m_fields.push_back(control);
    }
    for (const auto& b : panel->buttons()) {
        connect(b.button, &QPushButton::clicked, this,
                [this, caption = b.caption] { runStep([&] { m_screen->run(caption); }); });
        m_buttons.push_back({b.caption, b.button});
    }
    if (page.empty() && !footer) addFontBarFields(style);
    return panel;
}

void ScreenWindow::addFontBarFields(const FieldStyle& style) {
    for (const auto& field : m_screen->fields()) {
        if (!isFontBarField(field)) continue;
        auto* control = new FieldControl(field, style, m_fontBar);
        connectField(control);
        m_fields.push_back(control);
        addFontBarField(control, field);
        decoratePicker(*control);
    }
}

// Tab goes through the fields in the order the screen declares them, the grids after the
// header's fields and the totals, the font bar's pickers last; each of the screen's own
// windows has its own round.
void ScreenWindow::orderTabs() {
    std::vector<QWidget*> order;
    auto controlOf = [this](const std::string& name) -> QWidget* {
        for (auto* control : m_fields)
            if (control->name() == name) return control->input();
        return nullptr;
    };
    auto addFields = [&](auto&& wanted) {
        for (const auto& f : m_screen->fields())
            if (wanted(f))
                if (QWidget* input = controlOf(f.name)) order.push_back(input);
    };
    addFields([](const framework::Field& f) { return !f.footer && !isFontBarField(f); });
    for (auto* view : m_grids) order.push_back(view);
    addFields([](const framework::Field& f) { return f.footer && !isFontBarField(f); });
    addFields([](const framework::Field& f) { return isFontBarField(f); });
    std::map<QWidget*, QWidget*> lastInWindow;
    for (QWidget* widget : order) {
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        QWidget*& last = lastInWindow[widget->window()];
        if (last) setTabOrder(last, widget);
        last = widget;
    }
}

// One of the screen's own windows: a tool window over this one, shown while the screen
// holds it open; closing it is the person's step.
void ScreenWindow::buildSubWindow(const std::string& name) {
    auto* dialog = new QDialog(this, Qt::Tool);
    dialog->setObjectName(QString::fromStdString(name));
    dialog->setWindowTitle(QString::fromStdString(name));
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(buildPanel(name, false, dialog));
    const std::size_t gridsBefore = m_grids.size();
    addGrids(name, layout, dialog);
    if (m_grids.size() == gridsBefore) layout->addStretch(1);
    connect(dialog, &QDialog::finished, this, [this, name] {
        if (m_screen->isWindowOpen(name)) runStep([&] { m_screen->closeWindow(name); });
    });
    m_subWindows.push_back({name, dialog});
}

QDialog* ScreenWindow::subWindow(const std::string& name) const {
    for (const auto& w : m_subWindows)
        if (w.name == name) return w.dialog;
    return nullptr;
}

void ScreenWindow::connectField(FieldControl* control) {
    connect(control, &FieldControl::entered, this, [this](const QString& name, const QString& text) {
        runStep([&] { m_screen->enter(name.toStdString(), text.toStdString()); });
    });
    connect(control, &FieldControl::picked, this, [this](const QString& name, int index) {
        runStep([&] { m_screen->pick(name.toStdString(), static_cast<std::size_t>(index)); });
    });
}

void ScreenWindow::addGrids(const std::string& page, QLayout* layout, QWidget* parent) {
    const QFont font = screenFont(m_screen->context());
    for (const auto& g : m_screen->grids()) {
        if (g.page != page) continue;
        auto* view = new GridView(*m_screen, g.name, font, parent);
        connect(view, &GridView::cellEntered, this,
                [this](const QString& grid, int row, const QString& column, const QString& text) {
                    runStep([&] {
                        m_screen->enterCell(grid.toStdString(), static_cast<std::size_t>(row),
                                            column.toStdString(), text.toStdString());
                    });
                });
        connect(view, &GridView::clickedInto, this, [this](const QString& grid, int row, const QString& column) {
            runStep([&] {
                m_screen->clickCell(grid.toStdString(), static_cast<std::size_t>(row), column.toStdString());
            });
        });
        connect(view, &GridView::doubleClickedInto, this,
                [this](const QString& grid, int row, const QString& column) {
                    runStep([&] {
                        m_screen->doubleClickCell(grid.toStdString(), static_cast<std::size_t>(row),
                                                  column.toStdString());
                    });
                });
        layout->addWidget(view);
        m_grids.push_back(view);
    }
}

void ScreenWindow::buildStatusBar() {
    m_status = new QLabel(this);
    m_status->setObjectName("status");
    m_progress = new QProgressBar(this);
    m_progress->setMaximumWidth(220);
    m_progress->setTextVisible(false);
    m_progress->hide();
    statusBar()->addWidget(m_status, 1);
    statusBar()->addPermanentWidget(m_progress);
}

void ScreenWindow::connectScreen() {
    // Inside one of the window's own steps the window reads the screen once, at the end.
    m_screen->setChangedHandler([this] {
        if (m_stepDepth == 0) refresh();
    });
    m_screen->setClosedHandler([this] { screenClosed(); });
}

GridView* ScreenWindow::gridView(const std::string& name) const {
    for (auto* view : m_grids)
        if (view->gridName() == name) return view;
    return nullptr;
}

void ScreenWindow::runStep(const std::function<void()>& step) {
    ++m_stepDepth;
    try {
        step();
    } catch (const framework::ScreenError& e) {
        showFailure(e.what(), false);
    } catch (const std::exception& e) {
        showFailure(e.what(), true);
    }
    --m_stepDepth;
    // Also after a refused step, so that the widgets drop what the screen did not take.
    if (!m_screen->isClosed()) refresh();
}

void ScreenWindow::showFailure(const std::string& text, bool unexpected) {
    if (services::Ui* ui = m_screen->context().ui) {
        unexpected ? ui->warn(text) : ui->message(text);
        return;
    }
    QMessageBox box(unexpected ? QMessageBox::Warning : QMessageBox::NoIcon, windowTitle(),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    box.exec();
}

void ScreenWindow::refresh() {
    for (auto* control : m_fields)
        if (m_screen->hasField(control->name())) control->show(m_screen->field(control->name()));
    for (auto* view : m_grids) view->showRows();
    m_commands->show(m_screen->commands());
    const auto settings = m_screen->formProperties();
    m_fontBar->setVisible(!m_fontBar->actions().isEmpty() && settings.fontBarShown);
    m_toolBar->setToolButtonStyle(settings.toolbarText ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
    for (const auto& b : m_buttons) {
        const auto& command = m_screen->command(b.caption);
        b.button->setEnabled(command.enabled);
        if (command.checkable) b.button->setChecked(command.checked);
    }
    for (const auto& w : m_subWindows) {
        const bool open = m_screen->isWindowOpen(w.name);
        if (open && !w.dialog->isVisible()) {
            w.dialog->adjustSize();
            w.dialog->show();
        } else if (!open && w.dialog->isVisible()) {
            w.dialog->hide();
        }
    }
    m_status->setText(QString::fromStdString(m_screen->statusText()));
}

void ScreenWindow::setProgress(long done, long total) {
    if (total <= 0 || done >= total) {
        m_progress->hide();
        return;
    }
    constexpr long kMost = std::numeric_limits<int>::max();
    m_progress->setRange(0, static_cast<int>(std::min(total, kMost)));
    m_progress->setValue(static_cast<int>(std::min(done, kMost)));
    m_progress->show();
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
    m_closing = true;
    if (!m_screen->isClosed()) {
        try {
            m_screen->close();
        } catch (const std::exception& e) {
            showFailure(e.what(), true);
        }
    }
    event->accept();
}

void ScreenWindow::screenClosed() {
    if (m_closing) return;
    m_closing = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

ScreenWindow* ScreenWindow::active() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (auto* window = qobject_cast<ScreenWindow*>(w)) return window;
    QWidget* top = QApplication::activeWindow();
    if (auto* window = qobject_cast<ScreenWindow*>(top)) return window;
    if (auto* area = top ? top->findChild<QMdiArea*>() : nullptr)
        if (QMdiSubWindow* sub = area->activeSubWindow()) return qobject_cast<ScreenWindow*>(sub->widget());
    return nullptr;
}

}  // namespace keltro::ui
