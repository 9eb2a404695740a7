#include "support/TestDatabase.h"

#include "schema/DemoCompany.h"
#include "schema/Schema.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace keltro::test {

namespace {

std::string uniqueSuffix() {
    static std::atomic<int> counter{0};
    return std::to_string(getpid()) + "_" + std::to_string(++counter);
}

std::string postgresBaseUrl() {
    const char* url = std::getenv("KELTRO_TEST_PG_URL");
    if (!url || !*url)
        throw std::runtime_error(
            "KELTRO_TEST_PG_URL is not set: run the PostgreSQL tests through scripts/test.sh, "
            "or run only the SQLite ones with `ctest -L 'sqlite|logic'`");
    return url;
}

}  // namespace

db::Engine testEngine() {
    const char* engine = std::getenv("KELTRO_TEST_DB");
    return engine && std::string(engine) == "postgresql" ? db::Engine::Postgres
                                                         : db::Engine::Sqlite;
}

TestDatabase::TestDatabase(Contents contents) : m_engine(testEngine()) {
    if (m_engine == db::Engine::Sqlite) {
        m_sqlitePath = (std::filesystem::temp_directory_path() /
                        ("keltro_test_" + uniqueSuffix() + ".sqlite"))
                           .string();
        m_url = "sqlite:" + m_sqlitePath;
    } else {
        const std::string base = postgresBaseUrl();
        m_schema = "t_" + uniqueSuffix();
        db::openDatabase(base)->executeScript("CREATE SCHEMA " + m_schema);
        m_url = base + (base.find('?') == std::string::npos ? "?" : "&") +
                "options=-csearch_path%3D" + m_schema;
    }
    m_main = db::openDatabase(m_url);
    fill(contents);
}

void TestDatabase::fill(Contents contents) {
    if (contents == Contents::Empty) return;
    db::Transaction tx(*m_main);
    schema::createSchema(*m_main);
    if (contents == Contents::DemoCompany) schema::addDemoCompany(*m_main, kDemoToday);
    tx.commit();
}

TestDatabase::~TestDatabase() {
    m_main.reset();
    try {
        if (m_engine == db::Engine::Sqlite) {
            for (const char* suffix : {"", "-wal", "-shm"})
                std::filesystem::remove(m_sqlitePath + suffix);
        } else {
            db::openDatabase(postgresBaseUrl())
                ->executeScript("DROP SCHEMA IF EXISTS " + m_schema + " CASCADE");
        }
    } catch (const std::exception& e) {
        ADD_FAILURE() << "Cleaning up the test database failed: " << e.what();
    }
}

std::unique_ptr<db::Database> TestDatabase::open() const { return db::openDatabase(m_url); }

}  // namespace keltro::test
