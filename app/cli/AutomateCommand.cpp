#include "app/cli/AutomateCommand.h"

#include <fstream>
#include <iostream>

#include "db/Database.h"
#include "host/Automation.h"
#include "services/Clock.h"

namespace keltro::app {

int runAutomate(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto url = args.option("db");
    if (!url) throw UsageError{"automate needs --db URL"};
    if (args.positional().size() != 1) throw UsageError{"automate needs one SCRIPT (a file, or - for standard input)"};
    const std::string scriptName = args.positional().front();

    host::AutomationOptions options;
    options.user = args.optionOr("user", options.user);
    options.dateFormat = args.optionOr("date-format", options.dateFormat);
    options.baseCurrency = args.option("base-currency");
    options.company = args.optionOr("company", options.company);
    options.path = args.optionOr("path", options.path);
    options.periods = args.optionOr("periods", options.periods);
    options.openDatabase = *url;
    const auto clock = services::makeClock(args.option("today"));
    auto db = db::openDatabase(*url);

    if (scriptName == "-") return host::runAutomation(*db, *clock, options, std::cin, out);
    std::ifstream script(scriptName);
    if (!script) {
        err << "keltro-ar: cannot read the script " << scriptName << "\n";
        return 1;
    }
    return host::runAutomation(*db, *clock, options, script, out);
}

}  // namespace keltro::app
