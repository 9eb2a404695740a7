#include "framework/ColourPicker.h"

#include <algorithm>
#include <cctype>

#include "framework/ColourTable.h"

namespace keltro::framework {

namespace {

int hexDigit(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper >= '0' && upper <= '9') return upper - '0';
    if (upper >= 'A' && upper <= 'F') return upper - 'A' + 10;
    return 0;
}

char charAt(std::string_view text, std::size_t i) { return i < text.size() ? text[i] : '0'; }

bool isSixHexDigits(std::string_view text) {
    return text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

}  // namespace

void cColorsCombo::Attach(Field& list) {
    list.kind = FieldKind::Combo;
    list.columnSpec = "0;900;<;Colour|1;1800;<;Name";
    list.items = Items();
}

int cColorsCombo::HexPairValue(char high, char low) { return 16 * hexDigit(high) + hexDigit(low); }

long cColorsCombo::HexToColour(std::string_view hex) {
    const int red = HexPairValue(charAt(hex, 0), charAt(hex, 1));
    const int green = HexPairValue(charAt(hex, 2), charAt(hex, 3));
    const int blue = HexPairValue(charAt(hex, 4), charAt(hex, 5));
    return Rgb(red, green, blue);
}

std::vector<std::string> cColorsCombo::Items() {
    std::vector<std::string> items;
    items.reserve(kColourCount);
    for (const auto& c : colourTable()) items.push_back(std::string(c.hex) + ";" + c.name);
    return items;
}

std::optional<long> cColorsCombo::ColourNamed(std::string_view name) {
    for (const auto& c : colourTable())
        if (name == c.name) return HexToColour(c.hex);
    return std::nullopt;
}

std::optional<long> cColorsCombo::ColourOfText(std::string_view text) {
    if (isSixHexDigits(text)) return HexToColour(text);
    return ColourNamed(text);
}

long ColourFromHexText(std::string_view hex) { return cColorsCombo::HexToColour(hex); }

}  // namespace keltro::framework
