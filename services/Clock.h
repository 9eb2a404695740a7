// Today's date and the time of day, from one place.
//
// Every rule that reads today (defaults of a new document, discounts, aging, reversal
// dates, due lists) asks the clock the host context carries, never the system directly,
// so that a test or a script can fix the day: `--today YYYY-MM-DD` on the command line or
// the KELTRO_TODAY environment variable.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "db/Value.h"

namespace keltro::services {

class Clock {
public:
    virtual ~Clock() = default;
    virtual db::Date today() const = 0;
    // The time of day as "hh:mm:ss".
    virtual std::string timeOfDay() const = 0;
};

class SystemClock final : public Clock {
public:
    db::Date today() const override;
    std::string timeOfDay() const override;
};

// A clock stopped on one day; the time of day still runs.
class FixedClock final : public Clock {
public:
    explicit FixedClock(db::Date day) : m_day(day) {}
    db::Date today() const override { return m_day; }
    std::string timeOfDay() const override;

private:
    db::Date m_day;
};

// The clock for a command: `todayOption` ("YYYY-MM-DD") when given, else KELTRO_TODAY when
// set, else the system's. Throws std::invalid_argument for a date that is not valid.
std::unique_ptr<Clock> makeClock(const std::optional<std::string>& todayOption);

}  // namespace keltro::services
