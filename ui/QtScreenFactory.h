// Shows the A/R screens in Qt windows: each screen ARclass opens gets its own
// ScreenWindow, modeless, as a sub-window of the host's workspace when there is one and
// as a window of its own otherwise. The window owns its screen's showing; it goes when
// the screen closes.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "host/ScreenFactory.h"

class QMdiArea;

namespace keltro::ui {

class ScreenWindow;

class QtScreenFactory : public host::ScreenFactory {
public:
    explicit QtScreenFactory(QMdiArea* workspace = nullptr);

    void show(const std::shared_ptr<framework::Screen>& screen) override;

    // The windows still open, oldest first.
    std::vector<ScreenWindow*> windows() const;
    // The open window of a screen; null when it has none.
    ScreenWindow* windowOf(const framework::Screen& screen) const;

private:
    QPointer<QMdiArea> m_workspace;
    std::vector<QPointer<ScreenWindow>> m_windows;
};

}  // namespace keltro::ui
