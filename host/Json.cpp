#include "host/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace keltro::host {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    Json parseDocument() {
        Json value = parseValue();
        skipSpace();
        if (m_pos != m_text.size()) fail("unexpected text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw JsonError("JSON: " + what + " at character " + std::to_string(m_pos + 1));
    }

    void skipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    char peek() {
        skipSpace();
        if (m_pos >= m_text.size()) fail("unexpected end");
        return m_text[m_pos];
    }

    void expect(char c) {
        if (peek() != c) fail(std::string("expected '") + c + "'");
        ++m_pos;
    }

    bool consumeWord(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word) return false;
        m_pos += word.size();
        return true;
    }

    Json parseValue() {
        const char c = peek();
        if (c == '{') return parseObject();
        if (c == '[') return parseArray();
        if (c == '"') return Json(parseString());
        if (consumeWord("true")) return Json(true);
        if (consumeWord("false")) return Json(false);
        if (consumeWord("null")) return Json();
        return Json(parseNumber());
    }

    Json parseObject() {
        expect('{');
        Json::Object members;
        if (peek() == '}') {
            ++m_pos;
            return Json(std::move(members));
        }
        for (;;) {
            if (peek() != '"') fail("expected a member name");
            std::string key = parseString();
            expect(':');
            members.emplace_back(std::move(key), parseValue());
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            expect('}');
            return Json(std::move(members));
        }
    }

    Json parseArray() {
        expect('[');
        Json::Array items;
        if (peek() == ']') {
            ++m_pos;
            return Json(std::move(items));
        }
        for (;;) {
            items.push_back(parseValue());
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            expect(']');
            return Json(std::move(items));
        }
    }

    double parseNumber() {
        const char* begin = m_text.data() + m_pos;
        double value = 0;
        auto [end, ec] = std::from_chars(begin, m_text.data() + m_text.size(), value);
        if (ec != std::errc() || end == begin) fail("expected a value");
        m_pos += static_cast<std::size_t>(end - begin);
        return value;
    }

    unsigned hex4() {
        if (m_pos + 4 > m_text.size()) fail("short \\u escape");
        unsigned code = 0;
        auto [end, ec] = std::from_chars(m_text.data() + m_pos, m_text.data() + m_pos + 4, code, 16);
        if (ec != std::errc() || end != m_text.data() + m_pos + 4) fail("bad \\u escape");
        m_pos += 4;
        return code;
    }

    static void appendUtf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    void parseEscape(std::string& out) {
        if (m_pos >= m_text.size()) fail("unfinished escape");
        const char e = m_text[m_pos++];
        switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned cp = hex4();
                if (cp >= 0xD800 && cp <= 0xDBFF && consumeWord("\\u")) {
                    const unsigned low = hex4();
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, cp);
                break;
            }
            default: fail("unknown escape");
        }
    }

    std::string parseString() {
        expect('"');
        std::string out;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == '"') return out;
            if (c == '\\')
                parseEscape(out);
            else
                out += c;
        }
        fail("unfinished string");
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace

const Json* Json::member(std::string_view key) const {
    const auto* members = object();
    if (!members) return nullptr;
    for (const auto& [k, v] : *members)
        if (k == key) return &v;
    return nullptr;
}

std::optional<std::string> Json::text(std::string_view key) const {
    const Json* m = member(key);
    if (!m) return std::nullopt;
    if (const auto* s = m->string()) return *s;
    if (const auto* n = m->number()) return jsonNumber(*n);
    return std::nullopt;
}

Json parseJson(std::string_view text) { return Parser(text).parseDocument(); }

std::string jsonQuote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, end);
}

void JsonObjectWriter::key(std::string_view k) {
    if (!m_body.empty()) m_body += ",";
    m_body += jsonQuote(k) + ":";
}

JsonObjectWriter& JsonObjectWriter::text(std::string_view k, std::string_view value) {
    key(k);
    m_body += jsonQuote(value);
    return *this;
}

JsonObjectWriter& JsonObjectWriter::number(std::string_view k, double value) {
    key(k);
    m_body += jsonNumber(value);
    return *this;
}

JsonObjectWriter& JsonObjectWriter::raw(std::string_view k, std::string_view json) {
    key(k);
    m_body += json;
    return *this;
}

}  // namespace keltro::host
