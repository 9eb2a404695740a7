#include "framework/DocumentScreen.h"

#include <algorithm>

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "services/FiscalPeriod.h"

namespace keltro::framework {

bool among(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

DocumentScreen::DocumentScreen(std::string className, std::string title)
    : Screen(std::move(className), std::move(title)) {}

// --- The command boundary -------------------------------------------------------------

void DocumentScreen::attach(const std::string& caption, std::function<void()> action) {
    mutableCommand(caption).action = [this, action = std::move(action)] { guarded(action); };
}

bool DocumentScreen::guarded(const std::function<void()>& step, const std::string& failure) {
    try {
        step();
        return true;
    } catch (const ScreenError&) {
        throw;  // a step the person could not take: the driver reports it
    } catch (const std::exception& e) {
        ui().message(e.what());
        if (!failure.empty()) ui().message(failure);
        return false;
    }
}

void DocumentScreen::gotoDocno(const std::string& docnox) {
    setValue("txtdocno", docnox);
    guarded([&] { gotoNumber(docnox); });
}

// --- Mode -----------------------------------------------------------------------------

void DocumentScreen::enterMode(Mode mode) {
    setMode(mode);
    mutableCommand("&New").checked = mode == Mode::New;
    mutableCommand("&Edit mode").checked = mode == Mode::Edit;
    applyLocks();
}

void DocumentScreen::attachDocumentCommands() {
    attach("&New", [this] { newToggled(); });
    attach("&Edit mode", [this] { editToggled(); });
    attach("&Save", [this] { saveCommand(); });
}

// "&New" does nothing while a document is edited; pressed it starts a new document,
// released it leaves the one being entered.
void DocumentScreen::newToggled() {
    Command& command = mutableCommand("&New");
    if (mode() == Mode::Edit) {
        command.checked = false;
        return;
    }
    if (command.checked) return beginNew();
    leaveNew();
}

// "&Edit mode" needs a stored document on screen and no new one under way.
void DocumentScreen::editToggled() {
    Command& command = mutableCommand("&Edit mode");
    if (mode() == Mode::New || !hasStoredDocument()) {
        command.checked = false;
        return;
    }
    if (command.checked) return beginEdit();
    leaveEdit();
}

void DocumentScreen::saveCommand() {
    if (mode() == Mode::New) return saveNew();
    if (mode() == Mode::Edit) saveEdit();
}

void DocumentScreen::clearNewNumber() {
    setValue("txtdocno", kNewDocumentNo);
    setValue("txtfkey", "");
    if (hasField("txtglfkey")) setValue("txtglfkey", "");
}

// --- Field values ----------------------------------------------------------------------

void DocumentScreen::applyFields(const FieldValues& values) {
    for (const auto& [control, text] : values) setValue(control, text);
}

std::optional<db::Date> DocumentScreen::shownDate(const std::string& control) const {
    return dateOfText(value(control), context().KELTRO_DATE_FORMAT);
}

std::string DocumentScreen::shownDateText(const std::optional<db::Date>& date) const {
    return dateText(date, context().KELTRO_DATE_FORMAT);
}

void DocumentScreen::retypeDate(const std::string& control) {
    setValue(control, retypedDate(ui(), value(control), context().KELTRO_DATE_FORMAT));
}

void DocumentScreen::periodFromDate(const std::string& dateControl) {
    retypeDate(dateControl);
    const auto date = shownDate(dateControl);
    const auto period = date ? services::FiscalPeriodOfDate(database(), ui(), *date) : std::nullopt;
    if (!period) return;
    setValue("cmbfyear", period->fyear);
    setValue("cmbperiod", std::to_string(period->period));
}

std::optional<std::string> DocumentScreen::customerOfPickedName() const {
    return ItemColumnWhere(field("cmbcustname").items, 0, value("cmbcustname"), 1);
}

void DocumentScreen::fillRateList(const std::string& currency,
                                  const std::optional<db::Date>& onOrBefore) {
    auto& rates = mutableField("cmbexrate").items;
    rates.clear();
    if (currency.empty() || currency == context().BASE_CURRENCY) return;
    rates = lists::exchangeRates(database(), currency, onOrBefore,
                                 [this](const db::Date& d) { return shownDateText(d); });
}

void DocumentScreen::takeDateOfPickedRate() {
    const std::string rate = trimmedText(value("cmbexrate"));
    setValue("cmbexrate", rate);
    if (const auto date = ItemColumnWhere(field("cmbexrate").items, 0, rate, 1))
        setValue("txtratedate", *date);
}

void DocumentScreen::documentNotFound(const std::string& docno) {
    ui().message("Document no. " + docno + " not found");
}

// --- What a save needs -----------------------------------------------------------------

const services::Clock& DocumentScreen::clock() const {
    return context().clock ? *context().clock : m_systemClock;
}

services::LedgerContext& DocumentScreen::ledger() {
    if (!m_ledger) m_ledger.emplace(database(), ui());
    return *m_ledger;
}

}  // namespace keltro::framework
