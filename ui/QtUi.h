// How the screens speak to the person on the desktop: real message boxes.
//
// A message is a plain box with an OK button and no icon, a warning an exclamation box, a
// question a Yes/No box (true for Yes). Progress moves the bar of the screen window the
// person works in; pumping events lets the window system run pending events.
#pragma once

#include <string>

#include "services/Ui.h"

namespace keltro::ui {

class QtUi final : public services::Ui {
public:
    void message(const std::string& text) override;
    void warn(const std::string& text) override;
    bool ask(const std::string& text) override;
    void progress(long done, long total) override;
    void pumpEvents() override;
};

}  // namespace keltro::ui
