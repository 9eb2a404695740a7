// The working period: which fiscal periods documents may still be saved into.
//
// `COA_config_table` (one row) can switch on a working window, from a start period of a
// fiscal year to an end period of the same or a later year. A document whose period lies
// outside it is refused, unless history updates are allowed and the period lies in the
// allowed (earlier) window.
//
// Periods compare as one text key: the fiscal year followed by the period as two digits,
// so period 3 of "2024" is "202403" and lies after "202312" and before "202410". A
// missing period leaves the year alone ("2024"), which sorts before every period of it.
//
//     if (!checkWorkingPeriod(db, ui, header.fyear, *header.period)) return false;
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "db/Database.h"
#include "services/Ui.h"

namespace keltro::store {

inline constexpr std::string_view kOutOfWorkingPeriod =
    "Fiscal period/year is out of working period.";

// "2024" and 3 give "202403".
std::string periodKey(std::string_view fyear, std::optional<int> period);

struct PeriodWindow {
    std::string startFyear;
    std::optional<int> startPeriod;
    std::string endFyear;
    std::optional<int> endPeriod;

    // Start and end included.
    bool contains(const std::string& key) const;
};

struct WorkingPeriodConfig {
    bool activated = false;  // `activate_working_period`
    PeriodWindow working;
    bool allowHistoryUpdate = false;
    PeriodWindow allowed;
};

// The configuration row; nothing when the table is empty.
std::optional<WorkingPeriodConfig> loadWorkingPeriodConfig(db::Database& db);

// Whether a document of `fyear` and `period` may be saved. The check applies only when it
// is activated and the working window has an end period; outside the working window a
// document passes only with history updates allowed and, when the allowed window has an
// end period, inside that window.
bool isWithinWorkingPeriod(const WorkingPeriodConfig& config, std::string_view fyear, int period);

// Reads the configuration and checks; when refused, says kOutOfWorkingPeriod.
bool checkWorkingPeriod(db::Database& db, services::Ui& ui, std::string_view fyear, int period);

}  // namespace keltro::store
