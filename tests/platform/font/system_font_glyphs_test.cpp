#include "font/system_font.h"
#include "platform/font/text_bytes.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string_view>

namespace kv::font {
namespace {

using test::bytes;

bool printable(int code) {
    return (code >= 0x20 && code <= 0x7E) || code >= 0xA0;
}

int ink_pixels(unsigned char c) {
    int count = 0;
    for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < advance(c); ++x)
            count += glyph_pixel(c, x, y) ? 1 : 0;
    return count;
}

int top_ink_row(unsigned char c) {
    for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < advance(c); ++x)
            if (glyph_pixel(c, x, y)) return y;
    return kCellHeight;
}

TEST(SystemFontMetrics, AlimLabelIs29By16) {
    EXPECT_EQ(text_extent(bytes("ALIM")), 29);
    EXPECT_EQ(kCellHeight, 16);
    EXPECT_EQ(kAscent, 13);
}

TEST(SystemFontMetrics, InstructionPanelLinesFitRightOfThePanelEdge) {
    // The panel starts at x = 450 in a client area 780 px wide.
    struct Line {
        int y;
        std::string_view text;
        int extent;
    };
    const Line lines[] = {
        {370, "Cliquer gauche (droit):", 127},
        {386, "- sur ALIM pour mise sous (hors) tension.", 234},
        {402, "- sur les bobines pour visualiser (effacer)le champs.", 296},
        {418, "- sur le rotor pour visualiser (effacer) le champs", 272},
        {434, "  tournant r\xE9sultant et le couple.", 179},
        {450, "- sur le frein pour augmenter (diminuer) le couple", 277},
        {466, "  r\xE9sistant.", 60},
    };
    for (const Line& line : lines) {
        const int extent = text_extent(bytes(line.text));
        std::cout << "  line at y = " << line.y << ": " << extent << " px\n";
        EXPECT_EQ(extent, line.extent) << "line at y = " << line.y;
        EXPECT_LE(450 + extent, 780) << "line at y = " << line.y;
    }
}

TEST(SystemFontGlyphs, EveryPrintableCharacterHasAnAdvanceAndInk) {
    for (int code = 0; code < 256; ++code) {
        if (!printable(code)) continue;
        const auto c = static_cast<unsigned char>(code);
        EXPECT_GT(advance(c), 0) << "code " << code;
        const bool blank = code == 0x20 || code == 0xA0;
        EXPECT_EQ(ink_pixels(c) == 0, blank) << "code " << code;
    }
}

TEST(SystemFontGlyphs, UnprintableCodesDrawAHollowBoxAsWideAsN) {
    for (int code = 0; code < 256; ++code) {
        if (printable(code)) continue;
        const auto c = static_cast<unsigned char>(code);
        ASSERT_EQ(advance(c), advance('n')) << "code " << code;
        // Ink at (x, y) exactly on the box's border, which stands on the baseline.
        const int top = top_ink_row(c);
        const int bottom = kAscent - 1;
        const int left = 1;
        const int right = advance(c) - 2;
        for (int y = 0; y < kCellHeight; ++y)
            for (int x = 0; x < advance(c); ++x) {
                const bool inside = x >= left && x <= right && y >= top && y <= bottom;
                const bool border = x == left || x == right || y == top || y == bottom;
                EXPECT_EQ(glyph_pixel(c, x, y), inside && border)
                    << "code " << code << " at " << x << "," << y;
            }
    }
}

TEST(SystemFontGlyphs, CapitalIIsAVerticalBarOnTheBaseline) {
    // Rows are stored top first: the bar ends on the baseline and is as tall as a capital.
    const int top = top_ink_row('I');
    EXPECT_GE(kAscent - top, 8);
    for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < advance('I'); ++x)
            EXPECT_EQ(glyph_pixel('I', x, y), y >= top && y < kAscent && glyph_pixel('I', x, top))
                << x << "," << y;
    // Left-right: the foot of 'L' leaves its stem towards the right.
    int foot = 0;
    int stem = 0;
    for (int x = 0; x < advance('L'); ++x) {
        foot += glyph_pixel('L', x, kAscent - 1) ? 1 : 0;
        stem += glyph_pixel('L', x, top_ink_row('L')) ? 1 : 0;
    }
    EXPECT_GT(foot, stem + 2);
    EXPECT_TRUE(glyph_pixel('L', 1, top_ink_row('L')));
}

TEST(SystemFontGlyphs, AccentedLettersAreTheBaseLetterWithAnAccentAbove) {
    const struct {
        unsigned char accented, base;
    } pairs[] = {{0xE0, 'a'}, {0xE9, 'e'}, {0xC9, 'E'}};
    for (const auto& pair : pairs) {
        EXPECT_EQ(advance(pair.accented), advance(pair.base));
        const int base_top = top_ink_row(pair.base);
        EXPECT_LT(top_ink_row(pair.accented), base_top - 1) << int{pair.accented};
        for (int y = base_top; y < kCellHeight; ++y)
            for (int x = 0; x < advance(pair.base); ++x)
                EXPECT_EQ(glyph_pixel(pair.accented, x, y), glyph_pixel(pair.base, x, y))
                    << int{pair.accented} << " at " << x << "," << y;
    }
}

} // namespace
} // namespace kv::font
