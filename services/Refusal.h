// A check that fails tells the person why in a message box and answers false, so that a
// run of checks reads `return present(x) || refuse(ui, "...");`.
#pragma once

#include <string>

#include "services/Ui.h"

namespace keltro::services {

inline bool refuse(Ui& ui, const std::string& message) {
    ui.message(message);
    return false;
}

}  // namespace keltro::services
