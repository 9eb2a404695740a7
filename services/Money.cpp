#include "services/Money.h"

#include <algorithm>
#include <cmath>

namespace keltro::services {

namespace {

// Relative distance from a tie below which the value is taken as the tie, and the most
// that distance may be in units of the last place: without the cap, an amount of hundreds
// of billions (a currency of small units) would lie "at a tie" whatever its cents, and
// lose them.
constexpr double kTieTolerance = 1e-13;
constexpr double kMostTieDistance = 1.0 / 256;
// Beyond 2^52 a double has no fractional part left to round.
constexpr double kNoFraction = 4503599627370496.0;

bool isEven(double whole) { return whole == 2.0 * std::floor(whole / 2.0); }

// 10^0 .. 10^15, exact in a double.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The scaled value rounded to a whole number, ties (within the tolerance) to even.
double roundScaled(double scaled) {
    const double below = std::floor(scaled);
    const double fraction = scaled - below;
    const double tolerance = std::min(kMostTieDistance, kTieTolerance * std::max(1.0, std::fabs(scaled)));
    if (std::fabs(fraction - 0.5) <= tolerance) return isEven(below) ? below : below + 1.0;
    return fraction < 0.5 ? below : below + 1.0;
}

}  // namespace

double roundHalfEven(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    const double scale = kPowersOfTen[decimals];
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= kNoFraction) return value;
    const double rounded = roundScaled(scaled) / scale;
    return rounded == 0.0 ? 0.0 : rounded;
}

double roundMoney(double amount) { return roundHalfEven(amount, 2); }

}  // namespace keltro::services
