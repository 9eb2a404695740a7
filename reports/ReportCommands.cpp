#include "reports/ReportCommands.h"

#include "framework/StandardCommands.h"

namespace keltro::reports {

using framework::Command;

Command pageSetupCommand() { return {.menu = "&File", .caption = "Page Set&up"}; }

std::vector<Command> reportCommands(const std::string& previewToolbar) {
    return {pageSetupCommand(), {.menu = "&File", .caption = "Print &Column"},
            framework::previewCommand(previewToolbar), framework::showTextBelowIconCommand()};
}

Command findCommand() { return {.menu = "&Run", .caption = "&Find", .toolbar = "Find"}; }

std::vector<Command> queryCommands() {
    return {{.menu = "&Run", .caption = "&Run"},
            {.menu = "&Run", .caption = "&Clear"},
            {.menu = "&Run", .caption = "&Find"}};
}

}  // namespace keltro::reports
