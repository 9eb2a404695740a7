// The font picker of the font bar (`cmbitfont`): one item per installed font family,
// drawn as the family's name followed by a sample in that family. A family of the symbol
// character set draws its sample in "Arial" instead, so the sample stays readable. The
// picker starts on "Arial".
//
// The families come from the display: the Qt views install a source that asks the font
// database (ui/FontFamilies.h); without one (the headless driver) the picker offers the
// families the suite's screens are laid out in.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::framework {

struct FontFamily {
    std::string name;
    bool symbol = false;  // the symbol character set
};

class cFontsCombo {
public:
    using FamilySource = std::function<std::vector<FontFamily>()>;

    static constexpr const char* kSampleText = "AbCdEfGhIj";
    static constexpr const char* kStartFamily = "Arial";

    // Where the installed families come from; an empty source restores the default.
    static void SetFamilySource(FamilySource source);
    // The installed families, by name.
    static std::vector<FontFamily> Families();

    // Makes `list` the font picker: one item per family, on "Arial".
    static void Attach(Field& list);
    // The family a family's sample is drawn in.
    static std::string SampleFamily(const FontFamily& family);
};

}  // namespace keltro::framework
