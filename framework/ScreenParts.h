// The parts a screen is made of, as plain values: fields (the controls a person types
// into or reads), grids (rows of cells keyed by column caption) and commands (the menu
// and toolbar entries, invoked by their exact captions).
//
// A screen declares its parts once; the Qt window draws them and the headless driver
// reads and drives them, so both see the same screen.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace keltro::framework {

enum class FieldKind {
    Text,       // one line of text
    MultiLine,  // several lines (addresses, remarks)
    Date,       // a date typed in the user's date format
    Combo,      // a drop-down list, possibly with several columns (see `columnSpec`)
    Check,      // a check box: "0" or "1", and "2" (grey) where `triState`
    Option,     // an option (radio) button: "0" or "1"
    Label,      // a caption that shows a value but takes no typing
};

struct Field {
    std::string name;     // the control's name: "txtdocno", "cmbcustno" …
    FieldKind kind = FieldKind::Text;
    std::string caption;  // the label shown beside it
    std::string value;    // the text as shown
    bool locked = false;  // read-only for the person
    bool visible = true;
    bool triState = false;
    std::string columnSpec;          // "0;1500;^;Customer no|1;3000;<;Name"
    std::vector<std::string> items;  // list items, columns joined by ";"
    std::string page;                // the tab page or window it lies on; empty: the header
    std::string group;               // the box of the header it stands in ("Customer"); empty: the first
    bool footer = false;             // below the grid, always in sight (totals)
    // Text and background colours as the suite stores colours (0xBBGGRR); empty: the
    // view's own. A screen sets them to mark a state ("white on red").
    std::optional<long> foreColor;
    std::optional<long> backColor;
};

// A grid column as the stored layout gives it.
struct GridColumn {
    std::string caption;
    bool visible = true;
    bool locked = false;
    bool checkBox = false;
    int width = 1440;       // twips
    int alignment = -1;     // 0 left, 1 right, 2 centre, -1 the default
    std::string fontName;   // empty: the grid's default
    double fontSize = 0;    // 0: the grid's default
    bool bold = false, italic = false, underline = false;
    std::optional<long> fontColor;
    int displayPosition = -1;  // where the person dragged it; -1: at its own place
};

using GridRow = std::map<std::string, std::string>;

// A look the rows of a grid take when their cell in `column` says "TRUE": unapplied cash
// among the documents a receipt applies is drawn in "Deposit_style".
struct GridRowStyle {
    std::string name;    // "Deposit_style"
    std::string column;  // "deposit"
    std::optional<long> foreColor;  // 0xBBGGRR, as fields' colours
    std::optional<long> backColor;
    bool italic = false;
};

// A box of a screen's header with the fields it holds, in order (see `Field::group`).
struct FieldGroup {
    std::string name;
    std::vector<std::string> fields;
};

// A window of the screen's own that some of its fields and grids lie on (their `page` is
// its name): the tax windows, the address window. A command opens it; the person closes it.
struct SubWindow {
    std::string name;   // "Tax Details Window"
    bool open = false;
};

struct Grid {
    std::string name;                           // "dbgrid1"
    std::string layoutForm;                     // whose stored layout it takes (usually the screen's)
    bool layoutIsBorrowed = false;              // another screen's layout: read, never written
    std::vector<std::string> declaredCaptions;  // the columns the screen works with
    std::vector<GridColumn> columns;            // the columns shown, from the stored layout
    int rowHeight = 285;                        // twips
    std::vector<GridRow> rows;
    // The columns the person selected (by position in `columns`), which the font bar
    // changes on "selected columns".
    std::vector<std::size_t> selectedColumns;
    bool locked = false;                        // no typing at all (report grids)
    std::string page;                           // tab page or window; empty: the body
    std::vector<GridRowStyle> rowStyles;
    // The columns whose cells pick from a list, with their list's column spec, and the
    // list's items (filled by the screen when it loads).
    std::map<std::string, std::string> lookupColumns;
    std::map<std::string, std::vector<std::string>> lookupItems;
};

enum class Right { None, Update, Print };

struct Command {
    std::string menu;        // "&File"; empty: toolbar only
    std::string caption;     // "&Save"
    std::string toolbar;     // the toolbar button's caption ("Save"); empty: menu only
    bool checkable = false;  // a button that stays pressed ("&New", "&Edit mode")
    bool checked = false;
    bool enabled = true;
    Right needs = Right::None;
    // Where it also stands as a push button: a tab page or window (`page`) and a box of
    // the header (`group`), as fields do; both empty: menu and toolbar only. The button
    // shows `buttonText`, else the caption.
    std::string page;
    std::string group;
    std::string buttonText;
    std::function<void()> action;
};

// A step a person could not take: an unknown control, grid, column or command, or
// typing into a read-only field. The driver reports it as an error event.
class ScreenError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace keltro::framework
