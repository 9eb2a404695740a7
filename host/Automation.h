// `keltro-ar automate`: drives ARclass and its screens as a person would, without a
// display, from a script of JSON Lines, and reports what happened as JSON Lines.
//
// Steps, one per line:
//   {"call":"showform_ARform_invoice","args":["cn"]}          an ARclass method
//   {"set":"ARform_invoice.cmbcustno","value":"1001"}         type into a control, leave it
//   {"cell":"ARform_invoice.dbgrid1","row":0,"col":"tax code","value":"S1"}
//   {"click":"ARform_receipt.dbgrid1","row":0,"col":"applied amount"}
//   {"pick":"ARform_invoice.cmbexrate","index":0}
//   {"command":"ARform_invoice","caption":"&Save"}
//   {"answer":"Yes"}                                          the next question's answer
//   {"get":"ARform_invoice"}                                  print the screen
//   {"sql":"SELECT …"}                                        print a read-only query
// A screen named in a step is the one ARclass references now, or the newest open dialog of
// that class a screen opened ("Form_report_format" after a report's "Page Set&up").
// Events: message, question, notify, screen, rows, error. The run's status is 1 when any
// step had an error.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "db/Database.h"
#include "services/Clock.h"

namespace keltro::host {

struct AutomationOptions {
    std::string user = "admin";
    std::string dateFormat = "dd/mm/yyyy";
    std::optional<std::string> baseCurrency;  // default: COA_config_table.Currency
    std::string company;
    std::string path;
    std::string periods = "12";
    std::string openDatabase;  // the URL, for the screens' list controls
};

// Runs the script; returns the exit status (0, or 1 when any step had an error).
int runAutomation(db::Database& db, const services::Clock& clock, const AutomationOptions& options,
                  std::istream& script, std::ostream& out);

}  // namespace keltro::host
