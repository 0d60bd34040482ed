#include "tools/korveline_web/page_json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kv::web::json {

std::string Text(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string Number(double value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    if (std::trunc(value) == value && std::abs(value) < 1e15) { // whole: no exponent
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

void Writer::separate() {
    if (after_key_) {
        after_key_ = false;
    } else if (after_value_) {
        out_ += ',';
    }
}

Writer& Writer::begin_object() {
    separate();
    out_ += '{';
    after_value_ = false;
    return *this;
}

Writer& Writer::end_object() {
    out_ += '}';
    after_value_ = true;
    return *this;
}

Writer& Writer::begin_array() {
    separate();
    out_ += '[';
    after_value_ = false;
    return *this;
}

Writer& Writer::end_array() {
    out_ += ']';
    after_value_ = true;
    return *this;
}

Writer& Writer::key(std::string_view name) {
    separate();
    out_ += Text(name);
    out_ += ':';
    after_key_ = true;
    return *this;
}

Writer& Writer::text(std::string_view utf8) {
    separate();
    out_ += Text(utf8);
    after_value_ = true;
    return *this;
}

Writer& Writer::number(double value) {
    separate();
    out_ += Number(value);
    after_value_ = true;
    return *this;
}

Writer& Writer::boolean(bool value) {
    separate();
    out_ += value ? "true" : "false";
    after_value_ = true;
    return *this;
}

} // namespace kv::web::json
