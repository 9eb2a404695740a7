// What the Qt views add to the font bar's two pickers: the installed font families from
// the font database (with symbol fonts told apart) and the drawing of the items, a colour
// swatch beside each colour's name and a sample beside each family's name.
#pragma once

class QComboBox;

namespace keltro::ui {

class MultiColumnCombo;

// Makes the font picker list the display's families; called once before screens load.
void InstallFontFamilies();

// Puts a swatch of each item's colour before its hex value.
void DecorateColourPicker(MultiColumnCombo& combo);
// Draws each family's name followed by "AbCdEfGhIj" in that family (in "Arial" for a
// symbol font).
void DecorateFontPicker(MultiColumnCombo& combo);

}  // namespace keltro::ui
