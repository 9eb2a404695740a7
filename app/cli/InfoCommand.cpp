#include "app/cli/InfoCommand.h"

#include "db/Database.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"

namespace keltro::app {

int runInfo(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto url = args.option("db");
    if (!url) throw UsageError{"info needs --db URL"};
    auto db = db::openDatabase(*url);
    if (schema::existingSuiteTables(*db).empty()) {
        err << "keltro-ar: the database " << *url
            << " holds no company yet; create one with: keltro-ar init --db " << *url
            << " --demo\n";
        return 1;
    }
    out << schema::describeCompany(*db);
    return 0;
}

}  // namespace keltro::app
