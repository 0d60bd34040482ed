// Well-formed UTF-8, as Unicode defines it: what a script's text and the page's address must be;
// and text cut short without cutting a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kv {

// The length of the well-formed UTF-8 character at the start of `s`, or 0 (overlong forms,
// surrogates, code points past U+10FFFF, a cut sequence). Then `maximal_part` is the number of
// bytes a decoder replaces with one U+FFFD: the first byte and as many of its followers as a
// well-formed start would have taken.
inline std::size_t Utf8Length(std::string_view s, std::size_t& maximal_part) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    maximal_part = 1;
    if (s.empty()) return 0;
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char lo = i == 1 ? low : 0x80, hi = i == 1 ? high : 0xBF;
        if (i >= s.size() || byte(i) < lo || byte(i) > hi) {
            maximal_part = i;
            return 0;
        }
    }
    return length;
}

inline std::size_t Utf8Length(std::string_view s) {
    std::size_t maximal_part = 0;
    return Utf8Length(s, maximal_part);
}

// `text` cut after at most `limit` bytes, at the start of a UTF-8 character, with "..." after a
// cut: a message that echoes a token or a path (which may be a megabyte long) stays short.
inline std::string shortened(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)).append("...");
}

} // namespace kv
