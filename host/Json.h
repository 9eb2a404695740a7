// Just enough JSON for the automation protocol: one step object per line in, one event
// object per line out.
//
// `Json` is a parsed value (objects keep their keys in order); `parseJson` throws
// `JsonError` with the position of the first mistake. `JsonObjectWriter` writes an object
// member by member, escaping text so that any customer name survives the trip.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace keltro::host {

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Json {
public:
    using Array = std::vector<Json>;
    using Object = std::vector<std::pair<std::string, Json>>;

    Json() = default;  // null
    explicit Json(bool b) : m_v(b) {}
    explicit Json(double d) : m_v(d) {}
    explicit Json(std::string s) : m_v(std::move(s)) {}
    explicit Json(Array a) : m_v(std::move(a)) {}
    explicit Json(Object o) : m_v(std::move(o)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isObject() const { return std::holds_alternative<Object>(m_v); }
    const std::string* string() const { return std::get_if<std::string>(&m_v); }
    const double* number() const { return std::get_if<double>(&m_v); }
    const bool* boolean() const { return std::get_if<bool>(&m_v); }
    const Array* array() const { return std::get_if<Array>(&m_v); }
    const Object* object() const { return std::get_if<Object>(&m_v); }
    // A member of an object; null when absent or not an object.
    const Json* member(std::string_view key) const;
    // A member as text: strings as they are, numbers without a needless ".0".
    std::optional<std::string> text(std::string_view key) const;

private:
    std::variant<std::monostate, bool, double, std::string, Array, Object> m_v;
};

Json parseJson(std::string_view text);

// The JSON text of a string, quotes included.
std::string jsonQuote(std::string_view text);

// Writes {"a":…,"b":…} one member at a time.
class JsonObjectWriter {
public:
    JsonObjectWriter& text(std::string_view key, std::string_view value);
    JsonObjectWriter& number(std::string_view key, double value);
    JsonObjectWriter& raw(std::string_view key, std::string_view json);  // already JSON
    std::string str() const { return "{" + m_body + "}"; }

private:
    void key(std::string_view k);
    std::string m_body;
};

// Number text without a needless fraction: 3 → "3", 2.5 → "2.5".
std::string jsonNumber(double value);

}  // namespace keltro::host
