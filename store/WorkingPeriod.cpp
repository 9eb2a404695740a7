#include "store/WorkingPeriod.h"

#include "store/ColumnValues.h"

namespace keltro::store {

namespace {

PeriodWindow readWindow(const db::Row& row, const std::string& prefix) {
    return {row[prefix + "_start_fyear"].textOr(), optionalInt(row[prefix + "_start_period"]),
            row[prefix + "_end_fyear"].textOr(), optionalInt(row[prefix + "_end_period"])};
}

}  // namespace

std::string periodKey(std::string_view fyear, std::optional<int> period) {
    std::string key(fyear);
    if (period) key += (*period >= 0 && *period < 10 ? "0" : "") + std::to_string(*period);
    return key;
}

bool PeriodWindow::contains(const std::string& key) const {
    return key >= periodKey(startFyear, startPeriod) && key <= periodKey(endFyear, endPeriod);
}

std::optional<WorkingPeriodConfig> loadWorkingPeriodConfig(db::Database& db) {
    auto row = db.queryOne("SELECT * FROM COA_config_table");
    if (!row) return std::nullopt;
    return WorkingPeriodConfig{(*row)["activate_working_period"].booleanOr(false),
                               readWindow(*row, "working"),
                               (*row)["allow_history_update"].booleanOr(false),
                               readWindow(*row, "allow")};
}

bool isWithinWorkingPeriod(const WorkingPeriodConfig& config, std::string_view fyear, int period) {
    if (!config.activated || !config.working.endPeriod) return true;
    const std::string key = periodKey(fyear, period);
    if (config.working.contains(key)) return true;
    if (!config.allowHistoryUpdate) return false;
    return !config.allowed.endPeriod || config.allowed.contains(key);
}

bool checkWorkingPeriod(db::Database& db, services::Ui& ui, std::string_view fyear, int period) {
    const auto config = loadWorkingPeriodConfig(db);
    if (!config || isWithinWorkingPeriod(*config, fyear, period)) return true;
    ui.message(std::string(kOutOfWorkingPeriod));
    return false;
}

}  // namespace keltro::store
