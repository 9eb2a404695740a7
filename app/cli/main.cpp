// keltro-ar: the command line of Keltro A/R.
#include <exception>
#include <iostream>

#include "app/cli/Arguments.h"
#include "app/cli/AutomateCommand.h"
#include "app/cli/BenchCommand.h"
#include "app/cli/CheckCommand.h"
#include "app/cli/InfoCommand.h"
#include "app/cli/InitCommand.h"
#include "app/cli/ReportCommand.h"

namespace {

constexpr const char* kUsage =
    "usage: keltro-ar COMMAND [options]\n"
    "\n"
    "commands:\n"
    "  init --db URL [--demo] [--today YYYY-MM-DD]\n"
    "      create the suite's tables in an empty database; --demo adds the demo company\n"
    "  automate --db URL [--user ID] [--date-format dd/mm/yyyy] [--base-currency CUR]\n"
    "           [--company NAME] [--path DIR] [--periods 12] [--today YYYY-MM-DD] SCRIPT\n"
    "      drive the screens from a script of JSON Lines steps (SCRIPT a file, or -)\n"
    "  info --db URL\n"
    "      what the company in the database is\n"
    "  report NAME --db URL [--customer NO] [--docno NO] [--docno2 NO] [--check NO]\n"
    "              [--receipt NO] [--from DATE] [--to DATE] [--status S] [--type T]\n"
    "              [--as-of DATE] [--class-width DAYS] [--user ID] [--today YYYY-MM-DD]\n"
    "              [--pdf FILE | --csv FILE]\n"
    "      run a report (aging, inquiry, invoice-receipt-history, receipt-check-history)\n"
    "      and write its rows as CSV (standard output without a FILE) or print them to PDF\n"
    "  check --db URL\n"
    "      audit the books: journals, balances and key counters; exit 1 on any finding\n"
    "  bench invoice --db URL [--count 500] [--preload 100000] [--mode durable|cpu|both]\n"
    "                [--today YYYY-MM-DD]\n"
    "      time invoice saves through the screen against the same rows written by plain\n"
    "      statements; one JSON line per mode, again after the preload. SQLite: URL names\n"
    "      a new file the bench creates (an existing one is refused); PostgreSQL: the\n"
    "      database must be empty (the bench adds the tables and the demo company)\n"
    "  bench aging --db URL [--count 1000000] [--today YYYY-MM-DD]\n"
    "      age that many open items of 10,000 customers and print a PDF of 10,000 rows\n"
    "  bench receipt --db URL [--count 200] [--mode durable|cpu|both] [--today YYYY-MM-DD]\n"
    "      list the open items of customers with 10, 100 and 1,000 of them on the receipt\n"
    "      screen and time receipts of ten lines against the floor; same URL rules\n"
    "  bench recurring --db URL [--count 1000] [--mode durable|cpu|both] [--today YYYY-MM-DD]\n"
    "      list the due recurring definitions among 10,000 and generate invoices from\n"
    "      --count of them in one run through the recurring inquiry, against the floor;\n"
    "      same URL rules\n"
    "  bench revalue --db URL [--count 100000] [--mode durable|cpu|both] [--today YYYY-MM-DD]\n"
    "      give 1,000 foreign customers COUNT open items in all, then time \"Find result\"\n"
    "      and the save of a revaluation on its screen; same URL rules\n"
    "  bench matching --db URL [--mode durable|cpu|both] [--today YYYY-MM-DD]\n"
    "      list a customer's 10,000 open items on the matching screen and time the save of\n"
    "      a matching of 1,000 lines; same URL rules\n"
    "  bench workstations --db URL [--workers 8] [--count 1000] [--reuse] [--today YYYY-MM-DD]\n"
    "      that many workstations (processes) save COUNT invoices, receipts and credit notes\n"
    "      each on one database at once; the series and the books are audited after each\n"
    "      worker count (--workers 1,4,8 runs each in turn); --reuse saves into books that\n"
    "      exist, otherwise same URL rules\n"
    "\n"
    "URL is sqlite:PATH or postgresql://USER@HOST:PORT/DATABASE\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace keltro::app;
    try {
        const Arguments args(std::vector<std::string>(argv + 1, argv + argc), {"demo", "help", "reuse"});
        if (args.command().empty() || args.flag("help") || args.command() == "help") {
            std::cout << kUsage;
            return args.command().empty() && !args.flag("help") ? 2 : 0;
        }
        if (args.command() == "init") return runInit(args, std::cout, std::cerr);
        if (args.command() == "automate") return runAutomate(args, std::cout, std::cerr);
        if (args.command() == "info") return runInfo(args, std::cout, std::cerr);
        if (args.command() == "report") return runReport(args, std::cout, std::cerr);
        if (args.command() == "check") return runCheck(args, std::cout, std::cerr);
        if (args.command() == "bench") return runBench(args, std::cout, std::cerr);
        throw UsageError{"unknown command \"" + args.command() + "\""};
    } catch (const UsageError& e) {
        std::cerr << "keltro-ar: " << e.text << "\n\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "keltro-ar: " << e.what() << "\n";
        return 1;
    }
}
