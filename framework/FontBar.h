// The font bar: the toolbar captioned "Font" that every screen with a grid shows.
//
// A person chooses which columns it works on ("all columns" or the selected ones), then a
// font, a size, a colour, bold, italic, underline or an alignment for them; "Save Font"
// keeps the grid's fonts in its stored layout and "Restore Font" brings the stored ones
// back. Its buttons are toolbar-only commands and its pickers are combo fields. The
// screen base adds both to every screen that declares a grid, after the screen's own,
// and gives the commands their actions (framework/Screen.h); a screen declares nothing.
//
// The change itself is `ApplyFontToColumns`: on "all columns" it goes to every visible
// column, else to the columns selected in the grid. Nothing is stored until "Save Font".
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
bool isFontBarField(const std::string& control);
bool isFontBarCommand(const std::string& caption);

inline constexpr const char* kAllColumns = "all columns";
inline constexpr const char* kSelectedColumns = "selected columns";

enum class FontProperty { Bold, Italic, Underline, Alignment, Size, Name, Colour };

// Sets `property` of the chosen columns to `value`: "1"/"0" for bold, italic and
// underline; 0 (left), 1 (right) or 2 (centre) for alignment; a point size; a family
// name; a colour as six hex digits or a colour name. A value the columns cannot take
// (a size that is no number) changes nothing.
void ApplyFontToColumns(Grid& grid, bool allColumns, FontProperty property, const std::string& value);

}  // namespace keltro::framework
