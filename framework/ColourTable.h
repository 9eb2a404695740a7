// The named colours of the colour picker: 510 pairs of a six-digit lower-case hex value
// (red, green, blue) and a name, in the picker's order. The table is data only; finding
// and converting colours is the picker's (framework/ColourPicker.h).
#pragma once

#include <array>
#include <cstddef>

namespace keltro::framework {

struct NamedColour {
    const char* hex;   // "e6e6fa"
    const char* name;  // "lavender"
};

inline constexpr std::size_t kColourCount = 510;
// Entries 1 to 255 are the first run, 256 to 510 the second.
inline constexpr std::size_t kFirstRunLength = 255;

const std::array<NamedColour, kColourCount>& colourTable();

}  // namespace keltro::framework
