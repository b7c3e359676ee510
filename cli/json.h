#pragma once
// A small JSON writer for the batch tool: objects and arrays written in order,
// strings escaped, numbers in their shortest exact form.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin::cli {

inline std::string JsonString(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else if (c == 0xC2 && i + 1 < utf8.size() &&
                           static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                           static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
                    // C1 control characters (such as U+0098) are escaped too.
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(utf8[i + 1]));
                    out += buf;
                    ++i;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

inline std::string JsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    if (v == 0) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

inline std::string JsonNumber(long long v) { return std::to_string(v); }
inline std::string JsonNumber(int v) { return std::to_string(v); }

// Builds one JSON object with its keys in the order they are added.
class JsonObject {
public:
    JsonObject& raw(std::string_view key, std::string_view json) {
        if (!body_.empty()) body_ += ", ";
        body_ += JsonString(key);
        body_ += ": ";
        body_ += json;
        return *this;
    }
    JsonObject& str(std::string_view key, std::string_view utf8) { return raw(key, JsonString(utf8)); }
    JsonObject& num(std::string_view key, double v) { return raw(key, JsonNumber(v)); }
    JsonObject& num(std::string_view key, int v) { return raw(key, JsonNumber(v)); }
    JsonObject& boolean(std::string_view key, bool v) { return raw(key, v ? "true" : "false"); }
    std::string text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

inline std::string JsonArray(const std::vector<std::string>& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += ", ";
        out += items[i];
    }
    return out + "]";
}

}  // namespace pelorin::cli
