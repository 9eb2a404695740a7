// Where `ARclass` gets its screens from, and how it shows them.
//
// The same `ARclass` serves the desktop program and the headless driver: the factory
// creates the screen object of a class name and, once the screen is loaded, shows it
// modeless — in a Qt window, or (headless) by keeping it in the list of open screens.
// A screen stays open, and owned by the factory's side, until it closes itself.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Screen.h"

namespace keltro::host {

class ScreenFactory {
public:
    virtual ~ScreenFactory() = default;
    // A new, not yet loaded screen of the class; throws framework::ScreenError for a name
    // that is not one of the component's screens.
    virtual std::shared_ptr<framework::Screen> create(const std::string& className);
    // Shows a loaded screen modeless; the call returns at once.
    virtual void show(const std::shared_ptr<framework::Screen>& screen) = 0;
};

// The class names of the component's twelve screens, in the order of the host's menu.
const std::vector<std::string>& screenClassNames();

// Shows screens by keeping them: every screen ever shown and not closed.
class HeadlessScreenFactory : public ScreenFactory {
public:
    void show(const std::shared_ptr<framework::Screen>& screen) override;
    // The open screens, oldest first (closed ones are dropped).
    std::vector<std::shared_ptr<framework::Screen>> openScreens();

private:
    std::vector<std::shared_ptr<framework::Screen>> m_screens;
};

}  // namespace keltro::host
