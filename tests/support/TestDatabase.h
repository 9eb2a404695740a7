// A throwaway database for one test, on the engine this test run is for.
//
// CTest runs every database test twice: with KELTRO_TEST_DB=sqlite (a fresh file in the
// temporary folder) and with KELTRO_TEST_DB=postgresql (a fresh schema on the server
// named by KELTRO_TEST_PG_URL, which scripts/test.sh starts). A PostgreSQL run without
// that URL fails rather than passing quietly. `open()` gives a second connection to the
// same database, as a second workstation would have.
#pragma once

#include <memory>
#include <string>

#include "db/Database.h"

namespace keltro::test {

// What a fresh test database holds.
enum class Contents {
    Empty,        // nothing
    Tables,       // the suite's tables, empty
    DemoCompany,  // the tables and the demo company placed around 2026-12-06
};

inline constexpr db::Date kDemoToday{2026, 12, 6};

class TestDatabase {
public:
    explicit TestDatabase(Contents contents = Contents::Empty);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    db::Database& db() { return *m_main; }
    db::Engine engine() const { return m_engine; }
    // Another connection to the same database.
    std::unique_ptr<db::Database> open() const;
    // The URL of this database, for the command-line program (on PostgreSQL it names
    // the test's schema as the search path).
    const std::string& url() const { return m_url; }

private:
    void fill(Contents contents);

    db::Engine m_engine;
    std::string m_sqlitePath;
    std::string m_schema;
    std::string m_url;
    std::unique_ptr<db::Database> m_main;
};

// The engine of this run, from KELTRO_TEST_DB.
db::Engine testEngine();

}  // namespace keltro::test
