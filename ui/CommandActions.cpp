#include "ui/CommandActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>

#include "framework/FontBar.h"

namespace keltro::ui {

namespace {

QString runCaption(const framework::Command& command) {
    return QString::fromStdString(command.caption.empty() ? command.toolbar : command.caption);
}

bool isFontBarCommand(const framework::Command& command) {
    return command.menu.empty() && framework::isFontBarCommand(command.caption);
}

// The letter after the "&" of a caption ("&Apply To" gives 'A'); 0 when it has none.
QChar mnemonicOf(const std::string& caption) {
    const auto at = caption.find('&');
    if (at == std::string::npos || at + 1 >= caption.size() || caption[at + 1] == '&') return {};
    return QChar::fromLatin1(caption[at + 1]).toUpper();
}

}  // namespace

// Menu commands are reached through their menu's letter and their own; a command on a
// toolbar only takes Alt and its letter, unless a menu or another such command has it.
void CommandActions::addToolbarMnemonics(const std::vector<framework::Command>& commands) {
    std::map<QChar, int> uses;
    for (const auto& command : commands) {
        if (!command.menu.empty()) ++uses[mnemonicOf(command.menu)];
        else if (!command.toolbar.empty()) ++uses[mnemonicOf(command.caption)];
    }
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const QChar letter = mnemonicOf(commands[i].caption);
        if (!commands[i].menu.empty() || !m_toolActions[i] || letter.isNull() || uses[letter] != 1) continue;
        m_toolActions[i]->setShortcut(QKeySequence(QStringLiteral("Alt+") + letter));
    }
}

CommandActions::CommandActions(const std::vector<framework::Command>& commands, QMenuBar* menuBar,
                               QToolBar* toolBar, QToolBar* fontBar, QObject* parent)
    : QObject(parent) {
    std::map<std::string, QMenu*> menus;
    for (const auto& command : commands) {
        QAction* menuAction = nullptr;
        if (!command.menu.empty()) {
            QMenu*& menu = menus[command.menu];
            if (!menu) menu = menuBar->addMenu(QString::fromStdString(command.menu));
            menuAction = makeAction(command, QString::fromStdString(command.caption), menu);
            menu->addAction(menuAction);
        }
        QAction* toolAction = nullptr;
        if (!command.toolbar.empty()) {
            QToolBar* bar = isFontBarCommand(command) ? fontBar : toolBar;
            toolAction = makeAction(command, QString::fromStdString(command.toolbar), bar);
            bar->addAction(toolAction);
        }
        m_captions.push_back(command.caption);
        m_menuActions.push_back(menuAction);
        m_toolActions.push_back(toolAction);
    }
    addToolbarMnemonics(commands);
    toolBar->setVisible(!toolBar->actions().isEmpty());
    fontBar->setVisible(!fontBar->actions().isEmpty());
    show(commands);
}

QAction* CommandActions::makeAction(const framework::Command& command, const QString& text, QObject* owner) {
    auto* action = new QAction(text, owner);
    action->setCheckable(command.checkable);
    const QString caption = runCaption(command);
    connect(action, &QAction::triggered, this, [this, caption] { emit triggered(caption); });
    return action;
}

QAction* CommandActions::toolAction(const std::string& caption) const {
    for (std::size_t i = 0; i < m_captions.size(); ++i)
        if (m_captions[i] == caption) return m_toolActions[i];
    return nullptr;
}

void CommandActions::show(const std::vector<framework::Command>& commands) {
    const std::size_t count = std::min(commands.size(), m_menuActions.size());
    for (std::size_t i = 0; i < count; ++i) {
        for (QAction* action : {m_menuActions[i], m_toolActions[i]}) {
            if (!action) continue;
            const QSignalBlocker block(action);
            action->setEnabled(commands[i].enabled);
            if (commands[i].checkable) action->setChecked(commands[i].checked);
        }
    }
}

}  // namespace keltro::ui
