// What the benches share: how a run commits, the empty company it starts from, how long
// a run took, the person at the headless screens and the JSON line of a measurement.
//
// A bench drives a screen through `BenchDesk` exactly as a person would and times one
// command of it, from the command to the message that says it completed:
//
//     BenchDesk desk(db, clock);
//     desk.arclass().showform_ARform_receipt();
//     auto screen = desk.screen("ARform_receipt");
//     desk.ui().await("");                       // what is said while typing is kept
//     screen->enter("cmbcustno", "1001");
//     auto took = desk.timedCommand(*screen, "&Save", "Add new Receipt complete",
//                                   "The receipt was not saved");
//
// Modes: durable is the engine's own commit (SQLite in WAL mode with its default
// `synchronous`; PostgreSQL's default `synchronous_commit`); cpu takes the disk out of
// the commit (SQLite `synchronous=OFF`, PostgreSQL `synchronous_commit = off`).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/Database.h"
#include "framework/Screen.h"
#include "host/ARclass.h"
#include "host/Json.h"
#include "host/ScreenFactory.h"
#include "services/Clock.h"
#include "services/Ui.h"

namespace keltro::bench {

using BenchClock = std::chrono::steady_clock;

enum class CommitMode { Durable, Cpu };

std::string_view modeName(CommitMode mode);  // "durable" or "cpu"

// Sets how the connection commits. The durable mode restores what the connection had
// when the bench first changed it.
class CommitSettings {
public:
    explicit CommitSettings(db::Database& db);
    void apply(CommitMode mode);

private:
    db::Database& m_db;
    std::string m_defaultSynchronous;  // SQLite's value when the connection opened
};

// Creates the suite's tables and the demo company in an empty database, in one
// transaction, around `today`.
void prepareBenchDatabase(db::Database& db, const db::Date& today);

// Moves what SQLite's write-ahead log holds into the database file, so that the next
// timed run does not pay for what an earlier one wrote; nothing on PostgreSQL.
void checkpointLog(db::Database& db);

// How long `count` documents took.
struct Timing {
    long count = 0;
    std::chrono::duration<double> elapsed{0};

    double perSecond() const;
    double msEach() const;
    Timing& operator+=(const Timing& more) {
        count += more.count;
        elapsed += more.elapsed;
        return *this;
    }
};

// The screen and the floor take turns, `round` documents each, until each has done
// `count`, so that a slower stretch of the machine (or the engine's housekeeping) falls on
// both alike. `run(screenOrFloor, n)` times n documents. A first round of each is not
// counted: it pays what comes once (statements prepared, caches filled, the write-ahead
// log grown back to its working size after a checkpoint), which would otherwise fall on
// whichever side went first.
template <class Run>
void takeTurns(long count, long round, Timing& screen, Timing& floor, Run run) {
    const long warmUp = std::min(round, count);
    run(true, warmUp);
    run(false, warmUp);
    for (long done = 0; done < count; done += round) {
        const long n = std::min(round, count - done);
        screen += run(true, n);
        floor += run(false, n);
    }
}

// The screen's rate over the floor's; 0 without a floor.
double ratio(const Timing& screen, const Timing& floor);

// A number as JSON text with a fixed count of decimals ("812.4").
std::string fixedJson(double value, int decimals);

// The screen's and the floor's figures under the names every bench uses, added to `line`:
// "count", "per_s", "floor_per_s", "ratio", "ms_per_<what>", "floor_ms_per_<what>".
host::JsonObjectWriter& addRates(host::JsonObjectWriter& line, const Timing& screen,
                                 const Timing& floor, std::string_view what);

// A person who answers every question "No" and notes when the awaited message came.
class CompletionUi final : public services::Ui {
public:
    // Waits for `text` from now on; forgets what was said before.
    void await(std::string text);
    const std::optional<BenchClock::time_point>& arrived() const { return m_arrived; }
    // Everything said since `await`, " / " between texts; "nothing" for silence.
    std::string said() const;

    void message(const std::string& text) override;
    void warn(const std::string& text) override;
    bool ask(const std::string& text) override;
    void progress(long, long) override {}
    void pumpEvents() override {}

private:
    std::string m_awaited;
    std::optional<BenchClock::time_point> m_arrived;
    std::vector<std::string> m_said;
};

// `ARclass` on the bench database as the host sets it up (user admin, dd/mm/yyyy, twelve
// periods, the company's base currency), with the screens kept headless.
class BenchDesk {
public:
    static constexpr const char* kDateFormat = "dd/mm/yyyy";

    BenchDesk(db::Database& db, const services::Clock& clock);
    BenchDesk(const BenchDesk&) = delete;
    BenchDesk& operator=(const BenchDesk&) = delete;

    host::ARclass& arclass() { return m_arclass; }
    CompletionUi& ui() { return m_ui; }
    const services::Clock& clock() const { return m_clock; }
    // Today as the person types it.
    std::string todayText() const;

    // The screen of the class that `ARclass` references now; throws std::runtime_error
    // when none is open.
    std::shared_ptr<framework::Screen> screen(const std::string& className) const;

    // Runs the command `caption`; the time until the screen said `completion`. Throws
    // std::runtime_error with `failure`, what the screen said and what it said while the
    // document was typed (since the last `ui().await`) when it never said it.
    std::chrono::duration<double> timedCommand(framework::Screen& screen,
                                               const std::string& caption,
                                               const std::string& completion,
                                               const std::string& failure);

private:
    const services::Clock& m_clock;
    CompletionUi m_ui;
    host::HeadlessScreenFactory m_factory;
    host::ARclass m_arclass;
};

}  // namespace keltro::bench
