#include "framework/FontBar.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "framework/ColourPicker.h"
#include "framework/FontBarTarget.h"
#include "framework/FontPicker.h"

namespace keltro::framework {

namespace {

Command button(const std::string& caption, bool toggle = false) {
    return {.caption = caption, .toolbar = caption, .checkable = toggle};
}

std::optional<double> pointSize(const std::string& text) {
    double size = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
    if (ec != std::errc() || end != text.data() + text.size() || size <= 0) return std::nullopt;
    return size;
}

std::vector<GridColumn*> chosenColumns(Grid& grid, bool allColumns) {
    std::vector<GridColumn*> chosen;
    for (std::size_t n = 0; n < grid.columns.size(); ++n) {
        GridColumn& column = grid.columns[n];
        const bool selected = std::find(grid.selectedColumns.begin(), grid.selectedColumns.end(), n) !=
                              grid.selectedColumns.end();
        if (allColumns ? column.visible : selected) chosen.push_back(&column);
    }
    return chosen;
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
    std::vector<Field> fields = {
        {.name = "cmbselcol", .kind = FieldKind::Combo, .caption = "Apply to", .value = kSelectedColumns,
         .items = {kAllColumns, kSelectedColumns}},
        {.name = "cmbitfont", .caption = "Font name"},
        {.name = "cmbfont_size", .kind = FieldKind::Combo, .caption = "Font size", .items = fontSizes()},
        {.name = "cmbitcolor", .caption = "Font color"}};
    cFontsCombo::Attach(fields[1]);
    cColorsCombo::Attach(fields[3]);
    return fields;
}

bool isFontBarField(const std::string& control) {
    for (const char* name : {"cmbselcol", "cmbitfont", "cmbfont_size", "cmbitcolor"})
        if (control == name) return true;
    return false;
}

bool isFontBarCommand(const std::string& caption) {
    const auto commands = fontBarCommands();
    return std::any_of(commands.begin(), commands.end(), [&](const Command& c) { return c.caption == caption; });
}

bool TakesFontBar(const Grid& grid, const std::vector<SubWindow>& windows) {
    const bool onOwnWindow =
        std::any_of(windows.begin(), windows.end(), [&](const SubWindow& w) { return w.name == grid.page; });
    return !grid.layoutIsBorrowed && !onOwnWindow;
}

void ApplyFontToColumns(Grid& grid, bool allColumns, FontProperty property, const std::string& value) {
    std::optional<double> size;
    std::optional<long> colour;
    if (property == FontProperty::Size && !(size = pointSize(value))) return;
    if (property == FontProperty::Colour && !(colour = cColorsCombo::ColourOfText(value))) return;
    if (property == FontProperty::Name && value.empty()) return;
    const bool on = value == "1";
    for (GridColumn* column : chosenColumns(grid, allColumns)) {
        switch (property) {
        case FontProperty::Bold: column->bold = on; break;
        case FontProperty::Italic: column->italic = on; break;
        case FontProperty::Underline: column->underline = on; break;
        case FontProperty::Alignment:
            // Check-box cells stay centred.
            if (!column->checkBox) column->alignment = std::clamp(std::atoi(value.c_str()), 0, 2);
            break;
        case FontProperty::Size: column->fontSize = *size; break;
        case FontProperty::Name: column->fontName = value; break;
        case FontProperty::Colour: column->fontColor = *colour; break;
        }
    }
}

}  // namespace keltro::framework
