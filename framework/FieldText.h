// Reading and writing the text of fields the way every screen does: codes and numbers are
// taken without surrounding blanks, dates are shown in the user's date format.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db/Value.h"
#include "services/Ui.h"

namespace keltro::framework {

// Control name and text, in the order they are shown.
using FieldValues = std::vector<std::pair<std::string, std::string>>;

// The text without blanks, tabs or line breaks at either end.
std::string trimmedText(const std::string& text);

// A date in the user's format ("dd/mm/yyyy" …); empty for none.
std::string dateText(const std::optional<db::Date>& date, const std::string& dateFormat);

// The date a text shows in the user's format; nullopt when empty or not a date. Nothing
// is said to the person (the field's own check has spoken when it was typed).
std::optional<db::Date> dateOfText(const std::string& text, const std::string& dateFormat);

// What a date field shows once a person has typed into it: the date again in the user's
// format, or "" after the refusal message ("Month is invalid (13)" …); an empty field
// stays empty.
std::string retypedDate(services::Ui& ui, const std::string& typed, const std::string& dateFormat);

}  // namespace keltro::framework
