// The parts the keyboard reaches and the page's buttons click, against the mouse's hit tests, at
// every pixel of the window and around it ("R à Z" answers a little right of the picture's 780
// columns): each ringed rectangle is exactly what its region answers to, and its middle reaches
// that region alone.
#include "shell/zones.h"
#include "tools/instruments/focus_regions.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(FocusRegions, AgreeWithTheHitTestsAtEveryPixelAndTheirMiddlesHitThemAlone) {
    using HitTest = bool (*)(int, int);
    // Tab's order: ALIM, the left coil, the upper-right, the lower-right, the rotor, Frein, R à Z.
    const std::array<HitTest, 7> hits{DansAlim,  DansBobine1, DansBobine3, DansBobine2,
                                      DansRotor, DansFrein,   DansRAZ};
    const std::vector<kv::viewer::FocusRegion> regions = FocusRegions();
    ASSERT_EQ(regions.size(), hits.size());
    for (std::size_t i = 0; i < hits.size(); ++i) {
        SCOPED_TRACE(regions[i].name.en);
        int disagree = 0, inside = 0;
        for (int y = -1; y <= 600; ++y) {
            for (int x = -1; x <= 800; ++x) {
                const bool hit = hits[i](x, y);
                disagree += hit != regions[i].rect.contains(x, y);
                inside += hit;
            }
        }
        EXPECT_EQ(disagree, 0);
        EXPECT_EQ(inside, regions[i].rect.width() * regions[i].rect.height());
        const kv::Point middle = FocusRegionMiddle(regions[i].rect);
        for (std::size_t j = 0; j < hits.size(); ++j) {
            EXPECT_EQ(hits[j](static_cast<int>(middle.x), static_cast<int>(middle.y)), i == j)
                << "region " << j << " at the middle";
        }
    }
}

} // namespace
