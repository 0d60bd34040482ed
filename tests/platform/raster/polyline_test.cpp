#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv::raster::test {
namespace {

std::string polyline_picture(int width, int height, const std::vector<Point>& points, int pen) {
    return render(width, height, [&](Canvas& c) { polyline(c, points, Pen{pen, kInk}); });
}

TEST(RasterPolyline, ThinPenDrawsMiddleVerticesButNotTheFinalPoint) {
    EXPECT_EQ(polyline_picture(9, 7, {{1, 1}, {6, 1}, {6, 5}, {2, 5}}, 1), art(R"(
        .........
        .######..
        ......#..
        ......#..
        ......#..
        ...####..
        .........)"));
}

TEST(RasterPolyline, WidePenJoinsSegmentsRound) {
    EXPECT_EQ(polyline_picture(9, 8, {{1, 1}, {6, 1}, {6, 5}}, 3), art(R"(
        .######..
        ########.
        .#######.
        .....###.
        .....###.
        .....###.
        ......#..
        .........)"));
}

TEST(RasterPolyline, FewerThanTwoPointsDrawNothing) {
    const std::string blank = render(6, 6, [](Canvas&) {});
    for (const int pen : {1, 3, 4}) {
        EXPECT_EQ(polyline_picture(6, 6, {}, pen), blank);
        EXPECT_EQ(polyline_picture(6, 6, {{3, 3}}, pen), blank);
    }
}

TEST(RasterPolyline, TwoEqualPointsLeaveADotOnlyWithAWidePen) {
    EXPECT_EQ(polyline_picture(5, 5, {{2, 2}, {2, 2}}, 1), render(5, 5, [](Canvas&) {}));
    EXPECT_EQ(polyline_picture(5, 5, {{2, 2}, {2, 2}}, 3), art(R"(
        .....
        ..#..
        .###.
        ..#..
        .....)"));
}

} // namespace
} // namespace kv::raster::test
