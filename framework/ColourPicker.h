// The colour picker of the font bar (`cmbitcolor`) and the screens' dictionary of named
// colours.
//
// The picker lists the 510 named colours of framework/ColourTable.h, each item its hex
// value and its name ("e6e6fa;lavender"), so a picked item gives the field its hex value.
// Colours are numbers as the suite stores them: RGB(r, g, b) = r + 256 g + 65536 b.
//
//     cColorsCombo::HexToColour("e6e6fa")        // RGB(230, 230, 250)
//     cColorsCombo::ColourNamed("gray94")        // RGB(240, 240, 240)
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::framework {

// RGB(r, g, b) as a colour number.
constexpr long Rgb(int red, int green, int blue) {
    return static_cast<long>(red) + 256L * green + 65536L * blue;
}

class cColorsCombo {
public:
    // Makes `list` the colour picker: two columns (hex value, name), the 510 items.
    static void Attach(Field& list);

    // Six hex digits (either case) to a colour number; a character that is not a hex
    // digit counts as 0, missing characters too.
    static long HexToColour(std::string_view hex);
    // Two hex digits to 0..255 (16 × first + second).
    static int HexPairValue(char high, char low);

    // The picker's items, "hex;name", in table order.
    static std::vector<std::string> Items();
    // The colour of the first item of that name; nothing for an unknown name.
    static std::optional<long> ColourNamed(std::string_view name);
    // The colour a picker's text stands for: six hex digits, or a colour name.
    static std::optional<long> ColourOfText(std::string_view text);
};

// HexToColour for screens that hold only the list control.
long ColourFromHexText(std::string_view hex);

}  // namespace keltro::framework
