// Which grid of a screen the font bar may work on: one on the window itself (not on one
// of the screen's own windows, such as the report screens' "Print Column" list) whose
// layout is the screen's own (not borrowed, as the invoice's tax grids are).
#pragma once

#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::framework {

bool TakesFontBar(const Grid& grid, const std::vector<SubWindow>& windows);

}  // namespace keltro::framework
