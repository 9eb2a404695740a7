// Where the component's screens come from: inside the component, from its own screen
// classes, while the host decides how they are shown.
//
// Every ARclass the component creates gets one of these. It makes the screen of a class
// name with the component's own code (so every rule a screen has runs from the
// component's library) and passes it to the host's factory to show. Each screen it makes
// is counted while it lives, so that the library says it cannot be unloaded while any
// window still shows one of its screens.
#pragma once

#include <memory>
#include <string>

#include "host/ScreenFactory.h"

namespace keltro::component {

class ComponentScreenFactory final : public host::ScreenFactory {
public:
    explicit ComponentScreenFactory(host::ScreenFactory& views) : m_views(views) {}

    std::shared_ptr<framework::Screen> create(const std::string& className) override;
    void show(const std::shared_ptr<framework::Screen>& screen) override { m_views.show(screen); }

private:
    host::ScreenFactory& m_views;
};

}  // namespace keltro::component
