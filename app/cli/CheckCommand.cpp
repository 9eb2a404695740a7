#include "app/cli/CheckCommand.h"

#include "db/Database.h"
#include "schema/Schema.h"
#include "services/BooksAudit.h"

namespace keltro::app {

int runCheck(const Arguments& args, std::ostream& out, std::ostream& err) {
    const auto url = args.option("db");
    if (!url) throw UsageError{"check needs --db URL"};
    auto db = db::openDatabase(*url);
    if (schema::existingSuiteTables(*db).empty()) {
        err << "keltro-ar: the database " << *url << " holds no company to check\n";
        return 1;
    }
    // One snapshot of the books: every table is read as of the same moment. The
    // transaction only reads and is rolled back.
    db::Transaction snapshot(*db);
    if (db->engine() == db::Engine::Postgres)
        db->execute("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ");
    const auto findings = services::AuditBooks(*db);
    for (const auto& finding : findings) out << finding << "\n";
    if (findings.empty()) {
        out << "The books are in order.\n";
        return 0;
    }
    out << findings.size() << (findings.size() == 1 ? " finding" : " findings") << ".\n";
    return 1;
}

}  // namespace keltro::app
