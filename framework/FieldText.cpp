#include "framework/FieldText.h"

#include "services/DateFormat.h"

namespace keltro::framework {

std::string trimmedText(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string dateText(const std::optional<db::Date>& date, const std::string& dateFormat) {
    return date ? services::FormatUserDate(*date, dateFormat) : std::string();
}

std::optional<db::Date> dateOfText(const std::string& text, const std::string& dateFormat) {
    const std::string typed = trimmedText(text);
    if (typed.empty()) return std::nullopt;
    services::RecordingUi silent;
    return services::ParseUserDate(silent, typed, dateFormat);
}

std::string retypedDate(services::Ui& ui, const std::string& typed, const std::string& dateFormat) {
    const std::string text = trimmedText(typed);
    if (text.empty()) return {};
    return dateText(services::ParseUserDate(ui, text, dateFormat), dateFormat);
}

}  // namespace keltro::framework
