// What reaches the window's pixels: colour conversion, nearest-neighbour zoom, the black around
// a full-screen picture, and the badge that lies over the picture but never in the framebuffer.
#include "viewer/boxes.h"
#include "backends/desktop/presenter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

namespace {

using kv::Color;
using kv::Framebuffer;
using kv::Rect;
using kv::Region;
using kv::rgb;
using kv::desktop::PixelTarget;
using kv::desktop::Presenter;
using kv::viewer::Size;

// 32-bit pixels owned by the test, with a pitch wider than a row to catch pitch mistakes.
struct Window {
    Window(int w, int h, kv::desktop::ChannelShifts shifts = {})
        : bytes(std::size_t(h) * (w + 3) * 4, 0xAB) {
        target.pixels = bytes.data();
        target.pitch = std::int64_t{w + 3} * 4;
        target.width = w;
        target.height = h;
        target.shifts = shifts;
    }
    Color at(std::int64_t x, std::int64_t y) const {
        return kv::desktop::target_pixel(target, static_cast<int>(x), static_cast<int>(y));
    }
    std::uint32_t raw(std::int64_t x, std::int64_t y) const {
        std::uint32_t v;
        std::memcpy(&v, bytes.data() + y * target.pitch + x * 4, 4);
        return v;
    }
    std::vector<std::uint8_t> bytes;
    PixelTarget target;
};

// The window rectangles each draw wrote.
std::vector<Rect> draw_changes(Presenter& p, const Framebuffer& fb, const Region& changed,
                               PixelTarget& target) {
    std::vector<Rect> written;
    p.draw_changes(fb, changed, target, written);
    return written;
}
std::vector<Rect> draw_area(Presenter& p, const Framebuffer& fb, const Rect& area,
                            PixelTarget& target) {
    std::vector<Rect> written;
    p.draw_area(fb, area, target, written);
    return written;
}

// A picture in which every pixel differs from its neighbours.
Framebuffer pattern(int w, int h) {
    Framebuffer fb(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            fb.set(x, y,
                   rgb(static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 5),
                       static_cast<std::uint8_t>(x + y)));
    return fb;
}

// The whole of `fb` drawn as `layout` says.
void draw(const Framebuffer& fb, const kv::viewer::ZoomLayout& layout, PixelTarget& target,
          int smoothing = kv::desktop::kNearest) {
    kv::desktop::Scaler(layout, smoothing).draw(fb, layout.picture(), target);
}

TEST(PixelTarget, ColorrefBecomesTheSurfacesChannelOrder) {
    Framebuffer fb(1, 1, rgb(0x11, 0x22, 0x33));
    Window xrgb(1, 1);
    draw(fb, kv::viewer::corner_layout(Size{1, 1}, Size{1, 1}, 1), xrgb.target);
    EXPECT_EQ(xrgb.raw(0, 0), 0x00112233u);
    Window xbgr(1, 1, {0, 8, 16});
    draw(fb, kv::viewer::corner_layout(Size{1, 1}, Size{1, 1}, 1), xbgr.target);
    EXPECT_EQ(xbgr.raw(0, 0), 0x00332211u);
    Window rgbx(1, 1, {24, 16, 8});
    draw(fb, kv::viewer::corner_layout(Size{1, 1}, Size{1, 1}, 2), rgbx.target);
    EXPECT_EQ(rgbx.raw(0, 0), 0x11223300u);
}

TEST(PixelTarget, EveryZoomRepeatsEachPixelZoomTimesEachWay) {
    const Framebuffer fb = pattern(9, 7);
    for (int zoom = 1; zoom <= 4; ++zoom) {
        Window w(9 * zoom, 7 * zoom);
        const auto layout =
            kv::viewer::corner_layout(Size{w.target.width, w.target.height}, Size{9, 7}, zoom);
        // Smoothing or not, a whole zoom repeats pixels.
        draw(fb, layout, w.target, zoom % 2 == 0 ? kv::desktop::kNearest : 2);
        for (int y = 0; y < 7 * zoom; ++y)
            for (int x = 0; x < 9 * zoom; ++x)
                ASSERT_EQ(w.at(x, y), fb.get(x / zoom, y / zoom))
                    << "zoom " << zoom << " at " << x << "," << y;
    }
}

TEST(PixelTarget, APartStartingMidPictureLandsOnItsOwnPixelsOnly) {
    const Framebuffer fb = pattern(9, 7);
    Window w(27, 21);
    const auto layout = kv::viewer::corner_layout(Size{27, 21}, Size{9, 7}, 3);
    kv::desktop::Scaler(layout, 2).draw(fb, kv::viewer::window_rect(layout, Rect{4, 2, 6, 5}),
                                        w.target);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 27; ++x) {
            const bool inside = x >= 12 && x < 18 && y >= 6 && y < 15;
            if (inside) {
                ASSERT_EQ(w.at(x, y), fb.get(x / 3, y / 3)) << x << "," << y;
            } else {
                ASSERT_EQ(w.raw(x, y), 0xABABABABu) << x << "," << y; // untouched
            }
        }
}

TEST(PixelTarget, APictureOverlappingTheWindowEdgesIsClipped) {
    const Framebuffer fb = pattern(10, 10);
    Window w(8, 8);
    // Centred on a window smaller than the zoomed picture: offset -6 each way.
    const auto layout = kv::viewer::centred_layout(Size{8, 8}, Size{10, 10}, 2);
    ASSERT_EQ(layout.offset_x, -6);
    draw(fb, layout, w.target);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(w.at(x, y), fb.get((x + 6) / 2, (y + 6) / 2)) << x << "," << y;
    // Outside the target nothing is written (the pitch's padding keeps its pattern).
    EXPECT_EQ(w.raw(8, 0), 0xABABABABu);
}

TEST(Presenter, DrawAllPutsBlackAroundACentredPicture) {
    const Framebuffer fb = pattern(4, 3);
    Presenter p;
    p.set_layout(kv::viewer::centred_layout(Size{12, 9}, Size{4, 3}, 2));
    Window w(12, 9);
    EXPECT_EQ(p.draw_all(fb, w.target), (Rect{0, 0, 12, 9}));
    // Offset (2, 1): the picture covers [2, 10) x [1, 7).
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 10 && y >= 1 && y < 7;
            ASSERT_EQ(w.at(x, y), inside ? fb.get((x - 2) / 2, (y - 1) / 2) : Color{0})
                << x << "," << y;
        }
}

// A block of rows wiped as a Tick wipes its disc: where the buffer still holds it, only the
// columns written since.
void wipe(Framebuffer& fb, int top, int bottom, Color c) {
    fb.repaint(kv::PaintKey{{top, bottom, c}}, top, bottom, [&](const auto& needed) {
        for (int y = top; y < bottom; ++y) {
            const kv::Span w = needed(y);
            if (!w.empty()) fb.fill_span(y, w.lo, w.hi, c);
        }
    });
}

// A frame as a Tick makes it: the disc wiped (rows 0 to 30 here), then drawn on. The window
// manager reports a large rectangle; only what was written since the last frame is drawn again.
TEST(Presenter, OnlyPixelsWrittenSinceTheLastFrameAreDrawnAgain) {
    const Color cyan = rgb(0, 200, 200);
    Framebuffer fb(40, 30, cyan);
    Presenter p;
    p.set_layout(kv::viewer::corner_layout(Size{40, 30}, Size{40, 30}, 1));
    Window w(40, 30);
    wipe(fb, 0, 30, cyan);
    p.draw_all(fb, w.target);
    fb.presented(); // as the window manager does after each frame

    wipe(fb, 0, 30, cyan);
    fb.set(30, 20, rgb(255, 0, 0));
    w.bytes.assign(w.bytes.size(), 0xAB); // make any write visible
    const auto written = draw_changes(p, fb, Region(Rect{0, 0, 40, 30}), w.target);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], (Rect{30, 20, 31, 21}));
    EXPECT_EQ(w.at(30, 20), rgb(255, 0, 0));
    EXPECT_EQ(w.raw(29, 20), 0xABABABABu);
    fb.presented();

    // The next frame wipes the red pixel away, and draws nothing else.
    wipe(fb, 0, 30, cyan);
    EXPECT_EQ(draw_changes(p, fb, Region(Rect{0, 0, 40, 30}), w.target),
              (std::vector<Rect>{{30, 20, 31, 21}}));
    EXPECT_EQ(w.at(30, 20), cyan);
    fb.presented();
    wipe(fb, 0, 30, cyan);
    EXPECT_TRUE(draw_changes(p, fb, Region(Rect{0, 0, 40, 30}), w.target).empty());
}

// Frames as a Tick makes them, at random: wiped blocks, strokes, dots, blocks, some drawn back as
// they were, inside a reported rectangle that is larger than what changed, and now and then the
// badge coming or going; after each, the buffer is presented, as the window manager does. After
// every frame the window must show the framebuffer exactly (under the badge, the badge), in both
// channel orders, at zoom 1 and 2; and at every zoom, a non-whole one too (zoom 0 below), what it
// would show drawn whole.
TEST(Presenter, AfterEveryFrameTheWindowShowsExactlyTheFramebuffer) {
    constexpr int kW = 203, kH = 61; // rows that end off any block the scan works in
    for (const int zoom : {1, 2, 0}) {
        for (const kv::desktop::ChannelShifts shifts :
             {kv::desktop::ChannelShifts{16, 8, 0}, kv::desktop::ChannelShifts{0, 8, 16}}) {
            std::mt19937 random(20260101);
            const auto below = [&](int n) { return static_cast<int>(random() % unsigned(n)); };
            Framebuffer fb = pattern(kW, kH);
            Presenter p;
            const kv::viewer::ZoomLayout layout =
                zoom == 0
                    ? kv::viewer::fit_layout(Size{kW * 37 / 19, kH * 37 / 19}, Size{kW, kH})
                    : kv::viewer::corner_layout(Size{kW * zoom, kH * zoom}, Size{kW, kH}, zoom);
            ASSERT_EQ(layout.zoom(), zoom);
            p.set_layout(layout);
            Window w(layout.output.width, layout.output.height, shifts);
            p.draw_all(fb, w.target);
            fb.presented();
            Rect badge; // where the badge is, in the window; empty without it
            Framebuffer earlier = fb;
            for (int frame = 0; frame < 300; ++frame) {
                const Framebuffer before = fb;
                Rect reported{below(kW), below(kH), kW, kH};
                // Mostly one wipe a frame; at times none, or two blocks overlapping.
                for (int wipes = below(4) == 0 ? below(3) : 1; wipes > 0; --wipes) {
                    const bool first = below(5) != 0;
                    const int top = first ? 9 : 30, bottom = first ? 50 : 58;
                    wipe(fb, top, bottom, first ? rgb(0, 90, 0) : rgb(90, 0, 0));
                    reported = kv::bounding_union(reported, Rect{0, top, kW, bottom});
                }
                for (int stroke = below(6); stroke > 0; --stroke) {
                    const int y = static_cast<int>(reported.top) + below(kH - int(reported.top));
                    const int x0 = static_cast<int>(reported.left) + below(kW - int(reported.left));
                    const int x1 = std::min(kW, x0 + 1 + below(below(2) ? 3 : 90));
                    const Color c = rgb(static_cast<std::uint8_t>(random()), 0, 255);
                    for (int dy = 0; dy < 1 + below(4) && y + dy < kH; ++dy)
                        fb.fill_span(y + dy, x0, x1, c);
                }
                // Drawn again as it was: reported, but no change. Or back to a picture of
                // some frames ago, as a turning rotor comes back, all of it reported.
                if (below(3) == 0) {
                    fb = before;
                } else if (below(8) == 0) {
                    fb = earlier;
                    reported = fb.bounds();
                }
                if (frame % 8 == 0) earlier = fb;
                draw_changes(p, fb, Region(reported), w.target);
                fb.presented();
                if (below(20) == 0) {
                    const bool on = badge.empty();
                    const Rect area =
                        p.set_badge(on ? std::optional<std::string>("SLOW") : std::nullopt);
                    badge = on ? area : Rect{};
                    draw_area(p, fb, area, w.target);
                }
                Presenter whole;
                whole.set_layout(layout);
                if (!badge.empty()) whole.set_badge("SLOW");
                Window reference(layout.output.width, layout.output.height, shifts);
                whole.draw_all(fb, reference.target);
                for (int y = 0; y < layout.output.height; ++y)
                    for (int x = 0; x < layout.output.width; ++x)
                        ASSERT_EQ(w.at(x, y), reference.at(x, y))
                            << "zoom " << zoom << ", red at " << shifts.red << ", frame " << frame
                            << ", at " << x << "," << y;
                for (int y = 0; y < kH * zoom; ++y)
                    for (int x = 0; x < kW * zoom; ++x) {
                        if (badge.contains(x, y)) continue;
                        ASSERT_EQ(w.at(x, y), fb.get(x / zoom, y / zoom))
                            << "zoom " << zoom << ", red at " << shifts.red << ", frame " << frame
                            << ", at " << x << "," << y;
                    }
            }
        }
    }
}

TEST(Presenter, TheBadgeLiesOverThePictureAndLeavesTheFramebufferAlone) {
    const Color cyan = rgb(0, 200, 200);
    Framebuffer fb(200, 60, cyan);
    const Framebuffer before = fb;
    Presenter p;
    p.set_layout(kv::viewer::corner_layout(Size{200, 60}, Size{200, 60}, 1));
    Window w(200, 60);

    const Rect area = p.set_badge(std::string("PAUSE"));
    const Framebuffer badge = kv::viewer::render_badge("PAUSE");
    const Rect place = kv::viewer::badge_place(200, badge.width(), badge.height());
    EXPECT_EQ(area, place);
    EXPECT_EQ(place.right, 196); // top-right corner, 4 pixels in
    EXPECT_EQ(place.top, 4);
    p.draw_all(fb, w.target);

    int box = 0, text = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const Color c = w.at(x, y);
            if (!place.contains(x, y)) {
                ASSERT_EQ(c, cyan) << x << "," << y;
            } else {
                ASSERT_EQ(c, badge.get(x - place.left, y - place.top)) << x << "," << y;
                box += c == kv::viewer::kBadgeBox;
                text += c == kv::viewer::kBadgeText;
            }
        }
    EXPECT_GT(box, text);
    EXPECT_GT(text, 20); // the letters are there
    EXPECT_TRUE(std::ranges::equal(fb.pixels(), before.pixels()));

    // Drawing under the badge keeps the badge on top.
    fb.fill_span(10, 0, 200, rgb(255, 0, 0));
    draw_changes(p, fb, Region(Rect{0, 10, 200, 11}), w.target);
    EXPECT_EQ(w.at(place.left, 10), badge.get(0, 10 - place.top));
    EXPECT_EQ(w.at(place.left - 1, 10), rgb(255, 0, 0));

    // Without the badge its area shows the framebuffer again.
    const Rect gone = p.set_badge(std::nullopt);
    EXPECT_EQ(gone, place);
    draw_area(p, fb, gone, w.target);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(w.at(x, y), fb.get(x, y)) << x << "," << y;
}

TEST(Presenter, TheBadgeZoomsWithThePicture) {
    Framebuffer fb(200, 60, rgb(0, 200, 200));
    Presenter p;
    p.set_layout(kv::viewer::corner_layout(Size{400, 120}, Size{200, 60}, 2));
    p.set_badge(std::string("x1/2"));
    Window w(400, 120);
    p.draw_all(fb, w.target);
    const Framebuffer badge = kv::viewer::render_badge("x1/2");
    const Rect place = kv::viewer::badge_place(200, badge.width(), badge.height());
    for (std::int64_t y = place.top; y < place.bottom; ++y)
        for (std::int64_t x = place.left; x < place.right; ++x)
            ASSERT_EQ(w.at(2 * x + 1, 2 * y + 1), badge.get(x - place.left, y - place.top));
}

TEST(Presenter, ChangingTheBadgeTextCoversBothOldAndNewPlaces) {
    const auto place = [](const char* text) {
        const Framebuffer badge = kv::viewer::render_badge(text);
        return kv::viewer::badge_place(300, badge.width(), badge.height());
    };
    Presenter p;
    p.set_layout(kv::viewer::corner_layout(Size{300, 50}, Size{300, 50}, 1));
    EXPECT_EQ(p.set_badge(std::string("PAUSE")), place("PAUSE"));
    EXPECT_EQ(p.set_badge(std::string("x1/2")), kv::bounding_union(place("PAUSE"), place("x1/2")));
    EXPECT_EQ(p.set_badge(std::string("x1/2")), (Rect{})); // the same text changes nothing
}

} // namespace

namespace {

// The keyboard's focus ring at zoom 1 and 2: a client pixel out from the part it surrounds, four
// bands a zoomed pixel wide (dark, yellow, yellow, dark), within the area it says it changes,
// kept over what is drawn under it, and gone without a trace.
TEST(Presenter, TheFocusRingSurroundsItsPartAtEveryZoomAndLeavesNoTrace) {
    const Framebuffer fb = pattern(40, 30);
    const Rect part{10, 8, 20, 16};
    const Color bands[] = {rgb(0, 0, 0), rgb(255, 210, 0), rgb(255, 210, 0), rgb(0, 0, 0)};
    for (int z = 1; z <= 2; ++z) {
        SCOPED_TRACE(z);
        Presenter p;
        const auto layout = kv::viewer::corner_layout(Size{40 * z, 30 * z}, Size{40, 30}, z);
        p.set_layout(layout);
        Window w(40 * z, 30 * z);
        p.draw_all(fb, w.target);
        const Rect changed = p.set_ring(part);
        draw_area(p, fb, changed, w.target);
        EXPECT_EQ(p.set_ring(part), Rect{}) << "the same ring changes nothing";
        const Rect inside{(part.left - 1) * z, (part.top - 1) * z, (part.right + 1) * z,
                          (part.bottom + 1) * z};
        const Rect& reach = changed;
        int ringed = 0;
        for (int y = 0; y < 30 * z; ++y)
            for (int x = 0; x < 40 * z; ++x) {
                // How far out of the ring's inside edge, in window pixels (0: inside it).
                const std::int64_t out =
                    std::max({inside.left - x, x - (inside.right - 1), inside.top - y,
                              y - (inside.bottom - 1), std::int64_t{0}});
                const std::int64_t band = out == 0 ? 4 : (out - 1) / z;
                if (band < 4) {
                    ASSERT_EQ(w.at(x, y), bands[band]) << x << "," << y;
                    ASSERT_TRUE(reach.contains(x, y)) << x << "," << y;
                    ++ringed;
                } else {
                    ASSERT_EQ(w.at(x, y), fb.get(x / z, y / z)) << x << "," << y;
                }
            }
        EXPECT_EQ(ringed, (20 * z) * (18 * z) - (12 * z) * (10 * z)); // 20 x 18 less 12 x 10
        // A row drawn across it keeps the ring on top; without it, the picture comes back whole.
        Framebuffer under = fb;
        under.fill_span(7, 0, 40, rgb(1, 2, 3));
        draw_changes(p, under, Region(Rect{0, 7, 40, 8}), w.target);
        EXPECT_EQ(w.at(inside.left - 1, 7 * z), bands[0]);
        EXPECT_EQ(w.at(inside.left, 7 * z), rgb(1, 2, 3));
        draw_area(p, under, p.set_ring(std::nullopt), w.target);
        for (int y = 0; y < 30 * z; ++y)
            for (int x = 0; x < 40 * z; ++x)
                ASSERT_EQ(w.at(x, y), under.get(x / z, y / z)) << x << "," << y;
    }
}

} // namespace
