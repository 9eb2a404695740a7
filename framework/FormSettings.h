// What every screen sets up the same way when it loads: the theme colours, the look of
// its controls by the kind their name starts with, the person's toolbar preferences, the
// shared even-row setting, and the read-only look of locked fields.
//
// Toolbar preferences are one `Form_property_table` row per user and screen: captions
// below the toolbar icons (`toolbar_text`, the command "&Show Text below Icon") and the
// font bar shown or hidden (`Fontbar`). The rows are made by the suite's set-up; a screen
// reads its row at load and writes it back at close, and makes none when it has none.
// The even-row switch is the one `Recent_value_table` row "evenrow_color", shared by all
// users and all screens: 1 colours every other grid row gray94, 0 leaves them white.
#pragma once

#include <optional>
#include <string>

#include "db/Database.h"

namespace keltro::framework {

// The screen-wide colours, as colour numbers (RGB(r, g, b) = r + 256 g + 65536 b).
struct ThemeColours {
    long fontBarBack;   // the frame of the font bar
    long lavender;
    long highlight;     // highlighted list rows and row dividers
    long gray94;        // even rows, the read-only colour of some screens
    long lightPanel;
    long grey;          // gray75
    long cyan;          // lightcyan3
    long textNavy;
    long panelKhaki;
    long panelCream;
};

// The colours every screen sets at start-up; named ones come from the colour picker.
const ThemeColours& SetThemeColours();

// The kinds of control told apart by the upper-cased start of their name.
enum class ControlKind { Label, CheckOrOption, Text, Combo, RichText, DropDownGrid, DataControl, Other };
ControlKind KindOfControl(const std::string& name);

// How a control of a kind is styled at start-up; fields left empty keep the control's own.
struct ControlStyle {
    std::string fontName;
    std::string fontSize;
    std::optional<long> foreColor;
    std::optional<long> borderHighlight;  // text fields: the border colour of the focused field
    std::optional<long> gradientFrom, gradientTo;  // labels
};
ControlStyle StyleOfControl(const std::string& name, const std::string& screenFontName,
                            const std::string& screenFontSize);

// Text, combo and rich-text fields: the ones `LockFields` locks.
bool IsLockableControl(const std::string& name);

struct FormProperties {
    bool toolbarText = false;  // captions below the toolbar icons
    bool fontBarShown = true;
};

// Applies the user's row to `properties`; false (and nothing changed) when there is none.
bool LoadFormProperties(db::Database& db, const std::string& user, const std::string& form,
                        FormProperties& properties);
// Writes the two flags into the user's row when it exists; never makes one.
void SaveFormProperties(db::Database& db, const std::string& user, const std::string& form,
                        const FormProperties& properties);

// The shared even-row setting; on when the row is missing or unreadable.
bool EvenRowsColoured(db::Database& db);
// Stores the setting in the shared row when it exists.
void SetEvenRowColour(db::Database& db, bool on);
// The colour of a grid row (0 the first) under the setting.
long RowBackColour(std::size_t row, bool evenRowsColoured);

}  // namespace keltro::framework
