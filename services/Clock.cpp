#include "services/Clock.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace keltro::services {

namespace {

std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string formatTime(const std::tm& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

// "HH:MM:SS" now. A save stamps every row it writes with the time, so the text of the
// current second is kept and made again only when the second has passed.
std::string timeNow() {
    thread_local std::time_t second = -1;
    thread_local std::string text;
    const std::time_t now = std::time(nullptr);
    if (now != second) {
        std::tm local{};
        localtime_r(&now, &local);
        text = formatTime(local);
        second = now;
    }
    return text;
}

}  // namespace

db::Date SystemClock::today() const {
    const std::tm t = localNow();
    return db::Date{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

std::string SystemClock::timeOfDay() const { return timeNow(); }

std::string FixedClock::timeOfDay() const { return timeNow(); }

std::unique_ptr<Clock> makeClock(const std::optional<std::string>& todayOption) {
    std::optional<std::string> text = todayOption;
    if (!text) {
        if (const char* env = std::getenv("KELTRO_TODAY"); env && *env) text = env;
    }
    if (!text) return std::make_unique<SystemClock>();
    auto day = db::Date::fromIso(*text);
    if (!day || text->size() != 10)
        throw std::invalid_argument("\"" + *text + "\" is not a date of the form YYYY-MM-DD");
    return std::make_unique<FixedClock>(*day);
}

}  // namespace keltro::services
