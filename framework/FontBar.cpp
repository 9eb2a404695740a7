#include "framework/FontBar.h"

namespace keltro::framework {

namespace {

Command button(const std::string& caption, bool toggle = false) {
    return {.caption = caption, .toolbar = caption, .checkable = toggle};
}

}  // namespace

const std::vector<std::string>& fontSizes() {
    static const std::vector<std::string> sizes = {"8",  "9",  "10", "10.5", "11", "12",
                                                   "14", "16", "18", "20",   "22", "24"};
    return sizes;
}

std::vector<Command> fontBarCommands() {
    return {button("Save Font"),   button("Restore Font"), button("&Apply To"),
            button("&Font Name"),  button("&Font Size"),   button("&Font Color"),
            button("Bold", true),  button("Italic", true), button("Underline", true),
            button("Align Left"),  button("Align Center"), button("Align Right")};
}

std::vector<Field> fontBarFields() {
    return {{.name = "cmbselcol", .kind = FieldKind::Combo, .caption = "Apply to",
             .value = "selected columns", .items = {"all columns", "selected columns"}},
            {.name = "cmbitfont", .kind = FieldKind::Combo, .caption = "Font name",
             .value = "Arial"},
            {.name = "cmbfont_size", .kind = FieldKind::Combo, .caption = "Font size",
             .items = fontSizes()},
            {.name = "cmbitcolor", .kind = FieldKind::Combo, .caption = "Font color"}};
}

}  // namespace keltro::framework
