#include "app/cli/InitCommand.h"

#include "db/Database.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"

namespace keltro::app {

int runInit(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto url = args.option("db");
    if (!url) throw UsageError{"init needs --db URL"};
    const auto clock = services::makeClock(args.option("today"));

    auto db = db::openDatabase(*url);
    if (auto existing = schema::existingSuiteTables(*db); !existing.empty()) {
        err << "keltro-ar: the database " << *url << " already holds the suite's tables ("
            << existing.size() << " of them); nothing was changed.\n";
        return 1;
    }
    // Tables and demo company arrive together or not at all.
    db::Transaction tx(*db);
    schema::createSchema(*db);
    if (args.flag("demo")) schema::addDemoCompany(*db, clock->today());
    tx.commit();
    out << "Created the suite's tables in " << *url << "\n";
    if (args.flag("demo")) out << schema::describeCompany(*db);
    return 0;
}

}  // namespace keltro::app
