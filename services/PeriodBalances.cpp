#include "services/PeriodBalances.h"

#include "services/Money.h"

namespace keltro::services {

namespace {

// The movement column of a slot, as the table spells it (`Period2` and `Period3` on the
// plain side, `e_period2` and `e_period3` on the other).
std::string movementColumn(std::string_view prefix, int slot) {
    const std::string p(prefix);
    if (slot == kAdjustSlot) return p + "adjust";
    if (slot == kClosingSlot) return p + "closing";
    const bool capital = prefix.empty() && (slot == 1 || slot == 2);
    return p + (capital ? "Period" : "period") + std::to_string(slot + 1);
}

void addToSlot(PeriodSide& side, std::string_view periodCode, double value) {
    if (const auto slot = MovementSlot(periodCode))
        side.movements[*slot] = roundMoney(side.movements[*slot] + value);
}

// The names of the plain ("") and the other ("e_") side, made once: every balance row a
// posting moves is read by them.
const std::vector<std::string>& sideColumns(std::string_view prefix) {
    static const std::vector<std::string> plain = PeriodSideColumns("");
    static const std::vector<std::string> other = PeriodSideColumns("e_");
    return prefix.empty() ? plain : other;
}

// The first `count` columns of a side, where they sit in the rows of one result.
class SidePositions {
public:
    SidePositions(std::string_view prefix, std::size_t count)
        : m_positions([&] {
              const auto& all = sideColumns(prefix);
              return std::vector<std::string>(all.begin(), all.begin() + static_cast<long>(count));
          }()) {}
    const std::vector<std::size_t>& in(const db::Row& row) { return m_positions.in(row); }

private:
    db::ColumnPositions m_positions;
};

constexpr std::size_t kAllSideColumns = 1 + kMovementSlots + kPeriodCount + 1;
constexpr std::size_t kOpeningAndMovements = 1 + kMovementSlots;

// `prefix` is "" or "e_"; `whole` reads the period-end and year-to-date columns too.
PeriodSide readSide(const db::Row& row, std::string_view prefix, bool whole) {
    thread_local SidePositions plainWhole("", kAllSideColumns);
    thread_local SidePositions otherWhole("e_", kAllSideColumns);
    thread_local SidePositions plainMoves("", kOpeningAndMovements);
    thread_local SidePositions otherMoves("e_", kOpeningAndMovements);
    const bool plain = prefix.empty();
    SidePositions& columns = whole ? (plain ? plainWhole : otherWhole) : (plain ? plainMoves : otherMoves);
    const auto& positions = columns.in(row);
    auto position = positions.begin();
    const auto next = [&] { return row.at(*position++).numberOr(0.0); };
    PeriodSide side;
    side.opening = next();
    for (int slot = 0; slot < kMovementSlots; ++slot) side.movements[slot] = next();
    if (!whole) return side;
    for (int period = 0; period < kPeriodCount; ++period) side.periodEnd[period] = next();
    side.ytd = next();
    return side;
}

}  // namespace

std::optional<int> MovementSlot(std::string_view periodCode) {
    if (periodCode == "AD") return kAdjustSlot;
    if (periodCode == "CL") return kClosingSlot;
    // "1" .. "13", written without a leading zero.
    if (periodCode.empty() || periodCode.size() > 2 || periodCode.front() == '0') return std::nullopt;
    int period = 0;
    for (char digit : periodCode) {
        if (digit < '0' || digit > '9') return std::nullopt;
        period = period * 10 + (digit - '0');
    }
    if (period > kPeriodCount) return std::nullopt;
    return period - 1;
}

void AddPeriodAmount(PeriodBalances& row, std::string_view periodCode, double value) {
    addToSlot(row.plain, periodCode, value);
    RecalcPeriodBalances(row);
}

void AddPeriodAmountBase(PeriodBalances& row, std::string_view periodCode, double value) {
    addToSlot(row.base, periodCode, value);
    RecalcPeriodBalancesBase(row);
}

void RecalcPeriodBalances(PeriodBalances& row) { row.plain = RecalculatedSide(row.plain); }

void RecalcPeriodBalancesBase(PeriodBalances& row) { row.base = RecalculatedSide(row.base); }

PeriodSide RecalculatedSide(PeriodSide side) {
    double balance = side.opening;
    for (int period = 0; period < kPeriodCount; ++period) {
        balance = roundMoney(balance + side.movements[period]);
        side.periodEnd[period] = balance;
    }
    side.ytd = roundMoney(roundMoney(balance + side.movements[kAdjustSlot]) +
                          side.movements[kClosingSlot]);
    return side;
}

std::vector<std::string> PeriodSideColumns(std::string_view prefix) {
    const std::string p(prefix);
    std::vector<std::string> columns{p + "opening_balance"};
    for (int slot = 0; slot < kMovementSlots; ++slot)
        columns.push_back(movementColumn(prefix, slot));
    for (int period = 1; period <= kPeriodCount; ++period)
        columns.push_back(p + "balperiod" + std::to_string(period));
    columns.push_back(p + "ytd_balance");
    return columns;
}

PeriodBalances ReadPeriodBalances(const db::Row& row) {
    return {readSide(row, "", true), readSide(row, "e_", true)};
}

PeriodBalances ReadPeriodMovements(const db::Row& row) {
    return {readSide(row, "", false), readSide(row, "e_", false)};
}

std::vector<std::string> PeriodMovementColumns() {
    std::vector<std::string> columns;
    for (std::string_view prefix : {"", "e_"}) {
        const auto& side = sideColumns(prefix);
        columns.insert(columns.end(), side.begin(), side.begin() + static_cast<long>(kOpeningAndMovements));
    }
    return columns;
}

std::vector<double> PeriodSideValues(const PeriodSide& side) {
    std::vector<double> values{side.opening};
    values.insert(values.end(), side.movements.begin(), side.movements.end());
    values.insert(values.end(), side.periodEnd.begin(), side.periodEnd.end());
    values.push_back(side.ytd);
    return values;
}

}  // namespace keltro::services
