// The commands the report screens share, spelled once.
//
// Every report prints its grid: "Page Set&up" sets the page format of the printout, "Print
// &Column" chooses the printed columns and "&Preview" prints to a PDF the host shows. A
// report screen adds the shared block, its own "&Exit", the commands that run its query,
// and the font bar:
//
//     for (auto& c : reportCommands("")) addCommand(std::move(c));
//     addExitCommand("&File", "");
//     for (auto& c : queryCommands()) addCommand(std::move(c));
//
// The commands come without actions: the screen attaches its own.
#pragma once

#include <string>
#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::reports {

// "Page Set&up" of the "&File" menu.
framework::Command pageSetupCommand();

// "Page Set&up", "Print &Column" and "&Preview" (which needs the print right) of the
// "&File" menu, and "&Show Text below Icon" of the "&Option" menu.
std::vector<framework::Command> reportCommands(const std::string& previewToolbar);

// "&Find" of the "&Run" menu with its toolbar button "Find": the report runs by it.
framework::Command findCommand();

// "&Run", "&Clear" and "&Find" of the "&Run" menu: run the query, empty the filters and
// the grid, find.
std::vector<framework::Command> queryCommands();

}  // namespace keltro::reports
