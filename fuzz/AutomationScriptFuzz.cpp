// The automation script reader (`keltro-ar automate`) on any script: each line is read as
// a step and run on the screens of the demo company in an in-memory database; a line that
// is not a step, or names what does not exist, is an "error" event, never a crash. The
// short run seeds itself with the walkthroughs of scripts/examples.
#include <cstdlib>
#include <memory>
#include <sstream>

#include "db/Database.h"
#include "fuzz/FuzzInput.h"
#include "host/Automation.h"
#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/Clock.h"

namespace {

keltro::db::Database& demoCompany() {
    static const std::unique_ptr<keltro::db::Database> db = [] {
        auto opened = keltro::db::openDatabase("sqlite::memory:");
        keltro::db::Transaction tx(*opened);
        keltro::schema::createSchema(*opened);
        keltro::schema::addDemoCompany(*opened, keltro::db::Date{2026, 12, 6});
        tx.commit();
        return opened;
    }();
    return *db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keltro;
    static const services::FixedClock clock(db::Date{2026, 12, 6});
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream events;
    host::runAutomation(demoCompany(), clock, host::AutomationOptions{}, script, events);
    return 0;
}
