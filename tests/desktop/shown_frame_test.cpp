// Narrowing what the window manager reports as drawn down to what actually changed on screen.
#include "backends/sdl/screen/shown_frame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using kv::Framebuffer;
using kv::Rect;
using kv::sdl::ShownFrame;

// What take_changes appends, from nothing.
std::vector<Rect> changes(ShownFrame& shown, const Framebuffer& fb, const Rect& rect) {
    std::vector<Rect> out;
    shown.take_changes(fb, rect, out);
    return out;
}

bool covered(const std::vector<Rect>& rects, int x, int y) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.contains(x, y); });
}

TEST(ShownFrame, NothingChangedGivesNothing) {
    Framebuffer fb(50, 20, 7);
    ShownFrame shown;
    shown.assign(fb);
    EXPECT_TRUE(changes(shown, fb, fb.bounds()).empty());
}

TEST(ShownFrame, EveryChangedPixelIsCoveredAndFarUnchangedOnesAreNot) {
    Framebuffer fb(300, 100, 7);
    ShownFrame shown;
    shown.assign(fb);
    // A blob on the left, a dot far to the right on the same rows, as a Tick draws the disc
    // and the plot point.
    for (int y = 30; y < 60; ++y)
        fb.fill_span(y, 20, 70, 9);
    fb.set(250, 40, 9);
    const auto rects = changes(shown, fb, fb.bounds());
    ASSERT_EQ(rects.size(), 2u);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x)
            if (fb.get(x, y) == 9) {
                ASSERT_TRUE(covered(rects, x, y)) << x << "," << y;
            }
    EXPECT_FALSE(covered(rects, 150, 40)); // between the two
    EXPECT_TRUE(std::find(rects.begin(), rects.end(), Rect{20, 30, 70, 60}) != rects.end());
    EXPECT_TRUE(std::find(rects.begin(), rects.end(), Rect{250, 40, 251, 41}) != rects.end());
    // Taken: the same frame again has nothing new.
    EXPECT_TRUE(changes(shown, fb, fb.bounds()).empty());
}

TEST(ShownFrame, PiecesCloserThanTheGapShareARectangle) {
    Framebuffer fb(100, 10, 0);
    ShownFrame shown;
    shown.assign(fb);
    fb.set(10, 5, 1);
    fb.set(10 + ShownFrame::kJoinGap, 5, 1); // kJoinGap - 1 unchanged pixels between
    fb.set(10 + ShownFrame::kJoinGap, 6, 1);
    const auto rects = changes(shown, fb, fb.bounds());
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0], (Rect{10, 5, 11 + ShownFrame::kJoinGap, 7}));
}

TEST(ShownFrame, ARowOfChangesJoinsOrSplitsByTheGapBetweenThem) {
    // Changed pixels every `step` pixels along one row.
    struct Case {
        int step;
        std::size_t rects;
    };
    for (const Case c : {Case{1, 1}, Case{10, 1}, Case{int(ShownFrame::kJoinGap), 1},
                         Case{int(ShownFrame::kJoinGap) + 1, 12}, Case{40, 5}}) {
        Framebuffer fb(200, 3, 0);
        ShownFrame shown;
        shown.assign(fb);
        int changed = 0;
        for (int x = 3; x < 200 && changed < 12; x += c.step, ++changed)
            fb.set(x, 1, 1);
        const auto rects = changes(shown, fb, fb.bounds());
        EXPECT_EQ(rects.size(), c.rects) << "step " << c.step;
        for (int x = 0; x < 200; ++x) {
            EXPECT_EQ(covered(rects, x, 1) && fb.get(x, 1) == 1, fb.get(x, 1) == 1) << x;
        }
        for (const Rect& r : rects) {
            EXPECT_EQ(fb.get(r.left, 1), 1u) << "step " << c.step; // tight at both ends
            EXPECT_EQ(fb.get(r.right - 1, 1), 1u) << "step " << c.step;
        }
    }
}

TEST(ShownFrame, OnlyTheAskedRectangleIsComparedAndTaken) {
    Framebuffer fb(40, 40, 0);
    ShownFrame shown;
    shown.assign(fb);
    fb.set(5, 5, 1);
    fb.set(30, 30, 1);
    EXPECT_EQ(changes(shown, fb, Rect{0, 0, 20, 20}), (std::vector<Rect>{{5, 5, 6, 6}}));
    // The other change was not taken: it is still new.
    EXPECT_EQ(changes(shown, fb, fb.bounds()), (std::vector<Rect>{{30, 30, 31, 31}}));
    EXPECT_TRUE(changes(shown, fb, Rect{-10, -10, 500, 500}).empty());
}

TEST(ShownFrame, ANewSizeMakesTheWholeRectangleNew) {
    ShownFrame shown;
    shown.assign(Framebuffer(10, 10));
    const Framebuffer bigger(20, 15);
    EXPECT_EQ(changes(shown, bigger, Rect{0, 0, 30, 30}), (std::vector<Rect>{{0, 0, 20, 15}}));
    EXPECT_TRUE(changes(shown, bigger, bigger.bounds()).empty());
}

TEST(ShownFrame, ChangesAtTheRowEndsAreFound) {
    Framebuffer fb(37, 3, 0); // not a multiple of the block the scan skips by
    ShownFrame shown;
    shown.assign(fb);
    fb.set(0, 0, 1);
    fb.set(36, 2, 1);
    const auto rects = changes(shown, fb, fb.bounds());
    EXPECT_TRUE(covered(rects, 0, 0));
    EXPECT_TRUE(covered(rects, 36, 2));
}

} // namespace
