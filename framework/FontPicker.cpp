#include "framework/FontPicker.h"

#include <algorithm>

namespace keltro::framework {

namespace {

cFontsCombo::FamilySource& familySource() {
    static cFontsCombo::FamilySource source;
    return source;
}

std::vector<FontFamily> defaultFamilies() {
    return {{"Arial"}, {"Courier New"}, {"Tahoma"}, {"Times New Roman"}, {"Verdana"}};
}

}  // namespace

void cFontsCombo::SetFamilySource(FamilySource source) { familySource() = std::move(source); }

std::vector<FontFamily> cFontsCombo::Families() {
    auto families = familySource() ? familySource()() : defaultFamilies();
    std::stable_sort(families.begin(), families.end(),
                     [](const FontFamily& a, const FontFamily& b) { return a.name < b.name; });
    return families;
}

void cFontsCombo::Attach(Field& list) {
    list.kind = FieldKind::Combo;
    list.items.clear();
    for (const auto& family : Families()) list.items.push_back(family.name);
    list.value = kStartFamily;
}

std::string cFontsCombo::SampleFamily(const FontFamily& family) {
    return family.symbol ? std::string(kStartFamily) : family.name;
}

}  // namespace keltro::framework
