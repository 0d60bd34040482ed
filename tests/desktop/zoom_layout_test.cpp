// Zoom and letterbox: where the client area lands in the window, and which client pixel a click
// on the window hits.
#include "viewer/zoom_layout.h"

#include <gtest/gtest.h>

namespace {

using kv::Point;
using kv::Rect;
using kv::viewer::Size;
using kv::viewer::ZoomLayout;

constexpr Size kClient{780, 557};

TEST(ZoomLayout, HighDpiDisplaysStartAtZoomTwo) {
    EXPECT_EQ(kv::viewer::start_zoom_for_dpi(std::nullopt), 1);
    EXPECT_EQ(kv::viewer::start_zoom_for_dpi(96.0f), 1);
    EXPECT_EQ(kv::viewer::start_zoom_for_dpi(143.9f), 1);
    EXPECT_EQ(kv::viewer::start_zoom_for_dpi(144.0f), 2);
    EXPECT_EQ(kv::viewer::start_zoom_for_dpi(288.0f), 2);
}

TEST(ZoomLayout, AWindowHoldsTheClientAreaAtItsZoomInItsCorner) {
    const ZoomLayout l = kv::viewer::corner_layout(Size{1560, 1114}, kClient, 2);
    EXPECT_EQ(l.zoom(), 2);
    EXPECT_EQ(l.offset_x, 0);
    EXPECT_EQ(l.offset_y, 0);
    EXPECT_EQ(kv::viewer::window_rect(l, Rect{0, 0, 780, 557}), (Rect{0, 0, 1560, 1114}));
}

TEST(ZoomLayout, FullScreenTakesTheLargestZoomThatFits) {
    struct Case {
        Size screen;
        int zoom;
    };
    for (const Case& c : {Case{{1024, 768}, 1}, Case{{1920, 1080}, 1}, Case{{1600, 1200}, 2},
                          Case{{2560, 1440}, 2}, Case{{3840, 2160}, 3}, Case{{640, 480}, 1}}) {
        EXPECT_EQ(kv::viewer::zoom_to_fit(c.screen, kClient), c.zoom)
            << c.screen.width << "x" << c.screen.height;
    }
    EXPECT_EQ(kv::viewer::zoom_to_fit(Size{1024, 768}, Size{0, 0}), 1);
}

TEST(ZoomLayout, AWindowNeverGrowsBeyondTheScreensUsableArea) {
    struct Case {
        int wanted;
        Size usable;
        Size frame;
        int zoom;
    };
    for (const Case& c : {
             // 1280 x 1024: 1560 x 1114 at zoom 2 would not fit, so every zoom stays at 1.
             Case{1, {1280, 1024}, {0, 0}, 1},
             Case{2, {1280, 1024}, {0, 0}, 1},
             Case{4, {1280, 1024}, {0, 0}, 1},
             Case{2, {1280, 1024}, {10, 40}, 1},
             // The frame counts: 1600 x 1160 holds 1560 x 1114 with a thin frame, not a thick one.
             Case{2, {1600, 1160}, {4, 30}, 2},
             Case{2, {1600, 1160}, {4, 50}, 1},
             Case{4, {3840, 2120}, {4, 30}, 3},
             Case{3, {3840, 2120}, {4, 30}, 3},
             Case{4, {7680, 4280}, {4, 30}, 4},
             Case{0, {7680, 4280}, {4, 30}, 1},
             // A screen smaller than the picture still gets a window, at zoom 1.
             Case{2, {640, 480}, {0, 0}, 1},
         }) {
        EXPECT_EQ(kv::viewer::window_zoom(c.wanted, c.usable, kClient, c.frame), c.zoom)
            << c.wanted << " on " << c.usable.width << "x" << c.usable.height;
    }
}

TEST(ZoomLayout, FullScreenCentresThePicture) {
    const ZoomLayout l = kv::viewer::centred_layout(Size{1024, 768}, kClient, 1);
    EXPECT_EQ(l.offset_x, 122); // (1024 - 780) / 2
    EXPECT_EQ(l.offset_y, 105); // (768 - 557) / 2, rounded down
    const ZoomLayout l2 = kv::viewer::centred_layout(Size{1600, 1200}, kClient, 2);
    EXPECT_EQ(l2.offset_x, 20);
    EXPECT_EQ(l2.offset_y, 43);
    EXPECT_EQ(kv::viewer::window_rect(l2, Rect{0, 0, 780, 557}), (Rect{20, 43, 1580, 1157}));
}

TEST(ZoomLayout, AScreenSmallerThanTheClientAreaCutsItOnBothSides) {
    const ZoomLayout l = kv::viewer::centred_layout(Size{640, 480}, kClient, 1);
    EXPECT_EQ(l.offset_x, -70);
    EXPECT_EQ(l.offset_y, -39); // -77 / 2 rounded down
    EXPECT_EQ(kv::viewer::window_rect(l, Rect{0, 0, 780, 557}), (Rect{0, 0, 640, 480}));
    EXPECT_EQ(kv::viewer::client_point(l, 0, 0), (Point{70, 39}));
}

TEST(ZoomLayout, AWindowPixelMapsToTheClientPixelItShows) {
    const ZoomLayout z2 = kv::viewer::corner_layout(Size{1560, 1114}, kClient, 2);
    const ZoomLayout full = kv::viewer::centred_layout(Size{1600, 1200}, kClient, 2);
    struct Case {
        const ZoomLayout* layout;
        Point window;
        std::optional<Point> client;
    };
    const Case cases[] = {
        {&z2, {0, 0}, Point{0, 0}},
        {&z2, {1, 1}, Point{0, 0}},
        {&z2, {50, 51}, Point{25, 25}},
        {&z2, {1559, 1113}, Point{779, 556}},
        {&z2, {1560, 0}, std::nullopt}, // past the client area's right edge
        {&full, {20, 43}, Point{0, 0}},
        {&full, {19, 43}, std::nullopt}, // the black band on the left
        {&full, {20, 42}, std::nullopt}, // and above
        {&full, {18, 41}, std::nullopt}, // one zoomed pixel beyond: must not round to 0
        {&full, {540, 623}, Point{260, 290}},
        {&full, {1579, 1156}, Point{779, 556}},
        {&full, {1580, 1156}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kv::viewer::client_point(*c.layout, c.window.x, c.window.y), c.client)
            << c.window.x << "," << c.window.y;
    }
}

TEST(ZoomLayout, AClientRectangleCoversItsZoomedPixelsClippedToTheWindow) {
    const ZoomLayout z3 = kv::viewer::corner_layout(Size{1000, 1000}, kClient, 3);
    EXPECT_EQ(kv::viewer::window_rect(z3, Rect{10, 20, 11, 22}), (Rect{30, 60, 33, 66}));
    EXPECT_EQ(kv::viewer::window_rect(z3, Rect{300, 300, 400, 400}), (Rect{900, 900, 1000, 1000}));
    EXPECT_EQ(kv::viewer::window_rect(z3, Rect{}), (Rect{}));
}

// Full screen on a projector: 1920 x 1080 holds the picture at 1 only (52 % of the height), so it
// is scaled by a non-whole factor to the screen's height; where a whole zoom fills nine tenths of
// that, the whole zoom stays, sharper.
TEST(ZoomLayout, FullScreenFillsTheScreenBetweenWholeZooms) {
    struct Case {
        Size screen;
        Size shown;
    };
    for (const Case& c : {Case{{1920, 1080}, {1512, 1080}}, Case{{1600, 1200}, {1560, 1114}},
                          Case{{1024, 768}, {1024, 731}}, Case{{1366, 768}, {1075, 768}},
                          Case{{3840, 2160}, {3024, 2160}}, Case{{780, 557}, {780, 557}},
                          Case{{640, 480}, {640, 457}}}) {
        const ZoomLayout l = kv::viewer::fit_layout(c.screen, kClient);
        EXPECT_EQ(l.shown, c.shown) << c.screen.width << "x" << c.screen.height;
        EXPECT_EQ(l.offset_x, (c.screen.width - c.shown.width) / 2);
        EXPECT_EQ(l.offset_y, (c.screen.height - c.shown.height) / 2);
    }
    EXPECT_EQ(kv::viewer::fit_layout(Size{1920, 1080}, kClient).zoom(), 0);
    EXPECT_EQ(kv::viewer::fit_layout(Size{1600, 1200}, kClient).zoom(), 2);
}

// At any factor a click lands on the client pixel the window pixel shows, and every client pixel
// shows on the window pixels that map back to it, in order.
TEST(ZoomLayout, BetweenWholeZoomsWindowAndClientPixelsMapBothWays) {
    const ZoomLayout l = kv::viewer::fit_layout(Size{1920, 1080}, kClient);
    ASSERT_EQ(l.offset_x, 204);
    EXPECT_EQ(kv::viewer::client_point(l, 203, 500), std::nullopt);
    EXPECT_EQ(kv::viewer::client_point(l, 204, 0), (Point{0, 0}));
    EXPECT_EQ(kv::viewer::client_point(l, 1715, 1079), (Point{779, 556}));
    EXPECT_EQ(kv::viewer::client_point(l, 1716, 1079), std::nullopt);
    std::int64_t previous = -1;
    for (std::int64_t x = 204; x < 1716; ++x) {
        const std::int64_t client = kv::viewer::client_point(l, x, 0)->x;
        ASSERT_TRUE(client == previous || client == previous + 1) << x;
        const Rect shown = kv::viewer::window_rect(l, Rect{client, 0, client + 1, 1});
        ASSERT_TRUE(shown.left <= x && x < shown.right) << x;
        ASSERT_EQ(kv::viewer::client_rect(l, Rect{x, 0, x + 1, 1}),
                  (Rect{client, 0, client + 1, 1}));
        previous = client;
    }
    EXPECT_EQ(previous, 779);
}

} // namespace
