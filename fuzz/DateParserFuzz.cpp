// The date parser on anything a person may type, in every date format the suite offers:
// a refusal is a message and the empty date, never a crash; an accepted date is a real
// day and reads back the same in its own format.
#include <cstdlib>

#include "fuzz/FuzzInput.h"
#include "services/DateFormat.h"
#include "services/Ui.h"

namespace {

constexpr const char* kFormats[] = {"dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd", "dd-mm-yyyy",
                                    "dd.mm.yy",   "yyyymmdd",   "mm-dd-yy",   ""};

int daysIn(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace keltro;
    const auto input = fuzz::split(data, size);
    const char* format = kFormats[input.choice % std::size(kFormats)];
    services::RecordingUi ui;
    const auto date = services::ParseUserDate(ui, input.text, format);
    if (date) {
        if (date->month < 1 || date->month > 12 || date->day < 1 ||
            date->day > daysIn(date->year, date->month))
            std::abort();
        const std::string shown = services::FormatUserDate(*date, format);
        services::RecordingUi again;
        if (*format && services::ParseUserDate(again, shown, format) != date) std::abort();
    }
    services::ParseUserDateToText(ui, input.text, format);
    services::FormatStoredDate(ui, input.text, format);
    services::StoredDateToNeutralText(ui, input.text);
    return 0;
}
