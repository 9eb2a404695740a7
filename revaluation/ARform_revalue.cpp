#include "revaluation/ARform_revalue.h"

#include <algorithm>
#include <cstdlib>

#include "framework/FieldText.h"
#include "framework/LookupList.h"
#include "framework/StandardCommands.h"
#include "reports/Form_report_format.h"
#include "reports/ReportCommands.h"
#include "revaluation/RevaluationDisplay.h"
#include "revaluation/RevaluationSave.h"
#include "services/FiscalPeriod.h"

namespace keltro::revaluation {

using framework::FieldKind;
using framework::Mode;
using framework::trimmedText;

namespace {

constexpr const char* kCriteriaGrid = "dbgridcmd";
constexpr const char* kResultGrid = "dbgrid1";
constexpr const char* kAccountGrid = "dbgrid2";

// The fields a new revaluation starts empty.
constexpr const char* kDocumentFields[] = {"txtdocno", "txtfkey",  "txtglfkey", "txtlastdate",
                                           "txtdate",  "txtdesc", "cmbperiod", "cmbfyear"};
// The fields a person types into while entering a revaluation.
constexpr const char* kEntryFields[] = {"txtlastdate", "txtdate", "txtdesc", "cmbperiod",
                                        "cmbfyear"};

constexpr const char* kCustomerList = "0;3000;<;customer name|1;1500;<;customer no";

std::string debitCaption(const std::string& baseCurrency) { return "debit (" + baseCurrency + ")"; }
std::string creditCaption(const std::string& baseCurrency) { return "credit (" + baseCurrency + ")"; }

// The account grid's amount columns carry the base currency: "debit (USD)".
std::vector<std::string> accountCaptions(const std::string& baseCurrency) {
    return {"account no", "account name", "currency", debitCaption(baseCurrency),
            creditCaption(baseCurrency)};
}

}  // namespace

ARform_revalue::ARform_revalue() : Screen("ARform_revalue", "A/R Revaluation") {
    declareHeader();
    declareGrids();
    declareCommands();
}

void ARform_revalue::declareHeader() {
    addField({.name = "txtdocno", .caption = "Document no"});
    addField({.name = "txtfkey", .caption = "Key", .locked = true});
    addField({.name = "txtglfkey", .caption = "G/L key", .locked = true});
    // Open items dated up to this day are revalued.
    addField({.name = "txtlastdate", .kind = FieldKind::Date, .caption = "Last transaction date"});
    addField({.name = "txtdate", .kind = FieldKind::Date, .caption = "Revaluation date"});
    addField({.name = "txtdesc", .caption = "Description"});
    addField({.name = "cmbperiod", .kind = FieldKind::Combo, .caption = "Period"});
    addField({.name = "cmbfyear", .kind = FieldKind::Combo, .caption = "Fiscal year"});
    addField({.name = "cmbcompany", .kind = FieldKind::Combo, .caption = "Company", .value = "1",
              .locked = true, .items = {"1"}});
    addField({.name = "chkprint", .kind = FieldKind::Check, .caption = "Printed", .value = "0",
              .locked = true});
}

void ARform_revalue::declareGrids() {
    // One line per currency to revalue, with its new rate and the customers it covers; the
    // customer cell drops down the customers by name (`ddcustomer`).
    addGrid({.name = kCriteriaGrid,
             .declaredCaptions = {column::kCurrency, column::kRate, column::kEveryCustomer,
                                  column::kCustomerGroup, column::kCustomerNo},
             .lookupColumns = {{column::kCurrency, "0;1200;<;currency"},
                               {column::kCustomerNo, kCustomerList}}});
    addGrid({.name = kResultGrid,
             .declaredCaptions = {"customer no", "customer name", "document no", "date",
                                  "pay item", "currency", "original rate", "invoice amount",
                                  "original base-currency amount", "unrealized Gain/Loss",
                                  "new base-currency amount"},
             .locked = true,
             .page = "Result"});
    // The base currency is known once the host context is in: see onLoad.
    addGrid({.name = kAccountGrid, .declaredCaptions = accountCaptions(""), .locked = true,
             .page = "Account"});
}

void ARform_revalue::declareCommands() {
    addCommand(framework::saveCommand());
    addCommand(reports::pageSetupCommand());
    addCommand(framework::previewCommand(""));
    addExitCommand("&File", "");
    for (auto& c : framework::modeCommands("")) addCommand(std::move(c));
    for (auto& c : framework::lineCommands()) addCommand(std::move(c));
    for (auto& c : framework::recordCommands("")) addCommand(std::move(c));
    addCommand({.menu = "&Link", .caption = "&G/L Record"});
    // Computes the revalued items and the account summary (SEL_Result).
    addCommand({.caption = "Find result", .toolbar = "Find"});
    addCommand(framework::showTextBelowIconCommand());
    addHelpCommand("AR Revalue Help", "AR Revalue Help.pdf");
    addHelpCommand("Account Receivable Help", "Account Receivable Help.pdf");

    attach("&Save", [this] { saveCommand(); });
    attach("&Preview", [this] { preview(); });
    attach("Page Set&up", [this] { reports::OpenPageSetup(context(), className()); });
    attach("&New", [this] { newCommand(); });
    attach("&Edit mode", [this] { editCommand(); });
    attach("&Insert Line", [this] { insertLine(); });
    attach("&Delete Line", [this] { deleteLine(); });
    attach("&Next record", [this] { step(+1); });
    attach("&Previous record", [this] { step(-1); });
    attach("&Last record", [this] { showLast(); });
    attach("&Refresh record", [this] { refresh(); });
    attach("&G/L Record", [this] { glRecord(); });
    attach("Find result", [this] { findResult(); });
}

void ARform_revalue::attach(const std::string& caption, std::function<void()> action) {
    mutableCommand(caption).action = [this, action = std::move(action)] { guarded(action); };
}

bool ARform_revalue::guarded(const std::function<void()>& step, const std::string& failure) {
    try {
        step();
        return true;
    } catch (const framework::ScreenError&) {
        throw;  // a step the person could not take: the driver reports it
    } catch (const std::exception& e) {
        ui().message(e.what());
        if (!failure.empty()) ui().message(failure);
        return false;
    }
}

// --- What the host asks ------------------------------------------------------------------

void ARform_revalue::gotoDocno(const std::string& docnox) {
    if (mode() == Mode::New) return;
    setValue("txtdocno", docnox);
    guarded([&] { gotoNumber(docnox); });
}

// --- Opening -----------------------------------------------------------------------------

void ARform_revalue::onLoad() {
    mutableGrid(kAccountGrid).declaredCaptions = accountCaptions(context().BASE_CURRENCY);
    guarded([this] {
        fillLists();
        m_accounts = readRevaluationAccounts(database());
        showLast();
    });
}

void ARform_revalue::fillLists() {
    db::Database& db = database();
    mutableField("cmbfyear").items = framework::lists::fiscalYears(db);
    mutableField("cmbperiod").items = framework::lists::periodNumbers(context().KELTRO_NO_PERIODS);
    auto& lookups = mutableGrid(kCriteriaGrid).lookupItems;
    lookups[column::kCurrency] = framework::lists::currencies(db);
    lookups[column::kCustomerNo] = framework::lists::customersByName(db);
}

// --- State --------------------------------------------------------------------------------

bool ARform_revalue::showingSaved() const { return m_shown && mode() != Mode::New; }

// A saved revaluation is read-only; a new one, and an empty screen, take typing.
void ARform_revalue::enterMode(Mode mode) {
    setMode(mode);
    mutableCommand("&New").checked = mode == Mode::New;
    mutableCommand("&Edit mode").checked = mode == Mode::New;
    const bool locked = showingSaved();
    for (const char* control : kEntryFields) setLocked(control, locked);
    setLocked("txtdocno", mode == Mode::New);
    mutableGrid(kCriteriaGrid).locked = locked;
}

void ARform_revalue::newCommand() {
    if (command("&New").checked) return startNew();
    if (mode() == Mode::New) showLast();
}

void ARform_revalue::editCommand() {
    if (command("&Edit mode").checked) return startNew();
    if (mode() != Mode::New) return;
    if (ui().ask("Do you want to save new entry?")) {
        saveCommand();
        if (mode() != Mode::New) return;
    }
    showLast();
}

void ARform_revalue::startNew() {
    m_shown.reset();
    m_result.reset();
    for (const char* name : kDocumentFields) setValue(name, "");
    setValue("chkprint", "0");
    setValue("txtdocno", framework::kNewDocumentNo);
    for (const char* grid : {kCriteriaGrid, kResultGrid, kAccountGrid}) mutableGrid(grid).rows.clear();
    m_currentRow = 0;
    enterMode(Mode::New);
    // Today as the cut-off and the revaluation date, until the person types others.
    const std::string today = framework::dateText(clock().today(), context().KELTRO_DATE_FORMAT);
    setValue("txtlastdate", today);
    setValue("txtdate", today);
    dateChanged("txtdate");
}

// --- Showing ------------------------------------------------------------------------------

void ARform_revalue::showRevaluation(const RevaluationHeader& header) {
    m_shown = header;
    const std::string& format = context().KELTRO_DATE_FORMAT;
    setValue("txtdocno", header.docno);
    setValue("txtfkey", header.fkey);
    setValue("txtglfkey", header.glFkey);
    setValue("txtlastdate", framework::dateText(header.cutoff, format));
    setValue("txtdate", framework::dateText(header.date, format));
    setValue("txtdesc", header.description);
    setValue("cmbperiod", header.period ? std::to_string(*header.period) : "");
    setValue("cmbfyear", header.fyear);
    setValue("chkprint", header.printed ? "1" : "0");
    m_result = readRevaluation(database(), header);
    mutableGrid(kCriteriaGrid).rows = criteriaRows(m_result->criteria);
    m_currentRow = 0;
    showResult();
    enterMode(Mode::Browse);
}

void ARform_revalue::showWithKey(const std::string& fkey) {
    if (const auto header = findHeader(database(), fkey)) showRevaluation(*header);
}

void ARform_revalue::showNothing() {
    m_shown.reset();
    m_result.reset();
    for (const char* name : kDocumentFields) setValue(name, "");
    for (const char* grid : {kCriteriaGrid, kResultGrid, kAccountGrid}) mutableGrid(grid).rows.clear();
    enterMode(Mode::Browse);
}

void ARform_revalue::showLast() {
    if (const auto fkey = lastRevaluationKey(database())) return showWithKey(*fkey);
    showNothing();
}

// Next or previous by key; from a new revaluation, the last one.
void ARform_revalue::step(int direction) {
    if (!m_shown || mode() == Mode::New) return showLast();
    const auto fkey = neighbourRevaluationKey(database(), m_shown->fkey, direction);
    showWithKey(fkey ? *fkey : m_shown->fkey);
}

void ARform_revalue::refresh() {
    if (showingSaved()) showWithKey(m_shown->fkey);
}

void ARform_revalue::gotoNumber(const std::string& docno) {
    if (const auto header = findHeaderByDocno(database(), docno)) return showRevaluation(*header);
    ui().message("Document no. " + docno + " not found");
}

void ARform_revalue::showResult() {
    const std::string& base = context().BASE_CURRENCY;
    mutableGrid(kResultGrid).rows =
        m_result ? resultRows(m_result->items, context().KELTRO_DATE_FORMAT) : std::vector<framework::GridRow>{};
    mutableGrid(kAccountGrid).rows =
        m_result ? accountRows(m_result->accounts, debitCaption(base), creditCaption(base))
                 : std::vector<framework::GridRow>{};
}

// --- Reactions ------------------------------------------------------------------------------

void ARform_revalue::onFieldChanged(const std::string& control) {
    guarded([&] {
        if (control == "txtdate" || control == "txtlastdate") return dateChanged(control);
        if (control == "txtdocno" && mode() == Mode::Browse) gotoNumber(trimmedText(value(control)));
    });
}

// A typed date shows again in the user's format; the revaluation date sets the fiscal
// year and period.
void ARform_revalue::dateChanged(const std::string& control) {
    const std::string& format = context().KELTRO_DATE_FORMAT;
    setValue(control, framework::retypedDate(ui(), value(control), format));
    if (control != "txtdate") return;
    const auto date = shownDate(control);
    if (!date) return;
    if (const auto period = services::FiscalPeriodOfDate(database(), ui(), *date)) {
        setValue("cmbperiod", std::to_string(period->period));
        setValue("cmbfyear", period->fyear);
    }
}

// A customer picked by name from the drop-down puts its number in the cell.
void ARform_revalue::onCellChanged(const std::string& gridName, std::size_t row,
                                   const std::string& caption) {
    if (gridName != kCriteriaGrid) return;
    m_currentRow = row;
    auto& cells = mutableGrid(kCriteriaGrid).rows.at(row);
    cells.try_emplace(column::kEveryCustomer, "0");
    if (caption != column::kCustomerNo) return;
    const auto& lookups = grid(kCriteriaGrid).lookupItems;
    const auto customers = lookups.find(column::kCustomerNo);
    if (customers == lookups.end()) return;
    if (const auto number = framework::ItemColumnWhere(customers->second, 0, trimmedText(cells[caption]), 1))
        cells[caption] = *number;
}

void ARform_revalue::onCellClicked(const std::string& gridName, std::size_t row, const std::string&) {
    if (gridName == kCriteriaGrid) m_currentRow = row;
}

void ARform_revalue::insertLine() {
    if (showingSaved()) return;
    auto& rows = mutableGrid(kCriteriaGrid).rows;
    rows.push_back({{column::kEveryCustomer, "0"}});
    m_currentRow = rows.size() - 1;
}

void ARform_revalue::deleteLine() {
    auto& rows = mutableGrid(kCriteriaGrid).rows;
    if (showingSaved() || rows.empty()) return;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(std::min(m_currentRow, rows.size() - 1)));
    m_currentRow = rows.empty() ? 0 : std::min(m_currentRow, rows.size() - 1);
}

// --- The run and the save -------------------------------------------------------------------

void ARform_revalue::findResult() {
    if (showingSaved()) return;
    SearchContext search{database(), ui(), m_accounts};
    auto found = findRevaluation(search, shownDate("txtlastdate"),
                                 criteriaOf(grid(kCriteriaGrid).rows));
    if (!found) return;  // the results of an earlier run stay
    m_result = std::move(*found);
    showResult();
}

void ARform_revalue::saveCommand() {
    if (mode() != Mode::New) return;
    if (!m_result || m_result->items.empty()) return ui().message("No data");
    const RevaluationDraft draft{shownDate("txtdate"), value("txtdesc"), value("cmbperiod"),
                                 value("cmbfyear")};
    const auto period = checkRevaluation(database(), ui(), draft);
    if (!period) return;
    std::optional<SavedRevaluation> saved;
    guarded([&] {
        RevaluationSaveContext where{database(), ui(), clock(), ledger(),
                                       this->context().KELTRO_USER, this->context().BASE_CURRENCY,
                                       std::max(1, std::atoi(this->context().KELTRO_NO_PERIODS.c_str()))};
        saved = saveRevaluation(where, draft, *period, *m_result);
    });
    if (!saved) {
        ui().message("Add new revaluation failed");
        setValue("txtdocno", framework::kNewDocumentNo);
        setValue("txtfkey", "");
        setValue("txtglfkey", "");
        return;
    }
    ui().message("Add new revaluation complete");
    showWithKey(saved->fkey);
}

void ARform_revalue::glRecord() {
    if (showingSaved() && !m_shown->glFkey.empty())
        raiseNotification("G/L Ledger Review", m_shown->glFkey, "");
}

// The result grid, printed as the report screens print theirs.
void ARform_revalue::preview() {
    if (!showingSaved()) return;
    const auto titles = printTitles(*m_shown, title());
    const framework::Grid& results = grid(kResultGrid);
    const std::string layoutForm = results.layoutForm.empty() ? className() : results.layoutForm;
    if (const auto files = reports::PrintReport(context(), className(), layoutForm, results, titles))
        raiseNotification(files->viewerRequest(), files->pdf, titles.previewTitle);
}

std::optional<db::Date> ARform_revalue::shownDate(const std::string& control) const {
    return framework::dateOfText(value(control), context().KELTRO_DATE_FORMAT);
}

const services::Clock& ARform_revalue::clock() const {
    return context().clock ? *context().clock : m_systemClock;
}

services::LedgerContext& ARform_revalue::ledger() {
    if (!m_ledger) m_ledger.emplace(database(), ui());
    return *m_ledger;
}

}  // namespace keltro::revaluation
