#include "ui/QtScreenFactory.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "ui/FontBarPickers.h"
#include "ui/ScreenWindow.h"

namespace keltro::ui {

namespace {

constexpr QSize kWindowSize{960, 620};

}  // namespace

QtScreenFactory::QtScreenFactory(QMdiArea* workspace) : m_workspace(workspace) { InstallFontFamilies(); }

void QtScreenFactory::show(const std::shared_ptr<framework::Screen>& screen) {
    auto* window = new ScreenWindow(screen);
    if (m_workspace) {
        QMdiSubWindow* frame = m_workspace->addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->resize(kWindowSize);
        frame->show();
        m_workspace->setActiveSubWindow(frame);
    } else {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(kWindowSize);
        window->show();
    }
    std::erase_if(m_windows, [](const auto& w) { return w.isNull(); });
    m_windows.emplace_back(window);
}

std::vector<ScreenWindow*> QtScreenFactory::windows() const {
    std::vector<ScreenWindow*> open;
    for (const auto& w : m_windows)
        if (w && !w->screen().isClosed()) open.push_back(w.data());
    return open;
}

ScreenWindow* QtScreenFactory::windowOf(const framework::Screen& screen) const {
    for (auto* w : windows())
        if (&w->screen() == &screen) return w;
    return nullptr;
}

}  // namespace keltro::ui
