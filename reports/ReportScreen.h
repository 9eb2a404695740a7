// What the report screens share beyond their commands: the customer chosen by number or
// by name, the grid `dbgrid1` the report fills, its printing and the print-column pane.
//
// A report screen derives from it, declares its own filters and grid as usual, and ends
// its constructor with `attachReportActions()`, which gives "Page Set&up", "Print
// &Column" and "&Preview" their work:
//
//   * "Page Set&up" opens `Form_report_format` on the screen's name (`pageSetup()`) and
//     has the host show it as a screen of its own (a window; headless, a screen the
//     driver reaches by its class name);
//   * "Print &Column" opens the window "Print Column": grid `grid_sel`, one row per
//     column of the stored layout with its caption and a "Print" tick; ticking writes the
//     column's `Print` flag at once;
//   * "&Preview" prints the grid's rows to PDF and asks the host to show the file.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Screen.h"
#include "reports/Form_report_format.h"
#include "reports/ReportPrint.h"

namespace keltro::reports {

inline constexpr const char* kReportGrid = "dbgrid1";
inline constexpr const char* kPrintColumnWindow = "Print Column";
inline constexpr const char* kPrintColumnGrid = "grid_sel";

class ReportScreen : public framework::Screen {
public:
    // The page format dialog the person opened last; null before "Page Set&up".
    const std::shared_ptr<Form_report_format>& pageSetup() const { return m_pageSetup; }
    const ReportTitles& titles() const { return m_titles; }
    // The form name the report grid's layout is stored under.
    std::string layoutForm() const;

    // Prints the grid; the files written, or nullopt when nothing was printed.
    std::optional<PrintedFiles> printReport();

protected:
    ReportScreen(std::string className, std::string title, ReportTitles titles);

    void attachReportActions();

    // Fills the customer look-ups; `everyCustomer` adds "*" at the top of the numbers.
    void fillCustomerLists(bool everyCustomer);
    // The customer number the filters name ("" for none).
    std::string chosenCustomer() const;
    // The last customer a run used, kept in `Recent_value_table` under the screen's name
    // and the control "customer".
    void rememberCustomer();
    void recallCustomer();

    // The rows of the report grid, replaced.
    void showRows(std::vector<framework::GridRow> rows);
    // A long loop's step: the progress bar moves and window messages run.
    void reportProgress(long done, long total);
    // The user's date in the user's format; nullopt for an empty or wrong one.
    std::optional<db::Date> dateField(const std::string& control) const;
    // A date shown in the user's format.
    std::string shownDate(const std::optional<db::Date>& date) const;
    // The customer's name ("" for none).
    std::string customerName(const std::string& customerNo) const;
    // The cells of a receipt's or a matching's line for the document it settled: pay item,
    // invoice no and date, gross, open and applied amounts, balance, discounts, write-off,
    // and the currency from `currencyColumn`.
    framework::GridRow settledLineCells(const db::Row& line, const char* currencyColumn) const;

    void onLoad() override;
    virtual void onReportLoad() {}
    void onFieldChanged(const std::string& control) override;
    void onCellChanged(const std::string& grid, std::size_t row, const std::string& column) override;

private:
    void openPageSetup();
    void openPrintColumns();
    void preview();

    ReportTitles m_titles;
    std::shared_ptr<Form_report_format> m_pageSetup;
};

}  // namespace keltro::reports
