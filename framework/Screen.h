// What every A/R screen is: a named set of fields, grids and commands over the host's
// context, driven by a person through a window or by the headless driver.
//
// A screen is created, handed the host context, then loaded: it reads the user's rights
// for itself, builds its grids from their stored layouts, and runs its own start-up (its
// look-up lists, the last document of its kind). After that everything happens through
// four doors, which the Qt window and `keltro-ar automate` both use:
//
//     screen.enter("txtinvdate", "05/01/2026");            // type into a control, leave it
//     screen.enterCell("dbgrid1", 0, "tax code", "S1");     // type into a grid cell
//     screen.pick("cmbexrate", 0);                          // choose a list item
//     screen.run("&Save");                                  // a menu or toolbar command
//
// Subclasses add their rules by overriding the reactions (`onFieldChanged`, `acceptCell`,
// `onCellChanged`, `onCellClicked`, `onCellDoubleClicked`) and by attaching actions to their commands. A screen
// asks the host for work outside A/R by raising its notification (formx, docnox, arg2).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/FontBar.h"
#include "framework/FormSettings.h"
#include "framework/HostContext.h"
#include "framework/ScreenParts.h"

namespace keltro::framework {

enum class Mode { Browse, New, Edit };

struct Notification {
    std::string formx;
    std::string docnox;
    std::string arg2;
};

struct ScreenRights {
    bool update = true;
    bool print = true;
    bool formDesign = true;
};

class Screen {
public:
    using NotifyHandler = std::function<void(const Notification&)>;

    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // The class name ("ARform_invoice"), which is also the form name of its stored
    // layouts and rights.
    const std::string& className() const { return m_className; }
    const std::string& title() const { return m_title; }

    // The host context, copied in before the screen loads.
    void setContext(const HostContext& context) { m_context = context; }
    const HostContext& context() const { return m_context; }

    // Rights, layouts, then the screen's own start-up.
    void load();
    bool isLoaded() const { return m_loaded; }
    // Saves the grid layouts and closes; a closed screen takes no more steps.
    void close();
    bool isClosed() const { return m_closed; }

    // --- What a person does -------------------------------------------------------
    void enter(const std::string& control, const std::string& text);
    void enterCell(const std::string& grid, std::size_t row, const std::string& column,
                   const std::string& text);
    void clickCell(const std::string& grid, std::size_t row, const std::string& column);
    // A double click on a row (the driver's `click` step with "clicks": 2).
    void doubleClickCell(const std::string& grid, std::size_t row, const std::string& column);
    void pick(const std::string& control, std::size_t index);
    void run(const std::string& caption);

    // --- What a person sees ---------------------------------------------------------
    const std::vector<Field>& fields() const { return m_fields; }
    const std::vector<Grid>& grids() const { return m_grids; }
    const std::vector<Command>& commands() const { return m_commands; }
    const std::vector<SubWindow>& windows() const { return m_windows; }
    // The header's boxes as the screen arranged them (see `arrangeGroups`).
    const std::vector<FieldGroup>& fieldGroups() const { return m_fieldGroups; }
    bool isWindowOpen(const std::string& name) const;
    // The person closed one of the screen's windows.
    void closeWindow(const std::string& name);
    bool hasField(const std::string& name) const;
    const Field& field(const std::string& name) const;
    const Grid& grid(const std::string& name) const;
    const Command& command(const std::string& caption) const;
    Mode mode() const { return m_mode; }
    const std::string& statusText() const { return m_status; }
    const ScreenRights& rights() const { return m_rights; }
    // The person's toolbar preferences as the screen holds them now.
    FormProperties formProperties() const;
    // Every other grid row coloured (the shared setting).
    bool evenRowsColoured() const { return m_evenRows; }
    // The grid the font bar works on; empty when the screen has none.
    const std::string& fontBarGrid() const { return m_fontBarGrid; }

    // The view's own changes: a grid column dragged or resized, which the layout keeps.
    Grid& gridForView(const std::string& name) { return mutableGrid(name); }

    // --- Notification and observers ---------------------------------------------------
    void setNotifyHandler(NotifyHandler handler) { m_notify = std::move(handler); }
    // Called after every step, so that a window can redraw.
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }
    void setClosedHandler(std::function<void()> handler) { m_closedHandler = std::move(handler); }
    // Tells the window to redraw after a change made from outside a person's step (the
    // host's go-to and switch calls).
    void notifyChanged() { changed(); }

protected:
    Screen(std::string className, std::string title);

    // --- Declaring the screen (in the subclass's constructor) --------------------------
    Field& addField(Field field);
    Grid& addGrid(Grid grid);
    Command& addCommand(Command command);
    void addWindow(const std::string& name);
    // Puts the named fields into the header's boxes, which show them in this order.
    void arrangeGroups(const std::vector<FieldGroup>& groups);
    // The standard "&Exit" and help commands.
    Command& addExitCommand(const std::string& menu, const std::string& toolbar = "Exit");
    Command& addHelpCommand(const std::string& caption, const std::string& pdfFile);

    // --- Reactions (defaults do nothing / accept) --------------------------------------
    virtual void onLoad() {}
    virtual void onFieldChanged(const std::string& /*control*/) {}
    // Checks a value before a cell takes it; false refuses it (after a message).
    virtual bool acceptCell(const std::string& /*grid*/, std::size_t /*row*/,
                            const std::string& /*column*/, const std::string& /*text*/) {
        return true;
    }
    virtual void onCellChanged(const std::string& /*grid*/, std::size_t /*row*/,
                               const std::string& /*column*/) {}
    virtual void onCellClicked(const std::string& /*grid*/, std::size_t /*row*/,
                               const std::string& /*column*/) {}
    virtual void onCellDoubleClicked(const std::string& /*grid*/, std::size_t /*row*/,
                                     const std::string& /*column*/) {}
    virtual void onClose() {}

    // --- Helpers for subclasses ---------------------------------------------------------
    Field& mutableField(const std::string& name);
    Grid& mutableGrid(const std::string& name);
    Command& mutableCommand(const std::string& caption);
    void setValue(const std::string& control, const std::string& text);
    const std::string& value(const std::string& control) const { return field(control).value; }
    void setLocked(const std::string& control, bool locked);
    // Every text, combo and rich-text field but the font bar's becomes read-only (and
    // takes the read-only look), or editable again.
    void LockFields();
    void UnlockFields();
    void openWindow(const std::string& name);
    void setMode(Mode mode) { m_mode = mode; }
    void setStatus(std::string text) { m_status = std::move(text); }
    void raiseNotification(const std::string& formx, const std::string& docnox,
                           const std::string& arg2);
    services::Ui& ui() const;
    db::Database& database() const;
    // The help file under the installation folder, with "/" as separator.
    std::string helpFilePath(const std::string& pdfFile) const;

private:
    SubWindow& window(const std::string& name);
    void loadRights();
    void ensureOpen(const std::string& step) const;
    // Open, and the grid has the row.
    void ensureRow(const std::string& step, const std::string& gridName, std::size_t row);
    void changed();
    // The font bar and the option switches (ScreenFontBar.cpp).
    void addFontBar();
    void attachFontBarActions();
    void applyFontBarField(const std::string& control);
    void fieldChanged(const std::string& control);
    void workIn(Grid& grid, const std::string& column);
    void applyFont(FontProperty property, const std::string& value);
    void loadFormSettings();
    void saveFormSettings();
    std::string layoutFormOf(const Grid& grid) const;

    std::string m_className;
    std::string m_title;
    HostContext m_context;
    std::vector<Field> m_fields;
    std::vector<Grid> m_grids;
    std::vector<Command> m_commands;
    std::vector<SubWindow> m_windows;
    std::vector<FieldGroup> m_fieldGroups;
    Mode m_mode = Mode::Browse;
    std::string m_status;
    ScreenRights m_rights;
    bool m_evenRows = true;
    bool m_fontBarShown = true;
    std::string m_fontBarGrid;
    bool m_loaded = false;
    bool m_closed = false;
    NotifyHandler m_notify;
    std::function<void()> m_changed;
    std::function<void()> m_closedHandler;
};

}  // namespace keltro::framework
