#include "services/DateFormat.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <optional>

#include "services/Money.h"

namespace keltro::services {

namespace {

constexpr std::array<const char*, 12> kMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr int kFirstYear = 1990;
constexpr int kLastNearYear = 2030;
constexpr int kFirstFarYear = 2530;

// ---- Reading numbers ---------------------------------------------------------------

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// The number at the start of the text (blanks, sign, digits, fraction, exponent); 0 when
// the text does not start with one.
double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t start = i;
    i = skipDigits(text, i);
    if (i < text.size() && text[i] == '.') i = skipDigits(text, i + 1);
    if (i == start || (i == start + 1 && text[start] == '.')) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (const std::size_t end = skipDigits(text, e); end > e) i = end;
    }
    double value = 0.0;
    std::from_chars(text.data() + start, text.data() + i, value);
    return negative ? -value : value;
}

// The text, without blanks around it, read as a whole number; nullopt for anything else.
std::optional<int> wholeNumber(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// ---- The date rules ----------------------------------------------------------------

// Positions (1 to 3) of the month, day and year parts of a typed date.
struct Layout {
    int month;
    int day;
    int year;
};

std::optional<Layout> layoutOf(std::string_view dateFormat) {
    const std::string format = lowerCase(dateFormat);
    const auto has = [&](const char* piece) { return format.find(piece) != std::string::npos; };
    if (has("/mm/")) return has("dd/") ? Layout{2, 1, 3} : Layout{2, 3, 1};
    if (has("mm/")) return has("/dd/") ? Layout{1, 2, 3} : Layout{1, 3, 2};
    if (has("/dd/")) return Layout{3, 2, 1};
    return std::nullopt;
}

// A date as its three texts, before any check.
struct DateTexts {
    std::string year;
    std::string month;
    std::string day;
};

std::optional<DateTexts> splitTyped(std::string_view typed, const Layout& layout) {
    const std::size_t first = typed.find('/');
    if (first == std::string_view::npos) return std::nullopt;
    const std::size_t second = typed.find('/', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    const std::array<std::string_view, 3> parts = {typed.substr(0, first),
                                                   typed.substr(first + 1, second - first - 1),
                                                   typed.substr(second + 1)};
    return DateTexts{std::string(parts[static_cast<std::size_t>(layout.year - 1)]),
                     std::string(parts[static_cast<std::size_t>(layout.month - 1)]),
                     std::string(parts[static_cast<std::size_t>(layout.day - 1)])};
}

DateTexts splitStored(std::string_view stored) {
    const auto piece = [&](std::size_t at, std::size_t length) {
        return at < stored.size() ? std::string(stored.substr(at, length)) : std::string();
    };
    return DateTexts{piece(0, 4), piece(4, 2), piece(6, 2)};
}

bool isYearAccepted(double year) {
    return year >= kFirstYear && (year <= kLastNearYear || year >= kFirstFarYear);
}

// The range checks typed dates go through before the calendar: month, day, year.
bool checkRanges(Ui& ui, const DateTexts& texts) {
    if (leadingNumber(texts.month) > 12) {
        ui.message("Month is invalid (" + texts.month + ")");
        return false;
    }
    if (leadingNumber(texts.day) > 31) {
        ui.message("date is invalid (" + texts.day + ")");
        return false;
    }
    if (!isYearAccepted(leadingNumber(texts.year))) {
        ui.message("year is invalid (" + texts.year + ")");
        return false;
    }
    return true;
}

// The calendar day the neutral text's parts name, if any.
std::optional<db::Date> calendarDate(int month, const DateTexts& texts) {
    const auto day = wholeNumber(texts.day);
    const auto year = wholeNumber(texts.year);
    if (!day || !year || *day < 1 || *day > 31 || *year < 100 || *year > 9999)
        return std::nullopt;
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", *year, month, *day);
    return db::Date::fromIso(iso);
}

// Month name + " " + day + ", " + year, with the day and year as they were written.
std::string neutralText(int month, const DateTexts& texts) {
    return std::string(kMonthNames[static_cast<std::size_t>(month - 1)]) + " " + texts.day +
           ", " + texts.year;
}

// The month's name and the calendar check, common to typed and stored dates.
std::optional<db::Date> checkCalendar(Ui& ui, const DateTexts& texts) {
    const double month = leadingNumber(texts.month);
    if (month < 1 || month > 12 || month != std::floor(month)) {
        ui.message("Month is invalid (" + texts.month + ")");
        return std::nullopt;
    }
    const int monthNumber = static_cast<int>(month);
    auto date = calendarDate(monthNumber, texts);
    if (!date) ui.message("Date is invalid (" + neutralText(monthNumber, texts) + ")");
    return date;
}

std::optional<db::Date> parseTyped(Ui& ui, std::string_view typed, std::string_view dateFormat) {
    const auto layout = layoutOf(dateFormat);
    if (!layout) {
        ui.message("Error : User_Form_Dateformat:date_format is not valid");
        return std::nullopt;
    }
    const auto texts = splitTyped(typed, *layout);
    if (!texts || !checkRanges(ui, *texts)) return std::nullopt;
    return checkCalendar(ui, *texts);
}

std::string eightDigits(const db::Date& date) {
    char out[16];
    std::snprintf(out, sizeof out, "%04d%02d%02d", date.year, date.month, date.day);
    return out;
}

std::string twoDigits(int value) {
    char out[16];
    std::snprintf(out, sizeof out, "%02d", value);
    return out;
}

std::string dateFormatOf(const db::Row& record) { return record["date_format"].textOr(); }

// ---- Number text -------------------------------------------------------------------

std::string groupThousands(const std::string& digits) {
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// A rounded value as digits, point and (grouped) commas, worked out in whole units of its
// last place: the common case, a fraction of the cost of printf and the string work after
// it, which matters to a report of a million lines. Below 2^50 units the double lies
// within a quarter unit of the decimal it was rounded to, so the units are exact and the
// text is printf's; beyond, and for more places than the table holds, empty.
std::optional<std::string> formatWhole(double rounded, int decimals, bool grouped) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    static constexpr double kWholeUnits = 1125899906842624.0;  // 2^50
    if (decimals < 0 || decimals >= static_cast<int>(std::size(kPowersOfTen))) return std::nullopt;
    const double scaled = std::fabs(rounded) * kPowersOfTen[decimals];
    if (!(scaled < kWholeUnits)) return std::nullopt;
    auto units = static_cast<std::uint64_t>(std::llround(scaled));
    char buffer[40];
    char* const end = buffer + sizeof buffer;
    char* at = end;
    for (int place = 0; place < decimals; ++place, units /= 10) *--at = static_cast<char>('0' + units % 10);
    if (decimals > 0) *--at = '.';
    for (int run = 0;; ++run, units /= 10) {
        if (grouped && run != 0 && run % 3 == 0) *--at = ',';
        *--at = static_cast<char>('0' + units % 10);
        if (units < 10) break;
    }
    if (rounded < 0) *--at = '-';
    return std::string(at, end);
}

}  // namespace

std::optional<db::Date> ParseUserDate(Ui& ui, std::string_view typed,
                                      std::string_view dateFormat) {
    return parseTyped(ui, typed, dateFormat);
}

std::optional<std::string> ParseUserDateToText(Ui& ui, std::string_view typed,
                                               std::string_view dateFormat) {
    const auto date = parseTyped(ui, typed, dateFormat);
    if (!date) return std::nullopt;
    return eightDigits(*date);
}

std::optional<std::string> ParseUserDateToText(Ui& ui, std::string_view typed,
                                               const db::Row& dateFormatRecord) {
    return ParseUserDateToText(ui, typed, dateFormatOf(dateFormatRecord));
}

std::string FormatStoredDate(Ui& ui, std::string_view stored, std::string_view dateFormat) {
    if (stored.empty()) return {};
    const auto date = checkCalendar(ui, splitStored(stored));
    return date ? FormatUserDate(*date, dateFormat) : std::string();
}

std::string FormatStoredDate(Ui& ui, std::string_view stored, const db::Row& dateFormatRecord) {
    return FormatStoredDate(ui, stored, dateFormatOf(dateFormatRecord));
}

std::string StoredDateToNeutralText(Ui& ui, std::string_view stored) {
    const DateTexts texts = splitStored(stored);
    const auto date = checkCalendar(ui, texts);
    return date ? neutralText(date->month, texts) : std::string();
}

std::string FormatUserDate(const db::Date& date, std::string_view dateFormat) {
    const std::string format = lowerCase(dateFormat);
    std::string out;
    for (std::size_t i = 0; i < format.size();) {
        const std::string_view rest = std::string_view(format).substr(i);
        if (rest.starts_with("yyyy")) {
            out += std::to_string(date.year);
            i += 4;
        } else if (rest.starts_with("yy")) {
            out += twoDigits(date.year % 100);
            i += 2;
        } else if (rest.starts_with("dd") || rest.starts_with("mm")) {
            out += twoDigits(rest[0] == 'd' ? date.day : date.month);
            i += 2;
        } else {
            out += dateFormat[i++];
        }
    }
    return out;
}

std::string NeutralDateText(const db::Date& date) {
    const bool knownMonth = date.month >= 1 && date.month <= 12;
    const std::string month =
        knownMonth ? kMonthNames[static_cast<std::size_t>(date.month - 1)] : "???";
    return month + " " + twoDigits(date.day) + ", " + std::to_string(date.year);
}

double ParseAmountText(std::string_view text) {
    std::string plain(text);
    std::erase(plain, ',');
    return leadingNumber(plain);
}

std::string FormatAmount(double amount) { return FormatNumber(amount, "#,##0.00"); }

std::string FormatNumber(double value, std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    const std::string_view places =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const auto decimals = static_cast<int>(
        std::count_if(places.begin(), places.end(), [](char c) { return c == '0' || c == '#'; }));
    const double rounded = roundHalfEven(value, decimals);
    const bool grouped = pattern.find(',') != std::string_view::npos;
    if (const auto text = formatWhole(rounded, decimals, grouped)) return *text;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, std::fabs(rounded));
    std::string digits = buffer;
    std::string fraction;
    if (const std::size_t dot = digits.find('.'); dot != std::string::npos) {
        fraction = digits.substr(dot);
        digits.resize(dot);
    }
    if (grouped) digits = groupThousands(digits);
    return (rounded < 0 ? "-" : "") + digits + fraction;
}

std::string AmountFormatForDecimals(std::optional<int> decimals) {
    const int places = decimals.value_or(0);
    return places > 0 ? "#,##0." + std::string(static_cast<std::size_t>(places), '0') : "#,##0";
}

std::string ComputerName() {
    char name[512] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

}  // namespace keltro::services
