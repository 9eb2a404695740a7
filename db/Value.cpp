#include "db/Value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace keltro::db {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;  // for compilers without aggregate deduction

bool parseInt(std::string_view text, int& out) {
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && ptr == text.data() + text.size();
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

std::string formatDouble(double v) {
    char buf[64];
    // Shortest text that reads back as the same double.
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, ptr) : std::to_string(v);
}

}  // namespace

void Value::assignText(std::string_view text) {
    if (auto* held = std::get_if<std::string>(&m_v))
        held->assign(text);
    else
        m_v = std::string(text);
}

std::string Date::iso() const {
    if (year < 0 || year > 9999 || month < 0 || month > 99 || day < 0 || day > 99) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
        return buf;
    }
    // Dates are written for every saved row; this is the common case, without printf.
    std::string text = "0000-00-00";
    const auto digits = [&](std::size_t end, int value, int width) {
        for (int i = 0; i < width; ++i, value /= 10)
            text[end - i] = static_cast<char>('0' + value % 10);
    };
    digits(3, year, 4);
    digits(6, month, 2);
    digits(9, day, 2);
    return text;
}

std::optional<Date> Date::fromIso(std::string_view text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    if (text.size() > 10 && text[10] != ' ' && text[10] != 'T') return std::nullopt;
    Date d;
    if (!parseInt(text.substr(0, 4), d.year) || !parseInt(text.substr(5, 2), d.month) ||
        !parseInt(text.substr(8, 2), d.day))
        return std::nullopt;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > daysInMonth(d.year, d.month))
        return std::nullopt;
    return d;
}

std::optional<std::string> Value::text() const {
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::optional<std::string> { return std::nullopt; },
            [](std::int64_t v) -> std::optional<std::string> { return std::to_string(v); },
            [](double v) -> std::optional<std::string> { return formatDouble(v); },
            [](const std::string& v) -> std::optional<std::string> { return v; },
            [](bool v) -> std::optional<std::string> { return v ? "1" : "0"; },
            [](const Date& v) -> std::optional<std::string> { return v.iso(); },
        },
        m_v);
}

std::optional<double> Value::number() const {
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::optional<double> { return std::nullopt; },
            [](std::int64_t v) -> std::optional<double> { return static_cast<double>(v); },
            [](double v) -> std::optional<double> { return v; },
            [](const std::string& v) -> std::optional<double> {
                double out = 0;
                auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
                if (ec != std::errc() || ptr != v.data() + v.size()) return std::nullopt;
                return out;
            },
            [](bool v) -> std::optional<double> { return v ? 1.0 : 0.0; },
            [](const Date&) -> std::optional<double> { return std::nullopt; },
        },
        m_v);
}

std::optional<std::int64_t> Value::integer() const {
    if (const auto* i = std::get_if<std::int64_t>(&m_v)) return *i;
    if (const auto* b = std::get_if<bool>(&m_v)) return *b ? 1 : 0;
    if (const auto* s = std::get_if<std::string>(&m_v)) {
        std::int64_t out = 0;
        auto [ptr, ec] = std::from_chars(s->data(), s->data() + s->size(), out);
        if (ec == std::errc() && ptr == s->data() + s->size()) return out;
    }
    if (auto d = number(); d && std::isfinite(*d) && *d == std::trunc(*d))
        return static_cast<std::int64_t>(*d);
    return std::nullopt;
}

std::optional<bool> Value::boolean() const {
    if (const auto* b = std::get_if<bool>(&m_v)) return *b;
    if (const auto* s = std::get_if<std::string>(&m_v)) {
        if (*s == "t" || *s == "true" || *s == "TRUE" || *s == "1") return true;
        if (*s == "f" || *s == "false" || *s == "FALSE" || *s == "0") return false;
        return std::nullopt;
    }
    if (auto n = number()) return *n != 0.0;
    return std::nullopt;
}

std::optional<Date> Value::date() const {
    if (const auto* d = std::get_if<Date>(&m_v)) return *d;
    if (const auto* s = std::get_if<std::string>(&m_v)) return Date::fromIso(*s);
    return std::nullopt;
}

}  // namespace keltro::db
