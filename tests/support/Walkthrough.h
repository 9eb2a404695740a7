// Runs an example script of scripts/examples as `keltro-ar automate` runs it, on the demo
// company's day, and gives the events it printed; no event may be an error.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/Automation.h"
#include "host/Json.h"
#include "services/Clock.h"
#include "support/TestDatabase.h"

namespace keltro::test {

// scripts/examples of the source tree. `__FILE__` may be relative to the build folder (a
// compiler launcher such as ccache with a base folder makes it so), while the tests run in
// a folder below the build folder.
inline std::filesystem::path examplesFolder() {
    namespace fs = std::filesystem;
    const fs::path support = fs::path(__FILE__).parent_path();
    if (support.is_absolute()) return support.parent_path().parent_path() / "scripts" / "examples";
    for (fs::path base = fs::current_path(); !base.empty(); base = base.parent_path()) {
        const fs::path folder = base / support.parent_path().parent_path() / "scripts" / "examples";
        if (fs::exists(folder) || base == base.root_path()) return folder;
    }
    return support;
}

inline std::vector<host::Json> runExampleScript(db::Database& db, const std::string& name) {
    const auto path = examplesFolder() / name;
    std::ifstream script(path);
    EXPECT_TRUE(script) << path;
    std::ostringstream out;
    services::FixedClock clock(kDemoToday);
    EXPECT_EQ(host::runAutomation(db, clock, {}, script, out), 0) << out.str();
    std::vector<host::Json> events;
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        events.push_back(host::parseJson(line));
        EXPECT_NE(events.back().text("event"), "error") << line;
    }
    return events;
}

}  // namespace keltro::test
