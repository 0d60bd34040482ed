// The GDI entry points over a framebuffer: defaults of a fresh DC, selection, pixels, text cells
// and handles that are no longer valid.
#include "gdi/memory_dc.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr COLORREF kMarker = RGB(1, 2, 3);

TEST(Gdi, AFreshDcDrawsBlackOnWhiteWithOpaqueText) {
    kv::Framebuffer fb(40, 20, kMarker);
    kv::gdi::ScopedDC dc(fb);
    TextOutA(dc.get(), 2, 2, "I", 1);
    int white = 0, black = 0;
    for (int y = 2; y < 18; ++y) {
        for (int x = 2; x < 12; ++x) {
            white += fb.get(x, y) == RGB(255, 255, 255);
            black += fb.get(x, y) == RGB(0, 0, 0);
        }
    }
    EXPECT_GT(white, 0) << "the cell's background is opaque white";
    EXPECT_GT(black, 0) << "the glyph is black";
    EXPECT_EQ(fb.get(2, 18), kMarker) << "the cell is 16 rows high";
    EXPECT_EQ(fb.get(1, 2), kMarker);
}

TEST(Gdi, SelectionReturnsThePreviousObjectAndLastsForTheDc) {
    kv::Framebuffer fb(20, 20, kMarker);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    kv::gdi::ScopedDC dc(fb);
    HGDIOBJ default_pen = SelectObject(dc.get(), red);
    EXPECT_NE(default_pen, nullptr);
    EXPECT_EQ(SelectObject(dc.get(), blue) != nullptr, true);
    Rectangle(dc.get(), 0, 0, 10, 10);
    EXPECT_EQ(fb.get(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(fb.get(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(SelectObject(dc.get(), default_pen), red);
    EXPECT_FALSE(DeleteObject(blue)) << "a brush selected in a live DC is kept";
    EXPECT_EQ(SelectObject(dc.get(), nullptr), nullptr);
}

TEST(Gdi, PixelsOutsideTheClipReadInvalidAndAreNeverWritten) {
    kv::Framebuffer fb(10, 10, kMarker);
    kv::gdi::ScopedDC dc(fb, kv::Region(kv::Rect{2, 2, 6, 6}));
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), kMarker);
    EXPECT_EQ(GetPixel(dc.get(), 1, 3), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc.get(), 12, 3), CLR_INVALID) << "outside the framebuffer";
    EXPECT_EQ(SetPixel(dc.get(), 1, 3, RGB(9, 9, 9)), CLR_INVALID);
    EXPECT_EQ(fb.get(1, 3), kMarker);
    EXPECT_EQ(SetPixel(dc.get(), 3, 3, CLR_INVALID), CLR_INVALID);
    EXPECT_EQ(fb.get(3, 3), kMarker) << "CLR_INVALID writes nothing";
    EXPECT_EQ(SetPixel(dc.get(), 3, 3, RGB(9, 8, 7)), RGB(9, 8, 7));
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), RGB(9, 8, 7));
    EXPECT_EQ(SetPixel(dc.get(), -2147483647 - 1, 2147483647, RGB(9, 9, 9)), CLR_INVALID);
}

TEST(Gdi, TextAndBackgroundColoursAndTransparentMode) {
    kv::Framebuffer fb(60, 20, kMarker);
    kv::gdi::ScopedDC dc(fb);
    EXPECT_EQ(SetTextColor(dc.get(), RGB(255, 0, 0)), RGB(0, 0, 0));
    EXPECT_EQ(SetBkColor(dc.get(), RGB(0, 255, 0)), RGB(255, 255, 255));
    TextOutA(dc.get(), 0, 0, "AB", 2);
    EXPECT_EQ(fb.get(0, 0), RGB(0, 255, 0)) << "the cell's first row is background";
    EXPECT_EQ(SetBkMode(dc.get(), TRANSPARENT), OPAQUE);
    TextOutA(dc.get(), 30, 0, "AB", 2);
    EXPECT_EQ(fb.get(30, 0), kMarker) << "transparent text leaves its background";
    EXPECT_FALSE(TextOutA(dc.get(), 0, 0, "AB", -1));
    EXPECT_TRUE(TextOutA(dc.get(), 0, 0, nullptr, 0));
}

// What a DC reports as drawn, and so what the window shows again: a box per drawing call, with
// what was drawn in one call's box noted once, and nothing of the space between two far calls
// (a Tick's disc and the plot's point).
TEST(Gdi, ADcReportsABoxPerDrawingCallNotOneBoxAroundThemAll) {
    kv::Framebuffer fb(300, 200, kMarker);
    HDC dc = kv::gdi::create_dc(fb, kv::Region(fb.bounds()));
    Ellipse(dc, 10, 10, 110, 110);
    const POINT inside[2] = {{30, 60}, {90, 60}};
    Polyline(dc, inside, 2);
    const POINT far[2] = {{250, 150}, {260, 152}};
    Polyline(dc, far, 2);
    TextOutA(dc, 200, 20, "A", 1);
    SetPixel(dc, 5, 190, RGB(9, 9, 9));
    const std::optional<kv::Region> drawn = kv::gdi::release_dc(dc);
    ASSERT_TRUE(drawn.has_value());
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (fb.get(x, y) != kMarker) {
                ASSERT_TRUE(drawn->contains(x, y)) << x << "," << y;
            }
    EXPECT_FALSE(drawn->contains(180, 130)) << "between the calls";
    EXPECT_FALSE(drawn->contains(150, 60));
    EXPECT_LE(drawn->rects().size(), 5u);
}

TEST(Gdi, ReleasedDcsAndUnknownHandlesAreRefused) {
    kv::Framebuffer fb(10, 10, kMarker);
    HDC stale = kv::gdi::create_dc(fb, kv::Region(fb.bounds()));
    ASSERT_TRUE(kv::gdi::release_dc(stale).has_value());
    EXPECT_FALSE(kv::gdi::release_dc(stale).has_value());
    EXPECT_EQ(GetPixel(stale, 1, 1), CLR_INVALID);
    EXPECT_FALSE(Rectangle(stale, 0, 0, 5, 5));
    HDC fresh = kv::gdi::create_dc(fb, kv::Region(fb.bounds()));
    EXPECT_NE(fresh, stale) << "a reused slot gets a new handle";
    const POINT line[2] = {{0, 0}, {5, 0}};
    EXPECT_FALSE(Polyline(stale, line, 2));
    EXPECT_TRUE(Polyline(fresh, line, 2));
    EXPECT_EQ(fb.get(4, 0), RGB(0, 0, 0));
    kv::gdi::release_dc(fresh);
    EXPECT_EQ(CreatePen(PS_SOLID + 1, 1, 0), nullptr) << "only solid pens";
}

} // namespace
