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

inline std::vector<host::Json> runExampleScript(db::Database& db, const std::string& name) {
    const auto path = std::filesystem::path(KELTRO_SOURCE_DIR) / "scripts" / "examples" / name;
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
