#include "platform/raster/raster_test_support.h"

#include <gtest/gtest.h>

namespace kv::raster::test {
namespace {

std::string rectangle_picture(int width, int height, Rect box, int pen) {
    return render(width, height, [&](Canvas& c) { rectangle(c, box, Pen{pen, kInk}, kBrush); });
}

TEST(RasterRectangle, OnePixelPenOutlinesInsideTheBoxAndBrushFillsTheRest) {
    // Rectangle(0, 0, 5, 4): outline x 0..4, y 0..3; brush x 1..3, y 1..2.
    EXPECT_EQ(rectangle_picture(7, 5, {0, 0, 5, 4}, 1), art(R"(
        #####..
        #ooo#..
        #ooo#..
        #####..
        .......)"));
}

TEST(RasterRectangle, WidePensAreCentredOnTheOnePixelOutline) {
    // Box (3, 3, 12, 10): the 1-pixel outline is x 3..11, y 3..9. Even pens lean up and left.
    const struct {
        int pen;
        const char* expected;
    } cases[] = {{2, R"(
        ..............
        ..............
        ..##########..
        ..##########..
        ..##oooooo##..
        ..##oooooo##..
        ..##oooooo##..
        ..##oooooo##..
        ..##########..
        ..##########..
        ..............
        ..............)"},
                 {3, R"(
        ..............
        ..............
        ...#########..
        ..###########.
        ..###########.
        ..###ooooo###.
        ..###ooooo###.
        ..###ooooo###.
        ..###########.
        ..###########.
        ...#########..
        ..............)"},
                 {4, R"(
        ..............
        ..##########..
        .############.
        .############.
        .############.
        .####oooo####.
        .####oooo####.
        .############.
        .############.
        .############.
        ..##########..
        ..............)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "pen " << c.pen);
        EXPECT_EQ(rectangle_picture(14, 12, {3, 3, 12, 10}, c.pen), art(c.expected));
    }
}

TEST(RasterRectangle, TenPixelPenLeavesTheBrushOnlyInTheMiddle) {
    // Outline x 6..18, y 6..18; the pen covers 5 pixels outside it and 4 inside.
    EXPECT_EQ(rectangle_picture(24, 24, {6, 6, 19, 19}, 10), art(R"(
        ........................
        ....################....
        ...##################...
        ..####################..
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        .##########oo##########.
        .##########oo##########.
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        .######################.
        ..####################..
        ...##################...
        ....################....
        ........................)"));
}

TEST(RasterRectangle, CornersInAnyOrderGiveTheSameBox) {
    const std::string expected = rectangle_picture(12, 10, {2, 1, 9, 8}, 3);
    EXPECT_EQ(rectangle_picture(12, 10, {9, 1, 2, 8}, 3), expected);
    EXPECT_EQ(rectangle_picture(12, 10, {2, 8, 9, 1}, 3), expected);
    EXPECT_EQ(rectangle_picture(12, 10, {9, 8, 2, 1}, 3), expected);
}

TEST(RasterRectangle, EmptyBoxDrawsNothing) {
    const std::string blank = render(10, 10, [](Canvas&) {});
    for (const int pen : {1, 3, 10}) {
        EXPECT_EQ(rectangle_picture(10, 10, {4, 2, 4, 8}, pen), blank);
        EXPECT_EQ(rectangle_picture(10, 10, {2, 5, 8, 5}, pen), blank);
    }
}

TEST(RasterRectangle, NarrowBoxesAreLinesOfPen) {
    EXPECT_EQ(rectangle_picture(5, 5, {2, 1, 3, 4}, 1), art(R"(
        .....
        ..#..
        ..#..
        ..#..
        .....)"));
    EXPECT_EQ(rectangle_picture(6, 4, {1, 1, 5, 3}, 1), art(R"(
        ......
        .####.
        .####.
        ......)"));
    // As in GDI: a one-pixel box's outline path has all its points on one pixel, which a 1-pixel
    // pen does not draw, while a wide pen leaves its dot there.
    EXPECT_EQ(rectangle_picture(3, 3, {1, 1, 2, 2}, 1), art("...|...|..."));
    EXPECT_EQ(rectangle_picture(3, 3, {1, 1, 2, 2}, 3), art(".#.|###|.#."));
}

TEST(RasterRectangle, PartlyOffCanvas) {
    EXPECT_EQ(rectangle_picture(6, 4, {-3, -2, 4, 3}, 1), art(R"(
        ooo#..
        ooo#..
        ####..
        ......)"));
    EXPECT_EQ(rectangle_picture(6, 5, {2, 2, 40, 30}, 3), art(R"(
        ......
        ..####
        .#####
        .#####
        .###oo)"));
    // The box ends left of the canvas; its wide pen still reaches column 0.
    EXPECT_EQ(rectangle_picture(3, 5, {-6, 1, 0, 4}, 3), art(R"(
        ...
        #..
        #..
        #..
        ...)"));
}

} // namespace
} // namespace kv::raster::test
