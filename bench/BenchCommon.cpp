#include "bench/BenchCommon.h"

#include <cstdio>
#include <stdexcept>

#include "schema/DemoCompany.h"
#include "schema/Schema.h"
#include "services/DateFormat.h"

namespace keltro::bench {

// ----- CommitSettings ----------------------------------------------------------------------

std::string_view modeName(CommitMode mode) { return mode == CommitMode::Durable ? "durable" : "cpu"; }

CommitSettings::CommitSettings(db::Database& db) : m_db(db) {
    if (db.engine() == db::Engine::Sqlite)
        if (const auto row = db.queryOne("PRAGMA synchronous"))
            m_defaultSynchronous = std::to_string(row->at(0).integerOr(2));
}

void CommitSettings::apply(CommitMode mode) {
    if (m_db.engine() == db::Engine::Sqlite) {
        // Pragmas take no bound values; the text is one of ours.
        const std::string value = mode == CommitMode::Cpu ? "OFF" : m_defaultSynchronous;
        m_db.executeScript("PRAGMA synchronous = " + value);
    } else {
        m_db.executeScript(mode == CommitMode::Cpu ? "SET synchronous_commit = off"
                                                   : "RESET synchronous_commit");
    }
}

void prepareBenchDatabase(db::Database& db, const db::Date& today) {
    db::Transaction transaction(db);
    schema::createSchema(db);
    schema::addDemoCompany(db, today);
    transaction.commit();
}

void checkpointLog(db::Database& db) {
    if (db.engine() == db::Engine::Sqlite) db.executeScript("PRAGMA wal_checkpoint(TRUNCATE)");
}

// ----- Timing and the JSON line ------------------------------------------------------------

double Timing::perSecond() const {
    return elapsed.count() > 0 ? static_cast<double>(count) / elapsed.count() : 0;
}

double Timing::msEach() const {
    return count > 0 ? elapsed.count() * 1000 / static_cast<double>(count) : 0;
}

double ratio(const Timing& screen, const Timing& floor) {
    const double floorRate = floor.perSecond();
    return floorRate > 0 ? screen.perSecond() / floorRate : 0;
}

std::string fixedJson(double value, int decimals) {
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.*f", decimals, value);
    return digits;
}

host::JsonObjectWriter& addRates(host::JsonObjectWriter& line, const Timing& screen,
                                 const Timing& floor, std::string_view what) {
    const std::string each = "ms_per_" + std::string(what);
    return line.raw("count", std::to_string(screen.count))
        .raw("per_s", fixedJson(screen.perSecond(), 1))
        .raw("floor_per_s", fixedJson(floor.perSecond(), 1))
        .raw("ratio", fixedJson(ratio(screen, floor), 2))
        .raw(each, fixedJson(screen.msEach(), 3))
        .raw("floor_" + each, fixedJson(floor.msEach(), 3));
}

// ----- CompletionUi ------------------------------------------------------------------------

void CompletionUi::await(std::string text) {
    m_awaited = std::move(text);
    m_arrived.reset();
    m_said.clear();
}

std::string CompletionUi::said() const {
    std::string all;
    for (const auto& text : m_said) all += (all.empty() ? "" : " / ") + text;
    return all.empty() ? "nothing" : all;
}

void CompletionUi::message(const std::string& text) {
    if (!m_arrived && text == m_awaited) m_arrived = BenchClock::now();
    m_said.push_back(text);
}

void CompletionUi::warn(const std::string& text) { m_said.push_back(text); }

bool CompletionUi::ask(const std::string& text) {
    m_said.push_back(text);
    return false;
}

// ----- BenchDesk ---------------------------------------------------------------------------

BenchDesk::BenchDesk(db::Database& db, const services::Clock& clock)
    : m_clock(clock), m_arclass(m_factory) {
    const auto config = db.queryOne("SELECT Currency FROM COA_config_table");
    m_arclass.cnx = m_arclass.dbe = m_arclass.abcdb = &db;
    m_arclass.BASE_CURRENCY = config ? (*config)["Currency"].textOr("USD") : "USD";
    m_arclass.KELTRO_USER = "admin";
    m_arclass.KELTRO_DATE_FORMAT = kDateFormat;
    m_arclass.KELTRO_NO_PERIODS = "12";
    m_arclass.ui = &m_ui;
    m_arclass.clock = &m_clock;
    m_arclass.NotifyClients = [](const std::string&, const std::string&, const std::string&) {};
}

std::string BenchDesk::todayText() const {
    return services::FormatUserDate(m_clock.today(), kDateFormat);
}

std::shared_ptr<framework::Screen> BenchDesk::screen(const std::string& className) const {
    auto screen = m_arclass.referencedScreen(className);
    if (!screen) throw std::runtime_error("The screen " + className + " did not open");
    return screen;
}

std::chrono::duration<double> BenchDesk::timedCommand(framework::Screen& screen,
                                                      const std::string& caption,
                                                      const std::string& completion,
                                                      const std::string& failure) {
    const std::string typed = m_ui.said();
    m_ui.await(completion);
    const auto start = BenchClock::now();
    screen.run(caption);
    if (!m_ui.arrived())
        throw std::runtime_error(failure + "; the screen said: " + m_ui.said() +
                                 " (while typing: " + typed + ")");
    return *m_ui.arrived() - start;
}

}  // namespace keltro::bench
