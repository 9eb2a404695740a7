#include "framework/StandardCommands.h"

namespace keltro::framework {

Command saveCommand() { return {.menu = "&File", .caption = "&Save", .toolbar = "Save"}; }

Command previewCommand(const std::string& toolbar) {
    return {.menu = "&File", .caption = "&Preview", .toolbar = toolbar, .needs = Right::Print};
}

std::vector<Command> modeCommands(const std::string& newToolbar) {
    return {{.menu = "&Edit", .caption = "&New", .toolbar = newToolbar, .checkable = true,
             .needs = Right::Update},
            {.menu = "&Edit", .caption = "&Edit mode", .toolbar = "Edit mode", .checkable = true,
             .needs = Right::Update}};
}

std::vector<Command> lineCommands() {
    return {{.menu = "&Edit", .caption = "&Insert Line"},
            {.menu = "&Edit", .caption = "&Delete Line"}};
}

std::vector<Command> voidMenuCommands(Screen& screen, const std::string& item) {
    return {{.menu = "&Edit", .caption = "&Void", .action = [&screen, item] { screen.run(item); }},
            {.menu = "&Edit", .caption = item}};
}

std::vector<Command> recordCommands(const std::string& lastToolbar) {
    return {{.menu = "&Record", .caption = "&Next record", .toolbar = "Next"},
            {.menu = "&Record", .caption = "&Previous record", .toolbar = "Previous"},
            {.menu = "&Record", .caption = "&Last record", .toolbar = lastToolbar},
            {.menu = "&Record", .caption = "&Refresh record", .toolbar = "Refresh"}};
}

Command showTextBelowIconCommand() {
    return {.menu = "&Option", .caption = "&Show Text below Icon", .checkable = true};
}

}  // namespace keltro::framework
