// The filter fields the report screens share: the customer chosen by number or by name,
// date ranges and groups of option buttons.
#pragma once

#include <string>
#include <vector>

#include "framework/ScreenParts.h"

namespace keltro::reports {

// `cmbcustno` and `cmbcustname`, the customer look-ups of the report screens (number
// centred).
std::vector<framework::Field> customerFields();

// A from/to range of dates: `name` holds the first day and `name` + "_to" the last, e.g.
// `cal1` and `cal1_to` for "Invoice date".
std::vector<framework::Field> dateRangeFields(const std::string& name, const std::string& caption);

struct OptionButton {
    const char* name;
    const char* caption;
};

// A group of option buttons of which `chosen` starts set ("1"); an empty `chosen` leaves
// them all clear.
std::vector<framework::Field> optionFields(const std::vector<OptionButton>& buttons,
                                           const std::string& chosen);

}  // namespace keltro::reports
