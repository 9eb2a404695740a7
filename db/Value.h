// A value read from or bound to the database.
//
// The suite's tables hold text, whole numbers, amounts (doubles), yes/no flags and dates.
// A column may also be Null, and Null is never the same as 0 or "": a header without a
// due date has a Null `due_date`, not an empty one. `Value` keeps that distinction and
// converts leniently between the storage forms of the two engines: SQLite keeps flags as
// 0/1 and dates as "YYYY-MM-DD" text, PostgreSQL has real boolean and date types, and the
// accessors below read either.
//
//     Value v = row["due_date"];
//     if (auto d = v.date()) { ... }   // std::nullopt when Null
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace keltro::db {

// A calendar date without time of day.
struct Date {
    int year = 0;
    int month = 0;
    int day = 0;

    auto operator<=>(const Date&) const = default;

    // "YYYY-MM-DD", the form both engines store and compare.
    std::string iso() const;
    // Parses "YYYY-MM-DD" (a trailing time part is ignored); nullopt for anything else.
    static std::optional<Date> fromIso(std::string_view text);
};

class Value {
public:
    using Storage = std::variant<std::monostate, std::int64_t, double, std::string, bool, Date>;

    Value() = default;  // Null
    Value(std::nullptr_t) {}
    Value(int v) : m_v(std::int64_t{v}) {}
    Value(long v) : m_v(std::int64_t{v}) {}
    Value(long long v) : m_v(std::int64_t{v}) {}
    Value(double v) : m_v(v) {}
    Value(bool v) : m_v(v) {}
    Value(const char* v) : m_v(std::string(v)) {}
    Value(std::string v) : m_v(std::move(v)) {}
    Value(std::string_view v) : m_v(std::string(v)) {}
    Value(Date v) : m_v(v) {}
    template <class T>
    Value(const std::optional<T>& v) {
        if (v) *this = Value(*v);
    }

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    // Becomes the text, reusing the room of the text it held (a streamed row's columns
    // are refilled this way without allocating for each row).
    void assignText(std::string_view text);
    const Storage& storage() const { return m_v; }

    // Each accessor gives nullopt for Null and for a value that cannot be read as asked.
    std::optional<std::string> text() const;
    std::optional<double> number() const;
    std::optional<std::int64_t> integer() const;
    std::optional<bool> boolean() const;
    std::optional<Date> date() const;

    // The same, with a fallback for Null (and for unreadable values).
    std::string textOr(std::string fallback = {}) const { return text().value_or(std::move(fallback)); }
    double numberOr(double fallback = 0.0) const { return number().value_or(fallback); }
    std::int64_t integerOr(std::int64_t fallback = 0) const { return integer().value_or(fallback); }
    bool booleanOr(bool fallback = false) const { return boolean().value_or(fallback); }

    bool operator==(const Value& other) const = default;

private:
    Storage m_v;
};

using Params = std::vector<Value>;

}  // namespace keltro::db
