// Tiny framebuffers turned into pictures: one string per row, rows joined by newlines so that a
// failing comparison prints both pictures and their diff.
#pragma once

#include "raster/raster.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::raster::test {

inline constexpr Color kPaper = 0;
inline constexpr Color kInk = 1;
inline constexpr Color kBrush = 2;

// '.' paper, '#' ink, 'o' brush, '?' anything else.
inline std::string picture(const Framebuffer& fb, const Rect& window) {
    std::string out;
    for (std::int64_t y = window.top; y < window.bottom; ++y) {
        if (y != window.top) out += '\n';
        for (std::int64_t x = window.left; x < window.right; ++x) {
            const Color c = fb.get(x, y);
            out += c == kPaper ? '.' : c == kInk ? '#' : c == kBrush ? 'o' : '?';
        }
    }
    return out;
}

inline std::string picture(const Framebuffer& fb) {
    return picture(fb, fb.bounds());
}

// A picture written in a test: rows separated by newlines (a raw string, indentation and blank
// lines ignored) or, for small ones, by '|'.
inline std::string art(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find_first_of("\n|"), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && line.front() == ' ')
            line.remove_prefix(1);
        while (!line.empty() && line.back() == ' ')
            line.remove_suffix(1);
        if (line.empty()) continue;
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

// Draws on a fresh width x height framebuffer clipped to its bounds and returns the picture.
template <typename Draw> std::string render(int width, int height, Draw&& draw) {
    Framebuffer fb(width, height, kPaper);
    Canvas canvas(fb, Region(fb.bounds()));
    draw(canvas);
    return picture(fb);
}

// Saturates, so that shapes at the ends of the int64 range can be moved too.
inline std::int64_t moved(std::int64_t v, std::int64_t by) {
    std::int64_t out = 0;
    if (!__builtin_add_overflow(v, by, &out)) return out;
    return by < 0 ? INT64_MIN : INT64_MAX;
}

inline Point shifted(Point p, std::int64_t dx, std::int64_t dy) {
    return {moved(p.x, dx), moved(p.y, dy)};
}

inline Rect shifted(Rect r, std::int64_t dx, std::int64_t dy) {
    return {moved(r.left, dx), moved(r.top, dy), moved(r.right, dx), moved(r.bottom, dy)};
}

} // namespace kv::raster::test
