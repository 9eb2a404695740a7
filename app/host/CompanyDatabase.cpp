#include "app/host/CompanyDatabase.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "schema/DemoCompany.h"
#include "schema/Schema.h"

namespace keltro::app {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSqlitePrefix = "sqlite:";

std::string text(db::Database& db, const std::string& sql, const db::Params& params = {}) {
    try {
        if (auto row = db.queryOne(sql, params)) return row->at(0).textOr();
    } catch (const db::DbError&) {
        // A setting that cannot be read stays empty.
    }
    return {};
}

// "sqlite:~/books.sqlite" names a file in the home folder.
std::string expandHome(const std::string& url) {
    const std::string prefix = std::string(kSqlitePrefix) + "~/";
    const char* home = std::getenv("HOME");
    if (url.rfind(prefix, 0) != 0 || !home) return url;
    return kSqlitePrefix + (fs::path(home) / url.substr(prefix.size())).string();
}

}  // namespace

std::string CompanyDatabase::demoUrl() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    fs::path folder = data && *data ? fs::path(data) : fs::path(home ? home : ".") / ".local" / "share";
    return kSqlitePrefix + (folder / "keltro-ar" / "demo.sqlite").string();
}

CompanyDatabase::CompanyDatabase(const std::string& url, const db::Date& today)
    : m_url(url.empty() ? demoUrl() : expandHome(url)) {
    if (url.empty()) {
        std::error_code ec;
        fs::create_directories(fs::path(m_url.substr(std::string(kSqlitePrefix).size())).parent_path(), ec);
    }
    m_db = db::openDatabase(m_url);
    if (url.empty()) createDemoWhenEmpty(today);
    if (schema::existingSuiteTables(*m_db).empty())
        throw std::runtime_error("The database " + m_url +
                                 " holds no company yet; create one with: keltro-ar init --db " + m_url +
                                 " --demo");
    readFacts();
}

void CompanyDatabase::createDemoWhenEmpty(const db::Date& today) {
    if (!schema::existingSuiteTables(*m_db).empty()) return;
    db::Transaction tx(*m_db);
    schema::createSchema(*m_db);
    schema::addDemoCompany(*m_db, today);
    tx.commit();
}

void CompanyDatabase::readFacts() {
    m_baseCurrency = text(*m_db, "SELECT [Currency] FROM [COA_config_table]");
    m_companyName =
        text(*m_db, "SELECT [Value] FROM [Recent_value_table] WHERE [control_name] = ?", {"company_name"});
}

std::string CompanyDatabase::openDatabaseText() const {
    if (m_url.rfind(kSqlitePrefix, 0) == 0) return m_url.substr(std::string(kSqlitePrefix).size());
    return m_url;
}

}  // namespace keltro::app
