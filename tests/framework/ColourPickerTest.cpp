// The colour picker's table and conversions, and the font picker's families.
#include <gtest/gtest.h>

#include <set>

#include "framework/ColourPicker.h"
#include "framework/ColourTable.h"
#include "framework/FontBar.h"
#include "framework/FontPicker.h"

namespace keltro::framework {
namespace {

TEST(ColourPicker, hexTextBecomesTheColourNumberWithStrayCharactersAsZero) {
    const struct {
        const char* text;
        long colour;
    } cases[] = {
        {"e6e6fa", Rgb(230, 230, 250)},
        {"FFFFFF", Rgb(255, 255, 255)},
        {"000080", Rgb(0, 0, 128)},
        {"ff0000", Rgb(255, 0, 0)},  // red stays in the low byte
        {"0000ff", Rgb(0, 0, 255)},
        {"zz10G1", Rgb(0, 16, 1)},   // not hex: 0
        {"ab", Rgb(171, 0, 0)},      // short: the missing pairs are 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cColorsCombo::HexToColour(c.text), c.colour) << c.text;
        EXPECT_EQ(ColourFromHexText(c.text), c.colour) << c.text;
    }
    EXPECT_EQ(Rgb(230, 230, 250), 0xFAE6E6);
    EXPECT_EQ(cColorsCombo::HexPairValue('f', 'F'), 255);
    EXPECT_EQ(cColorsCombo::HexPairValue('1', '0'), 16);
    EXPECT_EQ(cColorsCombo::HexPairValue('x', '9'), 9);
}

TEST(ColourPicker, tableHasTwoAscendingRunsFromBlackAndFromNavy) {
    const auto& table = colourTable();
    ASSERT_EQ(table.size(), 510u);
    EXPECT_STREQ(table[0].name, "black");
    EXPECT_STREQ(table[254].name, "almostwhite");
    EXPECT_STREQ(table[254].hex, "fffffe");
    EXPECT_STREQ(table[255].name, "navy");
    EXPECT_STREQ(table[509].name, "white");
    std::multiset<std::string> names;
    for (std::size_t i = 0; i < table.size(); ++i) {
        names.insert(table[i].name);
        EXPECT_EQ(std::string(table[i].hex).size(), 6u) << table[i].name;
        if (i == 0 || i == kFirstRunLength) continue;
        EXPECT_LE(std::string(table[i - 1].hex), std::string(table[i].hex)) << "out of order at " << table[i].name;
    }
    // Three names stand in both runs, with the same value; every other name once.
    for (const char* twice : {"slateblue", "darkseagreen", "deeppink"}) {
        EXPECT_EQ(names.count(twice), 2u) << twice;
        std::set<std::string> values;
        for (const auto& c : table)
            if (std::string(c.name) == twice) values.insert(c.hex);
        EXPECT_EQ(values.size(), 1u) << twice;
    }
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 507u);
}

TEST(ColourPicker, namedColoursTheScreensLookUp) {
    const struct {
        const char* name;
        long colour;
    } cases[] = {
        {"lavender", Rgb(230, 230, 250)}, {"gray94", Rgb(240, 240, 240)}, {"gray75", Rgb(191, 191, 191)},
        {"lightcyan3", Rgb(180, 205, 205)}, {"navy", Rgb(0, 0, 128)},     {"almostwhite", Rgb(255, 255, 254)},
    };
    for (const auto& c : cases) EXPECT_EQ(cColorsCombo::ColourNamed(c.name), c.colour) << c.name;
    EXPECT_FALSE(cColorsCombo::ColourNamed("no such colour"));
    EXPECT_EQ(cColorsCombo::ColourOfText("gray94"), Rgb(240, 240, 240));
    EXPECT_EQ(cColorsCombo::ColourOfText("b4cdcd"), Rgb(180, 205, 205));

    Field picker;
    cColorsCombo::Attach(picker);
    ASSERT_EQ(picker.items.size(), 510u);
    EXPECT_EQ(picker.items[0], "000000;black");
    EXPECT_EQ(picker.items[255], "000080;navy");
}

TEST(FontPicker, listsTheInstalledFamiliesByNameAndSamplesSymbolFontsInArial) {
    cFontsCombo::SetFamilySource([] {
        return std::vector<FontFamily>{{"Verdana"}, {"Symbol", true}, {"Arial"}};
    });
    Field picker;
    cFontsCombo::Attach(picker);
    EXPECT_EQ(picker.items, (std::vector<std::string>{"Arial", "Symbol", "Verdana"}));
    EXPECT_EQ(picker.value, "Arial");
    EXPECT_EQ(cFontsCombo::SampleFamily({"Symbol", true}), "Arial");
    EXPECT_EQ(cFontsCombo::SampleFamily({"Verdana"}), "Verdana");
    cFontsCombo::SetFamilySource(nullptr);
    EXPECT_FALSE(cFontsCombo::Families().empty());
}

// The font bar's change goes to every visible column or to the selected ones only.
TEST(FontBar, applyingGoesToVisibleOrSelectedColumnsAndRefusesWhatTheyCannotTake) {
    auto grid = [] {
        Grid g{.name = "dbgrid1"};
        g.columns = {{.caption = "a"}, {.caption = "b", .visible = false}, {.caption = "c"},
                     {.caption = "paid", .checkBox = true, .alignment = 2}};
        g.selectedColumns = {2};
        return g;
    };
    const struct {
        bool all;
        FontProperty property;
        std::string value;
        std::vector<bool> changed;  // per column
    } cases[] = {
        {true, FontProperty::Bold, "1", {true, false, true, true}},
        {false, FontProperty::Bold, "1", {false, false, true, false}},
        {true, FontProperty::Size, "10.5", {true, false, true, true}},
        {true, FontProperty::Size, "big", {false, false, false, false}},
        {true, FontProperty::Colour, "e6e6fa", {true, false, true, true}},
        {true, FontProperty::Colour, "lavender", {true, false, true, true}},
        {true, FontProperty::Colour, "nonsense", {false, false, false, false}},
        {true, FontProperty::Alignment, "1", {true, false, true, false}},  // check boxes stay centred
        {false, FontProperty::Name, "Verdana", {false, false, true, false}},
    };
    for (const auto& c : cases) {
        Grid g = grid();
        const Grid before = g;
        ApplyFontToColumns(g, c.all, c.property, c.value);
        for (std::size_t n = 0; n < g.columns.size(); ++n) {
            const auto& now = g.columns[n];
            const auto& was = before.columns[n];
            const bool changed = now.bold != was.bold || now.fontSize != was.fontSize ||
                                 now.fontColor != was.fontColor || now.alignment != was.alignment ||
                                 now.fontName != was.fontName;
            EXPECT_EQ(changed, c.changed[n]) << c.value << " column " << n;
        }
    }
    Grid g = grid();
    ApplyFontToColumns(g, true, FontProperty::Colour, "e6e6fa");
    EXPECT_EQ(g.columns[0].fontColor, Rgb(230, 230, 250));
    ApplyFontToColumns(g, true, FontProperty::Alignment, "1");
    EXPECT_EQ(g.columns[0].alignment, 1);
    EXPECT_EQ(g.columns[3].alignment, 2);
}

}  // namespace
}  // namespace keltro::framework
