// The amount parser on anything typed into an amount cell, and what the screens do with
// the number next: round it half to even and show it in the suite's patterns. Nothing
// may crash or overflow, whatever the number (huge, tiny, not a number, infinite).
#include <cmath>
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "services/DateFormat.h"
#include "services/Money.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keltro;
    const auto input = fuzz::split(data, size);
    const double amount = services::ParseAmountText(input.text);
    const double rounded = services::roundMoney(amount);
    if (std::isfinite(amount) && !std::isfinite(rounded)) std::abort();
    services::FormatAmount(rounded);
    services::FormatAmount(amount);
    for (const char* pattern : {"#,##0", "#,##0.00", "#,##0.000", "0.00"})
        services::FormatNumber(amount, pattern);
    services::roundHalfEven(amount, input.choice % 8);
    return 0;
}
