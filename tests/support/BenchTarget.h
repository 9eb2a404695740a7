// An empty database for a `keltro-ar bench` run: a new SQLite file the bench creates, or
// an empty PostgreSQL schema, following the engine the tests run on. Only the test
// programs that run the built program include it (see CommandRun.h).
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "support/CommandRun.h"
#include "support/TestDatabase.h"

namespace keltro::test {

struct BenchTarget {
    BenchTarget() {
        removeFiles();
        if (testEngine() != db::Engine::Sqlite) database = std::make_unique<TestDatabase>();
    }
    ~BenchTarget() { removeFiles(); }
    BenchTarget(const BenchTarget&) = delete;
    BenchTarget& operator=(const BenchTarget&) = delete;

    void removeFiles() const {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
    }
    std::string url() const { return database ? database->url() : "sqlite:" + path.string(); }
    std::string dbOption() const { return " --db '" + url() + "'"; }

    std::filesystem::path path = ownTempFile("bench.sqlite");
    std::unique_ptr<TestDatabase> database;
};

}  // namespace keltro::test
