#include "framework/Screen.h"

#include <algorithm>

#include "framework/FontBarTarget.h"
#include "framework/GridLayout.h"
#include "services/UserRights.h"

namespace keltro::framework {

namespace {

template <class T, class Key>
auto findByName(std::vector<T>& items, const Key& key) {
    return std::find_if(items.begin(), items.end(), [&](const T& item) { return item.name == key; });
}

// The first column of a list item ("1001;O'Brien Hardware" gives "1001").
std::string firstColumn(const std::string& item) { return item.substr(0, item.find(';')); }

}  // namespace

Screen::Screen(std::string className, std::string title)
    : m_className(std::move(className)), m_title(std::move(title)) {}

void Screen::load() {
    loadRights();
    addFontBar();
    loadFormSettings();
    for (auto& grid : m_grids) {
        if (!m_context.abcdb) break;
        try {
            LoadGridLayout(*m_context.abcdb, layoutFormOf(grid), grid);
        } catch (const db::DbError&) {
            // A layout that cannot be read leaves the grid without columns.
        }
    }
    m_loaded = true;
    onLoad();
    changed();
}

void Screen::loadRights() {
    if (!m_context.abcdb) return;
    const auto rights = services::GetUserRights(*m_context.abcdb, m_className, m_context.KELTRO_USER);
    m_rights = {rights.update, rights.print, rights.form_design};
}

void Screen::close() {
    if (m_closed) return;
    if (m_context.abcdb) {
        for (const auto& grid : m_grids)
            if (!grid.layoutIsBorrowed) SaveGridLayout(*m_context.abcdb, layoutFormOf(grid), grid);
        saveFormSettings();
    }
    onClose();
    m_closed = true;
    if (m_closedHandler) m_closedHandler();
}

void Screen::ensureOpen(const std::string& step) const {
    if (m_closed) throw ScreenError(m_className + " is closed: cannot " + step);
}

void Screen::changed() {
    if (m_changed) m_changed();
}

// --- Declaring ------------------------------------------------------------------------

Field& Screen::addField(Field field) {
    m_fields.push_back(std::move(field));
    return m_fields.back();
}

Grid& Screen::addGrid(Grid grid) {
    m_grids.push_back(std::move(grid));
    return m_grids.back();
}

Command& Screen::addCommand(Command command) {
    m_commands.push_back(std::move(command));
    return m_commands.back();
}

void Screen::addWindow(const std::string& name) { m_windows.push_back({.name = name}); }

void Screen::arrangeGroups(const std::vector<FieldGroup>& groups) {
    for (const auto& group : groups) {
        m_fieldGroups.push_back(group);
        for (const auto& name : group.fields) mutableField(name).group = group.name;
    }
}

SubWindow& Screen::window(const std::string& name) {
    for (auto& w : m_windows)
        if (w.name == name) return w;
    throw ScreenError(m_className + " has no window " + name);
}

bool Screen::isWindowOpen(const std::string& name) const {
    for (const auto& w : m_windows)
        if (w.name == name) return w.open;
    return false;
}

void Screen::openWindow(const std::string& name) { window(name).open = true; }

void Screen::closeWindow(const std::string& name) {
    window(name).open = false;
    changed();
}

Command& Screen::addExitCommand(const std::string& menu, const std::string& toolbar) {
    return addCommand({.menu = menu, .caption = "&Exit", .toolbar = toolbar,
                       .action = [this] { close(); }});
}

Command& Screen::addHelpCommand(const std::string& caption, const std::string& pdfFile) {
    const std::string title = pdfFile.substr(0, pdfFile.rfind('.'));
    return addCommand({.menu = "&Help", .caption = caption, .action = [this, pdfFile, title] {
                           raiseNotification("pdf viewer", helpFilePath(pdfFile), title);
                       }});
}

std::string Screen::helpFilePath(const std::string& pdfFile) const {
    std::string folder = m_context.KELTRO_PATH;
    std::replace(folder.begin(), folder.end(), '\\', '/');
    while (!folder.empty() && folder.back() == '/') folder.pop_back();
    return folder + "/Help/" + pdfFile;
}

// --- Finding parts ----------------------------------------------------------------------

bool Screen::hasField(const std::string& name) const {
    return std::any_of(m_fields.begin(), m_fields.end(), [&](const Field& f) { return f.name == name; });
}

const Field& Screen::field(const std::string& name) const {
    return const_cast<Screen*>(this)->mutableField(name);
}

Field& Screen::mutableField(const std::string& name) {
    auto it = findByName(m_fields, name);
    if (it == m_fields.end()) throw ScreenError(m_className + " has no control \"" + name + "\"");
    return *it;
}

const Grid& Screen::grid(const std::string& name) const {
    return const_cast<Screen*>(this)->mutableGrid(name);
}

Grid& Screen::mutableGrid(const std::string& name) {
    auto it = findByName(m_grids, name);
    if (it == m_grids.end()) throw ScreenError(m_className + " has no grid \"" + name + "\"");
    return *it;
}

const Command& Screen::command(const std::string& caption) const {
    return const_cast<Screen*>(this)->mutableCommand(caption);
}

Command& Screen::mutableCommand(const std::string& caption) {
    auto it = std::find_if(m_commands.begin(), m_commands.end(), [&](const Command& c) {
        return c.caption == caption || (!c.toolbar.empty() && c.toolbar == caption);
    });
    if (it == m_commands.end())
        throw ScreenError(m_className + " has no command \"" + caption + "\"");
    return *it;
}

void Screen::setValue(const std::string& control, const std::string& text) {
    mutableField(control).value = text;
}

void Screen::setLocked(const std::string& control, bool locked) { mutableField(control).locked = locked; }

// --- What a person does -------------------------------------------------------------------

void Screen::enter(const std::string& control, const std::string& text) {
    ensureOpen("type into " + control);
    Field& f = mutableField(control);
    if (f.locked || f.kind == FieldKind::Label)
        throw ScreenError(m_className + "." + control + " is read-only");
    f.value = text;
    fieldChanged(control);
    changed();
}

void Screen::pick(const std::string& control, std::size_t index) {
    ensureOpen("pick from " + control);
    Field& f = mutableField(control);
    if (f.locked) throw ScreenError(m_className + "." + control + " is read-only");
    if (index >= f.items.size())
        throw ScreenError(m_className + "." + control + " has no item " + std::to_string(index) +
                          " (it lists " + std::to_string(f.items.size()) + ")");
    f.value = firstColumn(f.items[index]);
    fieldChanged(control);
    changed();
}

// The font bar's pickers are the base's; every other field is the screen's.
void Screen::fieldChanged(const std::string& control) {
    if (isFontBarField(control))
        applyFontBarField(control);
    else
        onFieldChanged(control);
}

// The font bar follows the grid the person works in (see `TakesFontBar`), and a
// click chooses the clicked column unless it is among those already selected.
void Screen::workIn(Grid& g, const std::string& column) {
    if (TakesFontBar(g, m_windows)) m_fontBarGrid = g.name;
    const auto shown = std::find_if(g.columns.begin(), g.columns.end(),
                                    [&](const GridColumn& c) { return c.caption == column; });
    if (shown == g.columns.end()) return;
    const auto n = static_cast<std::size_t>(shown - g.columns.begin());
    if (std::find(g.selectedColumns.begin(), g.selectedColumns.end(), n) == g.selectedColumns.end())
        g.selectedColumns = {n};
}

void Screen::enterCell(const std::string& gridName, std::size_t row, const std::string& column,
                       const std::string& text) {
    ensureOpen("type into " + gridName);
    Grid& g = mutableGrid(gridName);
    if (std::find(g.declaredCaptions.begin(), g.declaredCaptions.end(), column) ==
        g.declaredCaptions.end())
        throw ScreenError(m_className + "." + gridName + " has no column \"" + column + "\"");
    const auto shown = std::find_if(g.columns.begin(), g.columns.end(),
                                    [&](const GridColumn& c) { return c.caption == column; });
    if (g.locked || (shown != g.columns.end() && shown->locked))
        throw ScreenError(m_className + "." + gridName + " column \"" + column + "\" is read-only");
    if (row > g.rows.size())
        throw ScreenError(m_className + "." + gridName + " has no row " + std::to_string(row));
    if (!acceptCell(gridName, row, column, text)) {
        changed();
        return;
    }
    workIn(g, column);
    if (row == g.rows.size()) g.rows.emplace_back();
    g.rows[row][column] = text;
    onCellChanged(gridName, row, column);
    changed();
}

void Screen::clickCell(const std::string& gridName, std::size_t row, const std::string& column) {
    ensureRow("click into", gridName, row);
    workIn(mutableGrid(gridName), column);
    onCellClicked(gridName, row, column);
    changed();
}

void Screen::doubleClickCell(const std::string& gridName, std::size_t row,
                             const std::string& column) {
    ensureRow("double-click into", gridName, row);
    onCellDoubleClicked(gridName, row, column);
    changed();
}

void Screen::ensureRow(const std::string& step, const std::string& gridName, std::size_t row) {
    ensureOpen(step + " " + gridName);
    if (row >= mutableGrid(gridName).rows.size())
        throw ScreenError(m_className + "." + gridName + " has no row " + std::to_string(row));
}

void Screen::run(const std::string& caption) {
    ensureOpen("run " + caption);
    Command& c = mutableCommand(caption);
    // Without the right, the command does nothing.
    if ((c.needs == Right::Update && !m_rights.update) || (c.needs == Right::Print && !m_rights.print))
        return;
    if (!c.enabled) return;
    if (c.checkable) c.checked = !c.checked;
    if (c.action) c.action();
    changed();
}

// --- Talking to the host ------------------------------------------------------------------

void Screen::raiseNotification(const std::string& formx, const std::string& docnox,
                               const std::string& arg2) {
    if (m_notify) m_notify({formx, docnox, arg2});
}

services::Ui& Screen::ui() const {
    if (!m_context.ui) throw ScreenError(m_className + " has no user interface to speak through");
    return *m_context.ui;
}

db::Database& Screen::database() const {
    if (!m_context.abcdb) throw ScreenError(m_className + " has no database");
    return *m_context.abcdb;
}

}  // namespace keltro::framework
