// The menu bar and toolbar of a screen window, made from the screen's commands.
//
// Menus appear in the order their first command is declared, each with its commands in
// declaration order; captions keep their "&" accelerators ("&File", "&Save"). Commands
// with a toolbar caption also get a toolbar button, on the font bar for the font bar's
// own commands (framework/FontBar.h) and on the screen's toolbar for the others;
// checkable commands are toggle buttons that show whether the command is on. Either way,
// invoking one emits `triggered` with the caption the screen runs it by. A toolbar-only
// command with an accelerator ("&Apply To") answers Alt and its letter where no menu or
// other toolbar command claims the letter.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "framework/ScreenParts.h"

class QAction;
class QMenuBar;
class QToolBar;

namespace keltro::ui {

class CommandActions : public QObject {
    Q_OBJECT
public:
    CommandActions(const std::vector<framework::Command>& commands, QMenuBar* menuBar,
                   QToolBar* toolBar, QToolBar* fontBar, QObject* parent);

    // The toolbar button of a command, by caption; null when it has none.
    QAction* toolAction(const std::string& caption) const;

    // Shows whether each command is enabled and, for checkable ones, on.
    void show(const std::vector<framework::Command>& commands);

signals:
    void triggered(const QString& caption);

private:
    void addToolbarMnemonics(const std::vector<framework::Command>& commands);
    QAction* makeAction(const framework::Command& command, const QString& text, QObject* owner);

    // Per command, in declaration order: its caption, its menu entry and its toolbar
    // button (or null).
    std::vector<std::string> m_captions;
    std::vector<QAction*> m_menuActions;
    std::vector<QAction*> m_toolActions;
};

}  // namespace keltro::ui
