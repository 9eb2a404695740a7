#include "framework/FormSettings.h"

#include <algorithm>
#include <cctype>

#include "framework/ColourPicker.h"

namespace keltro::framework {

namespace {

constexpr const char* kFormRow = "SELECT * FROM Form_property_table WHERE userid = ? AND form = ?";
constexpr const char* kEvenRowSetting = "evenrow_color";

long named(const char* name) { return cColorsCombo::ColourNamed(name).value_or(Rgb(255, 255, 255)); }

bool startsWith(const std::string& upper, const char* prefix) { return upper.rfind(prefix, 0) == 0; }

}  // namespace

const ThemeColours& SetThemeColours() {
    static const ThemeColours colours{
        .fontBarBack = Rgb(192, 192, 255),
        .lavender = named("lavender"),
        .highlight = Rgb(220, 220, 255),
        .gray94 = named("gray94"),
        .lightPanel = Rgb(230, 230, 245),
        .grey = named("gray75"),
        .cyan = named("lightcyan3"),
        .textNavy = named("navy"),
        .panelKhaki = Rgb(230, 230, 190),
        .panelCream = Rgb(240, 240, 200),
    };
    return colours;
}

ControlKind KindOfControl(const std::string& name) {
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (startsWith(upper, "LABEL") || startsWith(upper, "XPLAB")) return ControlKind::Label;
    if (startsWith(upper, "CHK") || startsWith(upper, "OPT")) return ControlKind::CheckOrOption;
    if (startsWith(upper, "TXT")) return ControlKind::Text;
    if (startsWith(upper, "CMB")) return ControlKind::Combo;
    if (startsWith(upper, "RBOX")) return ControlKind::RichText;
    if (startsWith(upper, "DD")) return ControlKind::DropDownGrid;
    if (startsWith(upper, "DC")) return ControlKind::DataControl;
    return ControlKind::Other;
}

ControlStyle StyleOfControl(const std::string& name, const std::string& screenFontName,
                            const std::string& screenFontSize) {
    const long black = Rgb(0, 0, 0);
    switch (KindOfControl(name)) {
    case ControlKind::Label:
        return {.gradientFrom = Rgb(250, 255, 230), .gradientTo = Rgb(240, 240, 250)};
    case ControlKind::CheckOrOption: return {.fontName = "Arial", .foreColor = black};
    case ControlKind::Text:
        return {.fontName = screenFontName, .fontSize = screenFontSize, .foreColor = black,
                .borderHighlight = Rgb(250, 0, 0)};
    case ControlKind::Combo:
        return {.fontName = screenFontName, .fontSize = screenFontSize, .foreColor = black};
    default: return {};
    }
}

bool IsLockableControl(const std::string& name) {
    const ControlKind kind = KindOfControl(name);
    return kind == ControlKind::Text || kind == ControlKind::Combo || kind == ControlKind::RichText;
}

bool LoadFormProperties(db::Database& db, const std::string& user, const std::string& form,
                        FormProperties& properties) {
    const auto row = db.queryOne(kFormRow, {user, form});
    if (!row) return false;
    properties.toolbarText = (*row)["toolbar_text"].booleanOr(false);
    if (auto shown = (*row)["Fontbar"].boolean()) properties.fontBarShown = *shown;
    return true;
}

void SaveFormProperties(db::Database& db, const std::string& user, const std::string& form,
                        const FormProperties& properties) {
    if (!db.queryOne(kFormRow, {user, form})) return;
    db.execute("UPDATE Form_property_table SET toolbar_text = ?, Fontbar = ? WHERE userid = ? AND form = ?",
               {properties.toolbarText, properties.fontBarShown, user, form});
}

bool EvenRowsColoured(db::Database& db) {
    const auto row = db.queryOne("SELECT * FROM [Recent_value_table] WHERE control_name = ?", {kEvenRowSetting});
    if (!row) return true;
    return (*row)["Value"].textOr("1") != "0";
}

void SetEvenRowColour(db::Database& db, bool on) {
    db.execute("UPDATE [Recent_value_table] SET [Value] = ? WHERE control_name = ?",
               {on ? "1" : "0", kEvenRowSetting});
}

long RowBackColour(std::size_t row, bool evenRowsColoured) {
    const bool even = row % 2 == 1;  // the second, fourth … row
    return even && evenRowsColoured ? SetThemeColours().gray94 : Rgb(255, 255, 255);
}

}  // namespace keltro::framework
