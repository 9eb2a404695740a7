// The one window every A/R screen is shown in, drawn from what the screen declares.
//
// The menu bar and toolbar come from the screen's commands, the fields from its fields
// (each with its caption; those with a page on the tab pages below the header), the
// grids from its grids, the status bar from its status text, with a progress bar for
// long loops. The window holds no rules: everything the person does becomes one of the
// screen's steps (`enter`, `pick`, `enterCell`, `clickCell`, `run`), and after each
// step the window reads the screen again. A step that cannot be taken (a read-only field,
// a failure inside the screen) is told to the person in a message box and the window
// shows the screen as it still is.
//
// Tab moves through the fields in the order the screen declares them; the font bar shows
// and the toolbar places its captions as the person's settings say.
//
// Closing the window closes the screen, which saves its grid layouts; when the screen
// closes itself ("&Exit", or the host's close method) the window goes too.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Screen.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QToolBar;

namespace keltro::ui {

class CommandActions;
class FieldControl;
class FieldPanel;
class GridView;
struct FieldStyle;

class ScreenWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit ScreenWindow(std::shared_ptr<framework::Screen> screen, QWidget* parent = nullptr);
    ~ScreenWindow() override;

    framework::Screen& screen() const { return *m_screen; }
    const std::shared_ptr<framework::Screen>& sharedScreen() const { return m_screen; }
    GridView* gridView(const std::string& name) const;
    QTabWidget* pages() const { return m_pages; }
    // One of the screen's own windows ("Tax Details Window"); null when it has none of that name.
    QDialog* subWindow(const std::string& name) const;

    // A long loop has done `done` of `total` steps; the bar hides when it is through.
    void setProgress(long done, long total);

    // The screen window the person works in now (the one holding the focus, or the active
    // window, or the active window of a workspace); null when there is none.
    static ScreenWindow* active();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCommands();
    void buildBody();
    FieldPanel* buildPanel(const std::string& page, bool footer, QWidget* parent);
    void addFontBarFields(const FieldStyle& style);
    void buildSubWindow(const std::string& name);
    void connectField(FieldControl* control);
    void addFontBarField(FieldControl* control, const framework::Field& field);
    void addGrids(const std::string& page, QLayout* layout, QWidget* parent);
    void buildStatusBar();
    void orderTabs();
    void connectScreen();

    // Runs one step of the person's and shows its outcome.
    void runStep(const std::function<void()>& step);
    void showFailure(const std::string& text, bool unexpected);
    void refresh();
    void screenClosed();

    std::shared_ptr<framework::Screen> m_screen;
    CommandActions* m_commands = nullptr;
    QToolBar* m_toolBar = nullptr;
    QToolBar* m_fontBar = nullptr;
    std::vector<FieldControl*> m_fields;
    struct PanelButton {
        std::string caption;
        QPushButton* button;
    };
    std::vector<PanelButton> m_buttons;
    struct SubWindowView {
        std::string name;
        QDialog* dialog;
    };
    std::vector<SubWindowView> m_subWindows;
    std::vector<GridView*> m_grids;
    QTabWidget* m_pages = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    int m_stepDepth = 0;
    bool m_closing = false;
};

}  // namespace keltro::ui
