// The parts the keyboard reaches against the application's own hit tests: each ringed rectangle is
// exactly what its region answers to, and a click in its middle reaches that region alone.
#include "shell/zones.h"
#include "tools/instruments/focus_regions.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(FocusRegions, EachIsItsHitTestsBoundsAndItsMiddleHitsItAlone) {
    using HitTest = bool (*)(int, int);
    // Tab's order: ALIM, the left coil, the upper-right, the lower-right, the rotor, Frein, R à Z.
    const std::array<HitTest, 7> hits{DansAlim,  DansBobine1, DansBobine3, DansBobine2,
                                      DansRotor, DansFrein,   DansRAZ};
    const std::vector<kv::viewer::FocusRegion> regions = FocusRegions();
    ASSERT_EQ(regions.size(), hits.size());
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const kv::Rect r = regions[i].rect;
        SCOPED_TRACE(regions[i].name.en);
        const auto x = static_cast<int>(r.left), y = static_cast<int>(r.top);
        const auto right = static_cast<int>(r.right), bottom = static_cast<int>(r.bottom);
        // Its corners are in; one pixel further out on each side is not.
        EXPECT_TRUE(hits[i](x, y) && hits[i](right - 1, bottom - 1));
        EXPECT_FALSE(hits[i](x - 1, y) || hits[i](x, y - 1));
        EXPECT_FALSE(hits[i](right, bottom - 1) || hits[i](right - 1, bottom));
        const int mid_x = (x + right) / 2, mid_y = (y + bottom) / 2;
        for (std::size_t j = 0; j < hits.size(); ++j)
            EXPECT_EQ(hits[j](mid_x, mid_y), i == j) << "region " << j << " at the middle";
    }
}

} // namespace
