// What the document-entry screens share: a stored document shown read-only, "&New" and
// "&Edit mode" as buttons that stay pressed while a document is entered or edited, and
// "&Save" that saves whichever of the two is under way.
//
// A document screen (invoice, receipt, prepayment, matching …) says only what is its own:
//
//     class ARform_receipt : public framework::DocumentScreen {
//         bool hasStoredDocument() const override;   // may "&Edit mode" start?
//         void beginNew() override;                  // "&New" pressed
//         void leaveNew() override;                  // "&New" released
//         void beginEdit() override;                 // "&Edit mode" pressed
//         void leaveEdit() override;                 // "&Edit mode" released
//         void saveNew() override;  void saveEdit() override;
//         void applyLocks() override;                // what the mode leaves open
//     };
//
// The base keeps the pressed state of both buttons in step with the mode (`enterMode`),
// runs every command through one boundary that turns a database failure into a message
// (`attach`, `guarded`), and gives the helpers every entry screen needs: field values in
// bulk, dates in the user's format and the fiscal period they fall in, exchange rates of
// a currency, the clock, the screen's ledger context.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/Value.h"
#include "framework/FieldText.h"
#include "framework/Screen.h"
#include "services/Balances.h"
#include "services/Clock.h"

namespace keltro::framework {

// Whether `name` is one of `names`.
bool among(const std::vector<std::string>& names, const std::string& name);

class DocumentScreen : public Screen {
public:
    // Shows the document with this number, as the host asks: the number goes into
    // `txtdocno` and the screen looks it up.
    void gotoDocno(const std::string& docnox);

protected:
    DocumentScreen(std::string className, std::string title);

    // --- The command boundary -----------------------------------------------------------
    // Gives the command `caption` its action, run through `guarded`.
    void attach(const std::string& caption, std::function<void()> action);
    // Runs a step, showing a failure of the database or of a rule as a message (and
    // `failure` after it); false when it failed so. A step the person could not take
    // (ScreenError) goes on to the driver.
    bool guarded(const std::function<void()>& step, const std::string& failure = "");

    // --- Mode ---------------------------------------------------------------------------
    // Sets the mode, presses "&New" or "&Edit mode" to match, then applies the locks.
    void enterMode(Mode mode);
    // The locks of the fields and grids in the current mode.
    virtual void applyLocks() = 0;
    // Attaches "&New", "&Edit mode" and "&Save" to the toggles and the save below.
    void attachDocumentCommands();
    // Whether a stored document is on screen, so that "&Edit mode" can start.
    virtual bool hasStoredDocument() const = 0;
    virtual void beginNew() = 0;
    virtual void leaveNew() = 0;
    virtual void beginEdit() = 0;
    virtual void leaveEdit() = 0;
    virtual void saveNew() = 0;
    virtual void saveEdit() = 0;
    // Shows the stored document with this number; says so when there is none.
    virtual void gotoNumber(const std::string& docno) = 0;
    // After a new document failed to save: the number goes back to "** New **" and the
    // keys are cleared; what was typed stays.
    void clearNewNumber();

    // --- Field values -------------------------------------------------------------------
    void applyFields(const FieldValues& values);
    // The date a field shows, in the user's format; nothing when empty or not a date.
    std::optional<db::Date> shownDate(const std::string& control) const;
    // A typed date shown again in the user's format; a refused one empties the field.
    void retypeDate(const std::string& control);
    // Retypes the date of `dateControl` and puts the fiscal year and period it falls in
    // into `cmbfyear` and `cmbperiod`.
    void periodFromDate(const std::string& dateControl);
    std::string shownDateText(const std::optional<db::Date>& date) const;
    // The customer number that a name picked from `cmbcustname` stands for.
    std::optional<std::string> customerOfPickedName() const;
    // Fills `cmbexrate` with the rates of `currency` up to `onOrBefore` (any date when
    // empty), newest first; the base currency has none.
    void fillRateList(const std::string& currency, const std::optional<db::Date>& onOrBefore);
    // A rate picked from `cmbexrate` brings its date into `txtratedate`.
    void takeDateOfPickedRate();
    // "Document no. 12 not found".
    void documentNotFound(const std::string& docno);

    // --- What a save needs --------------------------------------------------------------
    const services::Clock& clock() const;
    // The screen's ledger: the current-earnings account is looked up once per screen.
    services::LedgerContext& ledger();

private:
    void newToggled();
    void editToggled();
    void saveCommand();

    services::SystemClock m_systemClock;  // when the host gives no clock
    std::optional<services::LedgerContext> m_ledger;
};

}  // namespace keltro::framework
