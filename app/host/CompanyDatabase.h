// The company database the desktop program works on, and what it reads from it for the
// host context.
//
// Without a URL it is the demo database, $XDG_DATA_HOME/keltro-ar/demo.sqlite (that is
// ~/.local/share/keltro-ar/demo.sqlite by default), which is created with the demo
// company, in one transaction, the first time. Any other database must already hold a
// company. The base currency is `COA_config_table.Currency`; the company name is kept in
// the shared `Recent_value_table` row "company_name".
#pragma once

#include <memory>
#include <string>

#include "db/Database.h"

namespace keltro::app {

class CompanyDatabase {
public:
    // Throws std::runtime_error (or db::DbError) when the database cannot be opened or holds
    // no company.
    CompanyDatabase(const std::string& url, const db::Date& today);

    static std::string demoUrl();

    db::Database& db() { return *m_db; }
    const std::string& url() const { return m_url; }
    // The file of a SQLite database, the URL of any other: what list controls connect to.
    std::string openDatabaseText() const;
    const std::string& baseCurrency() const { return m_baseCurrency; }
    const std::string& companyName() const { return m_companyName; }

private:
    void createDemoWhenEmpty(const db::Date& today);
    void readFacts();

    std::string m_url;
    std::unique_ptr<db::Database> m_db;
    std::string m_baseCurrency;
    std::string m_companyName;
};

}  // namespace keltro::app
