#include "font/system_font.h"
#include "platform/font/text_bytes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace kv::font {
namespace {

using test::bytes;

constexpr Color kUntouched = rgb(1, 2, 3);
constexpr Color kInk = rgb(255, 0, 0);
constexpr Color kPaper = rgb(0, 200, 200);
constexpr int kWidth = 48;
constexpr int kHeight = 24;

// What TextOutA leaves at (px, py), from the glyph table alone. Origins must be small.
Color expected_pixel(std::string_view text, std::int64_t x, std::int64_t y, bool opaque,
                     std::int64_t px, std::int64_t py) {
    if (py < y || py >= y + kCellHeight) return kUntouched;
    std::int64_t left = x;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (px >= left && px < left + advance(c)) {
            if (glyph_pixel(c, static_cast<int>(px - left), static_cast<int>(py - y))) return kInk;
            return opaque ? kPaper : kUntouched;
        }
        left += advance(c);
    }
    return kUntouched;
}

void expect_frame(const Framebuffer& fb, std::string_view text, std::int64_t x, std::int64_t y,
                  bool opaque, const Rect& clip) {
    for (int py = 0; py < fb.height(); ++py)
        for (int px = 0; px < fb.width(); ++px) {
            const Color want =
                clip.contains(px, py) ? expected_pixel(text, x, y, opaque, px, py) : kUntouched;
            ASSERT_EQ(fb.get(px, py), want) << "origin " << x << "," << y << " pixel " << px << ","
                                            << py << (opaque ? " opaque" : " transparent");
        }
}

TEST(DrawText, FillsTheCellsAndInksTheGlyphsWhereverTheTextLands) {
    constexpr std::string_view kText = "ALIM \xE0\xE9";
    const std::int64_t long_text_start = -(text_extent(bytes(kText)) - 6);
    const struct {
        std::int64_t x, y;
    } origins[] = {{3, 4}, {-5, -7}, {30, 15}, {long_text_start, 0}, {0, -15}, {0, kHeight - 1}};
    for (const auto& origin : origins)
        for (const bool opaque : {true, false}) {
            Framebuffer fb(kWidth, kHeight, kUntouched);
            Canvas canvas(fb, Region(fb.bounds()));
            const auto background = opaque ? std::optional<Color>(kPaper) : std::nullopt;
            draw_text(canvas, origin.x, origin.y, bytes(kText), kInk, background);
            expect_frame(fb, kText, origin.x, origin.y, opaque, fb.bounds());
        }
}

TEST(DrawText, FarOffCanvasOriginsWriteNothing) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t k2p31 = std::int64_t{1} << 31;
    const struct {
        std::int64_t x, y;
    } origins[] = {{-k2p31, 0},  {k2p31, 0}, {0, -k2p31}, {0, k2p31},  {kMin, kMin},
                   {kMax, kMax}, {kMin, 0},  {0, kMax},   {kWidth, 0}, {0, -kCellHeight}};
    for (const auto& origin : origins) {
        Framebuffer fb(kWidth, kHeight, kUntouched);
        Canvas canvas(fb, Region(fb.bounds()));
        draw_text(canvas, origin.x, origin.y, bytes("- sur ALIM pour mise sous tension."), kInk,
                  kPaper);
        EXPECT_TRUE(canvas.drawn().empty()) << origin.x << "," << origin.y;
        for (const Color pixel : fb.pixels())
            ASSERT_EQ(pixel, kUntouched);
    }
}

TEST(DrawText, WritesOnlyInsideTheClipRegion) {
    Framebuffer fb(kWidth, kHeight, kUntouched);
    const Rect clip{10, 6, 21, 14};
    Canvas canvas(fb, Region(clip));
    draw_text(canvas, 3, 4, bytes("ALIM"), kInk, kPaper);
    expect_frame(fb, "ALIM", 3, 4, true, clip);
}

TEST(DrawText, EmptyTextDrawsNothing) {
    Framebuffer fb(kWidth, kHeight, kUntouched);
    Canvas canvas(fb, Region(fb.bounds()));
    draw_text(canvas, 3, 4, {}, kInk, kPaper);
    EXPECT_TRUE(canvas.drawn().empty());
    for (const Color pixel : fb.pixels())
        ASSERT_EQ(pixel, kUntouched);
}

} // namespace
} // namespace kv::font
