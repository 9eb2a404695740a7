#include "reports/Form_report_format.h"

#include <cctype>
#include <cstdio>

#include "framework/FieldText.h"
#include "framework/FontBar.h"
#include "framework/LookupList.h"
#include "services/DateFormat.h"

namespace keltro::reports {

using framework::FieldKind;
using framework::trimmedText;

namespace {

const std::vector<std::string> kPrintFonts = {"Arial",           "Courier New",      "DejaVu Sans",
                                              "DejaVu Serif",    "Liberation Mono",  "Liberation Sans",
                                              "Liberation Serif", "Times New Roman", "Verdana"};
const std::vector<std::string> kRowHeights = {"12", "14", "16", "18", "20", "22", "24",
                                              "28", "32", "36", "40", "44", "48"};
constexpr const char* kPortrait = "Portrait";
constexpr const char* kLandscape = "Landscape";
constexpr const char* kLetter = "LETTER (8.5x11 in.)";
// What a stored row without a paper shows.
constexpr const char* kStoredLetter = "Letter (8.5x11 in.)";

int hexDigit(char c) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

int hexPair(const std::string& hex, std::size_t at) {
    const auto digit = [&](std::size_t i) { return i < hex.size() ? hexDigit(hex[i]) : 0; };
    return 16 * digit(at) + digit(at + 1);
}

std::string checkText(bool ticked) { return ticked ? "1" : "0"; }

std::string numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::optional<double> numberOf(const std::string& text) {
    const std::string t = trimmedText(text);
    if (t.empty()) return std::nullopt;
    return services::ParseAmountText(t);
}

}  // namespace

const std::vector<std::string>& colourItems() {
    static const std::vector<std::string> items = {
        "000000;black",      "000080;navy",       "0000ff;blue",      "006400;darkgreen",
        "00ff00;green",      "b03060;maroon",     "ff0000;red",       "ffff00;yellow",
        "b4cdcd;lightcyan3", "bfbfbf;gray75",     "e6e6fa;lavender",  "f0f0f0;gray94",
        "ffffe0;lightyellow", "fffffe;almostwhite", "ffffff;white"};
    return items;
}

long HexToColour(const std::string& hex) {
    return hexPair(hex, 0) + 256L * hexPair(hex, 2) + 65536L * hexPair(hex, 4);
}

std::string ColourToHex(long colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", static_cast<unsigned>(colour & 0xFF),
                  static_cast<unsigned>((colour >> 8) & 0xFF), static_cast<unsigned>((colour >> 16) & 0xFF));
    return text;
}

Form_report_format::Form_report_format(std::string reportForm)
    : Screen("Form_report_format", "Report Format"), m_reportForm(std::move(reportForm)) {
    declareFields();
    addCommand({.caption = "&Save", .group = "Page", .buttonText = "Save",
                .action = [this] { save(); }});
    addExitCommand("", "");
}

void Form_report_format::declareFields() {
    std::vector<std::string> papers;
    for (const auto& paper : paperList()) papers.push_back(paper.name);
    const auto combo = [](const char* name, const char* caption, std::vector<std::string> items,
                          std::string value) {
        return framework::Field{.name = name, .kind = FieldKind::Combo, .caption = caption,
                                .value = std::move(value), .items = std::move(items), .group = "Print"};
    };
    const auto text = [](const char* name, const char* caption, const char* value, const char* group) {
        return framework::Field{.name = name, .caption = caption, .value = value, .group = group};
    };
    const auto check = [](const char* name, const char* caption) {
        return framework::Field{.name = name, .kind = FieldKind::Check, .caption = caption,
                                .value = "0", .group = "Print"};
    };
    addField(combo("cmbitfont_print", "Font", kPrintFonts, "Arial"));
    addField(combo("cmbfont_size_print", "Font size", framework::fontSizes(), "10"));
    addField(combo("cmbfont_color", "Font color", colourItems(), "000000"));
    addField(combo("cmbback_color", "Even row color", colourItems(), "f0f0f0"));
    addField(combo("cmbrow_hi", "Row height", kRowHeights, "20"));
    addField(check("chkdisable_even_row", "No even-row color"));
    addField(check("chkbold", "Bold"));
    addField(check("chkuse_grid_font", "Use grid font"));
    addField(check("chkcoldivider", "Column divider"));
    addField(combo("cmbsplit_page", "Split page", {"1", "2", "3", "4"}, "1"));
    for (const auto* name : {"txttop", "txtbottom", "txtleft", "txtright"})
        addField(text(name, name + 3, "10", "Margins (mm)"));
    addField(combo("cmborient", "Orientation", {kPortrait, kLandscape}, kPortrait)).group = "Page";
    addField(combo("cmbpaper", "Paper", papers, kLetter)).group = "Page";
    addField(text("txtwidth", "Width", "8.5", "Page"));
    addField(text("txtheight", "Height", "11", "Page"));
    addField(combo("cmbunit", "Unit", {"mm", "inch"}, "inch")).group = "Page";
}

void Form_report_format::onLoad() {
    if (const auto format = ReadReportFormat(database(), context().KELTRO_USER, m_reportForm))
        showFormat(*format);
}

void Form_report_format::showFormat(const ReportFormat& f) {
    if (f.fontName) setValue("cmbitfont_print", *f.fontName);
    setValue("cmbfont_size_print", numberText(f.fontSize));
    setValue("cmbfont_color", ColourToHex(f.fontColor));
    setValue("cmbback_color", ColourToHex(f.evenRowColor));
    setValue("cmbrow_hi", numberText(f.rowHeight));
    setValue("txttop", numberText(f.topMargin));
    setValue("txtbottom", numberText(f.bottomMargin));
    setValue("txtleft", numberText(f.leftMargin));
    setValue("txtright", numberText(f.rightMargin));
    setValue("chkdisable_even_row", checkText(f.disabledEvenRowColor));
    setValue("chkbold", checkText(f.bold));
    setValue("chkuse_grid_font", checkText(f.useGridFont));
    setValue("chkcoldivider", checkText(f.columnDivider));
    setValue("cmbsplit_page", std::to_string(f.splitPage));
    setValue("cmborient", f.portrait() ? kPortrait : kLandscape);
    if (!f.paperSize) {
        setValue("cmbpaper", kStoredLetter);
        setValue("txtwidth", "8.5");
        setValue("txtheight", "11");
        setValue("cmbunit", "inch");
        return;
    }
    setValue("cmbpaper", *f.paperSize);
    setValue("txtwidth", f.width ? numberText(*f.width) : "");
    setValue("txtheight", f.height ? numberText(*f.height) : "");
    setValue("cmbunit", f.unit.value_or(""));
}

void Form_report_format::onFieldChanged(const std::string& control) {
    if (control == "cmbpaper") paperChosen();
}

void Form_report_format::paperChosen() {
    const Paper* paper = findPaper(value("cmbpaper"));
    if (!paper || value("cmbpaper") == kUserDefinedPaper) return;
    setValue("txtwidth", paper->width);
    setValue("txtheight", paper->height);
    setValue("cmbunit", paper->unit);
}

ReportFormat Form_report_format::formatOfFields() const {
    ReportFormat f;
    const std::string font = trimmedText(value("cmbitfont_print"));
    if (!font.empty()) f.fontName = font;
    f.fontSize = numberOf(value("cmbfont_size_print")).value_or(10);
    f.rowHeight = numberOf(value("cmbrow_hi")).value_or(20);
    f.fontColor = HexToColour(trimmedText(value("cmbfont_color")));
    f.evenRowColor = HexToColour(trimmedText(value("cmbback_color")));
    f.topMargin = numberOf(value("txttop")).value_or(0);
    f.bottomMargin = numberOf(value("txtbottom")).value_or(0);
    f.leftMargin = numberOf(value("txtleft")).value_or(0);
    f.rightMargin = numberOf(value("txtright")).value_or(0);
    f.disabledEvenRowColor = value("chkdisable_even_row") == "1";
    f.bold = value("chkbold") == "1";
    f.useGridFont = value("chkuse_grid_font") == "1";
    f.columnDivider = value("chkcoldivider") == "1";
    f.splitPage = static_cast<int>(numberOf(value("cmbsplit_page")).value_or(1));
    f.orientation = value("cmborient") == kPortrait ? 1 : 2;
    const std::string paper = trimmedText(value("cmbpaper"));
    if (!paper.empty()) f.paperSize = paper;
    f.width = numberOf(value("txtwidth"));
    f.height = numberOf(value("txtheight"));
    const std::string unit = trimmedText(value("cmbunit"));
    if (!unit.empty()) f.unit = unit;
    return f;
}

void Form_report_format::save() {
    if (trimmedText(value("cmbfont_size_print")).empty()) setValue("cmbfont_size_print", "10");
    if (trimmedText(value("cmbrow_hi")).empty()) setValue("cmbrow_hi", "20");
    const ReportFormat format = formatOfFields();
    if (format.rowHeight <= format.fontSize) {
        ui().message("row height must > font size");
        return;
    }
    SaveReportFormat(database(), context().KELTRO_USER, m_reportForm, format);
    ui().message("Save format complete");
}

std::shared_ptr<Form_report_format> OpenPageSetup(const framework::HostContext& context,
                                                  const std::string& reportForm) {
    auto dialog = std::make_shared<Form_report_format>(reportForm);
    dialog->setContext(context);
    dialog->load();
    if (context.showScreen) context.showScreen(dialog);
    return dialog;
}

}  // namespace keltro::reports
