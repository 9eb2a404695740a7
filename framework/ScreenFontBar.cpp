// The parts of the screen base that every screen with a grid shares: the font bar, the
// option switches and the form settings read at load and written at close.
#include <algorithm>

#include "framework/FontBarTarget.h"
#include "framework/GridLayout.h"
#include "framework/Screen.h"

namespace keltro::framework {

namespace {

constexpr const char* kShowTextBelowIcon = "&Show Text below Icon";
constexpr const char* kFontBarSwitch = "&Font Bar";
constexpr const char* kEvenRowSwitch = "&Even Row Colour";

struct FieldProperty {
    const char* control;
    FontProperty property;
};
constexpr FieldProperty kPickers[] = {{"cmbitfont", FontProperty::Name},
                                      {"cmbfont_size", FontProperty::Size},
                                      {"cmbitcolor", FontProperty::Colour}};

}  // namespace

std::string Screen::layoutFormOf(const Grid& grid) const {
    return grid.layoutForm.empty() ? m_className : grid.layoutForm;
}

// Screens that still declare the bar themselves keep theirs; the rest get it here.
void Screen::addFontBar() {
    if (m_grids.empty()) return;
    const auto own = std::find_if(m_grids.begin(), m_grids.end(), [this](const Grid& g) { return TakesFontBar(g, m_windows); });
    if (m_fontBarGrid.empty()) m_fontBarGrid = (own != m_grids.end() ? *own : m_grids.front()).name;
    for (auto& f : fontBarFields())
        if (!hasField(f.name)) addField(std::move(f));
    auto declared = [this](const std::string& caption) {
        return std::any_of(m_commands.begin(), m_commands.end(),
                           [&](const Command& c) { return c.caption == caption; });
    };
    for (auto& c : fontBarCommands())
        if (!declared(c.caption)) addCommand(std::move(c));
    if (!declared(kFontBarSwitch))
        addCommand({.menu = "&Option", .caption = kFontBarSwitch, .checkable = true, .checked = true});
    if (!declared(kEvenRowSwitch))
        addCommand({.menu = "&Option", .caption = kEvenRowSwitch, .checkable = true, .checked = true});
    attachFontBarActions();
}

void Screen::attachFontBarActions() {
    auto attach = [this](const char* caption, std::function<void()> action) {
        mutableCommand(caption).action = std::move(action);
    };
    auto toggle = [this](const char* caption, FontProperty property) {
        return [this, caption, property] {
            applyFont(property, command(caption).checked ? "1" : "0");
        };
    };
    attach("Save Font", [this] {
        const Grid& g = grid(m_fontBarGrid);
        SaveGridFonts(database(), layoutFormOf(g), g);
        ui().message("save font complete");
    });
    attach("Restore Font", [this] {
        Grid& g = mutableGrid(m_fontBarGrid);
        RestoreGridFonts(database(), layoutFormOf(g), g);
    });
    attach("&Font Name", [this] { applyFontBarField("cmbitfont"); });
    attach("&Font Size", [this] { applyFontBarField("cmbfont_size"); });
    attach("&Font Color", [this] { applyFontBarField("cmbitcolor"); });
    attach("Bold", toggle("Bold", FontProperty::Bold));
    attach("Italic", toggle("Italic", FontProperty::Italic));
    attach("Underline", toggle("Underline", FontProperty::Underline));
    attach("Align Left", [this] { applyFont(FontProperty::Alignment, "0"); });
    attach("Align Center", [this] { applyFont(FontProperty::Alignment, "2"); });
    attach("Align Right", [this] { applyFont(FontProperty::Alignment, "1"); });
    attach(kFontBarSwitch, [this] { m_fontBarShown = command(kFontBarSwitch).checked; });
    attach(kEvenRowSwitch, [this] {
        m_evenRows = command(kEvenRowSwitch).checked;
        if (m_context.abcdb) SetEvenRowColour(*m_context.abcdb, m_evenRows);
    });
}

// A picker's choice goes to the chosen columns at once, as its button does.
void Screen::applyFontBarField(const std::string& control) {
    for (const auto& picker : kPickers)
        if (control == picker.control) applyFont(picker.property, value(control));
}

void Screen::applyFont(FontProperty property, const std::string& text) {
    if (m_fontBarGrid.empty()) return;
    ApplyFontToColumns(mutableGrid(m_fontBarGrid), value("cmbselcol") == kAllColumns, property, text);
}

FormProperties Screen::formProperties() const {
    FormProperties p;
    if (auto it = std::find_if(m_commands.begin(), m_commands.end(),
                               [](const Command& c) { return c.caption == kShowTextBelowIcon; });
        it != m_commands.end())
        p.toolbarText = it->checked;
    p.fontBarShown = m_fontBarShown;
    return p;
}

void Screen::loadFormSettings() {
    if (!m_context.abcdb) return;
    db::Database& db = *m_context.abcdb;
    FormProperties p = formProperties();
    if (LoadFormProperties(db, m_context.KELTRO_USER, m_className, p)) {
        for (auto& c : m_commands)
            if (c.caption == kShowTextBelowIcon) c.checked = p.toolbarText;
        m_fontBarShown = p.fontBarShown;
    }
    m_evenRows = EvenRowsColoured(db);
    for (auto& c : m_commands) {
        if (c.caption == kFontBarSwitch) c.checked = m_fontBarShown;
        if (c.caption == kEvenRowSwitch) c.checked = m_evenRows;
    }
}

void Screen::saveFormSettings() {
    if (m_context.abcdb) SaveFormProperties(*m_context.abcdb, m_context.KELTRO_USER, m_className, formProperties());
}

void Screen::LockFields() {
    for (auto& f : m_fields)
        if (IsLockableControl(f.name) && !isFontBarField(f.name)) f.locked = true;
}

void Screen::UnlockFields() {
    for (auto& f : m_fields)
        if (IsLockableControl(f.name) && !isFontBarField(f.name)) f.locked = false;
}

}  // namespace keltro::framework
