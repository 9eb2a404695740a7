// A/R revaluation: values the open foreign-currency receivables at new rates on a cut-off
// date and books the unrealized exchange gain or loss, with its reversal in the next
// period.
//
// A revaluation (document type "arre") keeps its criteria (currency, new rate, customers),
// the revalued items and the account summary; it changes no A/R document.
//
// The person starts a new revaluation ("&New", or "&Edit mode" switched on), fills the
// cut-off date and the criteria grid, runs "Find result" and checks the "Result" and
// "Account" tabs, then saves. A saved revaluation is shown read-only: it is never edited
// or voided. Switching "&Edit mode" off with an unsaved revaluation on screen asks "Do you
// want to save new entry?". The rules live beside the screen: the run
// (RevaluationSearch.h), the save and its two journals (RevaluationSave.h), the stored
// records and walking (RevaluationRecords.h), the grids and the printout
// (RevaluationDisplay.h).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/Screen.h"
#include "revaluation/RevaluationRecords.h"
#include "revaluation/RevaluationSearch.h"
#include "services/Balances.h"
#include "services/Clock.h"

namespace keltro::revaluation {

class ARform_revalue : public framework::Screen {
public:
    ARform_revalue();
    // Shows the revaluation with this number, as the host asks; a new revaluation being
    // entered stays on screen.
    void gotoDocno(const std::string& docnox);

    // The run on screen (found, or read with the revaluation shown); nothing before any.
    const std::optional<Revaluation>& result() const { return m_result; }

protected:
    void onLoad() override;
    void onFieldChanged(const std::string& control) override;
    void onCellChanged(const std::string& grid, std::size_t row, const std::string& column) override;
    void onCellClicked(const std::string& grid, std::size_t row, const std::string& column) override;

private:
    void declareHeader();
    void declareGrids();
    void declareCommands();
    void attach(const std::string& caption, std::function<void()> action);
    void fillLists();

    // --- state ----------------------------------------------------------------------------
    bool showingSaved() const;
    void enterMode(framework::Mode mode);
    void newCommand();
    void editCommand();
    // Clears the screen for a new revaluation.
    void startNew();

    // --- showing --------------------------------------------------------------------------
    void showRevaluation(const RevaluationHeader& header);
    void showWithKey(const std::string& fkey);
    void showNothing();
    void showLast();
    void step(int direction);
    void refresh();
    void gotoNumber(const std::string& docno);
    void showResult();

    // --- the run and the save -------------------------------------------------------------
    void findResult();
    void saveCommand();
    void dateChanged(const std::string& control);
    void insertLine();
    void deleteLine();
    void glRecord();
    void preview();
    std::optional<db::Date> shownDate(const std::string& control) const;
    const services::Clock& clock() const;
    services::LedgerContext& ledger();
    // Runs a step, showing a database failure as a message (and `failure` after it).
    bool guarded(const std::function<void()>& step, const std::string& failure = "");

    std::optional<RevaluationHeader> m_shown;  // the saved revaluation on screen
    std::optional<Revaluation> m_result;
    RevaluationAccounts m_accounts;
    std::size_t m_currentRow = 0;  // of the criteria grid
    std::optional<services::LedgerContext> m_ledger;
    services::SystemClock m_systemClock;  // when the host gives no clock
};

}  // namespace keltro::revaluation
