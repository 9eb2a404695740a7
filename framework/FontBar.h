// The font bar: the toolbar captioned "Font" that every screen with a grid shows.
//
// A person chooses which columns it works on ("all columns" or the selected ones), then a
// font, a size, a colour, bold, italic, underline or an alignment for them; "Save Font"
// keeps the grid's fonts in its stored layout and "Restore Font" brings the stored ones
// back. Its buttons are toolbar-only commands and its pickers are combo fields, which a
// screen adds after its own:
//
//     for (auto& f : framework::fontBarFields()) addField(std::move(f));
//     for (auto& c : framework::fontBarCommands()) addCommand(std::move(c));
//
// The commands come without actions; what they do to a grid is the screen's.
#pragma once

#include <string>
#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::framework {

// The sizes the size picker offers (the report page format offers the same).
const std::vector<std::string>& fontSizes();

// "Save Font", "Restore Font", "&Apply To", "&Font Name", "&Font Size", "&Font Color",
// the toggles "Bold", "Italic", "Underline", then "Align Left", "Align Center",
// "Align Right", in the order they stand on the bar.
std::vector<Command> fontBarCommands();

// The pickers: `cmbselcol` (which columns), `cmbitfont` (font), `cmbfont_size` and
// `cmbitcolor` (colour). They stay open to typing while the screen's own fields are locked.
std::vector<Field> fontBarFields();

}  // namespace keltro::framework
