// What a user sees: snapshots of scripted runs, checked where the drawing puts fixed pixels.
#include "image/png_reader.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr kv::Color rgb(int r, int g, int b) {
    return static_cast<kv::Color>(r | (g << 8) | (b << 16));
}
constexpr kv::Color kBackground = rgb(0, 200, 200);
constexpr kv::Color kBlack = rgb(0, 0, 0);
constexpr kv::Color kWhite = rgb(255, 255, 255);
constexpr kv::Color kCopper = rgb(255, 110, 0);
constexpr kv::Color kGray = rgb(170, 170, 170);
constexpr kv::Color kTrail = rgb(155, 155, 0);

// Runs `script`, then a snapshot; returns the picture.
kv::Framebuffer scene(const std::string& script) {
    const std::string png = kvtest::scratch_dir("scene") + "/scene.png";
    const auto run = kvtest::run_script(script + "\nsnapshot " + png + "\n");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return kv::image::read_png(png);
}

int count(const kv::Framebuffer& fb, kv::Rect area, kv::Color c) {
    int n = 0;
    for (auto y = area.top; y < area.bottom; ++y)
        for (auto x = area.left; x < area.right; ++x)
            n += fb.get(x, y) == c;
    return n;
}

// Inside the central disc, where the moving parts are drawn.
int count_in_disc(const kv::Framebuffer& fb, kv::Color c, int radius = 105) {
    int n = 0;
    for (int y = 290 - radius; y <= 290 + radius; ++y)
        for (int x = 260 - radius; x <= 260 + radius; ++x)
            n += (x - 260) * (x - 260) + (y - 290) * (y - 290) <= radius * radius &&
                 fb.get(x, y) == c;
    return n;
}

TEST(Scene, StartUpShowsTheFixedPartsWhereTheyBelong) {
    const kv::Framebuffer fb = scene("");
    ASSERT_EQ(fb.width(), 780);
    ASSERT_EQ(fb.height(), 557);
    // Supply: three lines, the white box with its black outline and a red label.
    for (int y : {10, 20, 30})
        EXPECT_EQ(fb.get(200, y), kBlack) << y;
    EXPECT_EQ(fb.get(454, 10), kBlack);
    EXPECT_EQ(fb.get(457, 10), kWhite) << "the plot's white frame covers the lines' ends";
    for (auto [x, y] : {std::pair{0, 0}, {49, 0}, {0, 39}, {49, 39}})
        EXPECT_EQ(fb.get(x, y), kBlack);
    EXPECT_EQ(fb.get(45, 35), kWhite);
    EXPECT_GT(count(fb, {10, 15, 40, 31}, rgb(255, 0, 0)), 20);
    // Coils: innermost and outermost spires of each, four pixels wide in copper.
    for (auto [x, y] : {std::pair{150, 290},
                        {148, 240},
                        {6, 300},
                        {4, 339},
                        {358, 360},
                        {271, 410},
                        {430, 484},
                        {358, 220},
                        {271, 170},
                        {343, 46}})
        EXPECT_EQ(fb.get(x, y), kCopper) << x << "," << y;
    EXPECT_EQ(fb.get(152, 290), kBackground);
    // Leads, one pixel wide.
    for (auto [x, y] : {std::pair{430, 200}, {336, 40}, {60, 100}, {60, 199}, {33, 220}})
        EXPECT_EQ(fb.get(x, y), kBlack) << x << "," << y;
    EXPECT_EQ(fb.get(61, 100), kBackground);
    // Plot: white inside, axes, the reset label on gray.
    EXPECT_EQ(fb.get(600, 100), kWhite);
    EXPECT_EQ(fb.get(460, 100), kBlack);
    EXPECT_EQ(fb.get(455, 180), kBlack);
    EXPECT_EQ(fb.get(779, 180), kBlack);
    EXPECT_EQ(fb.get(459, 100), kWhite);
    EXPECT_GT(count(fb, {740, 343, 780, 359}, kGray), 100);
    EXPECT_GT(count(fb, {465, 5, 485, 21}, kBlack), 10) << "the label Tu";
    // Brake: purple rod, gray box with its black label.
    EXPECT_EQ(fb.get(255, 400), rgb(100, 0, 100));
    EXPECT_EQ(fb.get(254, 400), rgb(100, 0, 100));
    EXPECT_EQ(fb.get(253, 400), kBackground);
    EXPECT_EQ(fb.get(232, 445), kGray) << "the 10 px outline reaches outside the box";
    EXPECT_GT(count(fb, {240, 460, 275, 476}, kBlack), 20);
    // Instructions: ten lines of black text on the background.
    for (int top : {370, 386, 402, 418, 434, 450, 466, 490, 506, 522})
        EXPECT_GT(count(fb, {450, top, 780, top + 16}, kBlack), 40) << top;
    EXPECT_EQ(count(fb, {450, 370, 780, 538}, kWhite), 0);
    // The disc: the first Tick drew into the hidden window, the first paint erased everything.
    EXPECT_EQ(count_in_disc(fb, kCopper), 0);
}

TEST(Scene, ATickDrawsTheRotorAndTheOperatingPoint) {
    const kv::Framebuffer fb = scene("tick");
    EXPECT_EQ(fb.get(200, 290), kCopper) << "turn 1 at theta 0";
    EXPECT_EQ(fb.get(320, 290), kCopper);
    EXPECT_EQ(fb.get(241, 323), kCopper) << "turn 2 from (222,356) to (298,224)";
    EXPECT_EQ(fb.get(160, 290), kBackground);
    // At rest with the supply off the point stays at the origin: a black plus sign.
    for (auto [x, y] : {std::pair{460, 180}, {459, 180}, {461, 180}, {460, 179}, {460, 181}})
        EXPECT_EQ(fb.get(x, y), kBlack);
    EXPECT_EQ(fb.get(461, 181), kWhite);
}

TEST(Scene, ClickingTheRegionsShowsWhatTheyControl) {
    const kv::Framebuffer fb = scene("click left 25 25\nclick left 100 300\nclick left 300 100\n"
                                     "click left 300 450\nclick left 260 290\ntick 30");
    EXPECT_GT(count(fb, {10, 15, 40, 31}, rgb(0, 255, 0)), 20) << "the label turns green";
    EXPECT_EQ(count(fb, {10, 15, 40, 31}, rgb(255, 0, 0)), 0);
    EXPECT_GT(count_in_disc(fb, rgb(0, 0, 255)), 10) << "left coil's arrows";
    EXPECT_GT(count_in_disc(fb, rgb(0, 100, 0)), 10) << "upper-right coil's arrows";
    EXPECT_GT(count_in_disc(fb, rgb(255, 0, 0)), 10) << "lower-right coil's arrows";
    EXPECT_GT(count_in_disc(fb, kBlack), 60) << "the resultant";
    EXPECT_GT(count_in_disc(fb, rgb(255, 255, 0)), 30) << "the Laplace forces";
    EXPECT_GT(count(fb, {455, 0, 780, 360}, kTrail), 20) << "a trail on the plot";
}

TEST(Scene, HidingEveryFieldWipesTheDiscAndRedrawsTheCoils) {
    const kv::Framebuffer fb =
        scene("click left 25 25\nclick left 100 300\nclick left 260 290\ntick 30\n"
              "click right 100 300\nclick right 260 290");
    EXPECT_EQ(count_in_disc(fb, rgb(0, 0, 255)), 0);
    EXPECT_EQ(count_in_disc(fb, rgb(255, 255, 0)), 0);
    EXPECT_EQ(count_in_disc(fb, kCopper), 0) << "the rotor comes back at the next Tick";
    EXPECT_EQ(fb.get(151, 290), kCopper) << "the coils were drawn again over the wiped edge";
}

TEST(Scene, BrakeLineMovesAndPutsBackWhatLayUnderIt) {
    const kv::Framebuffer once = scene("click left 250 465");
    for (int x : {460, 470, 600, 779})
        EXPECT_EQ(once.get(x, 176), kBlack) << x;
    EXPECT_EQ(once.get(600, 175), kWhite);

    const kv::Framebuffer twice = scene("click left 250 465\nclick left 250 465");
    EXPECT_EQ(twice.get(600, 172), kBlack);
    EXPECT_EQ(twice.get(600, 176), kWhite) << "the old row is restored";
    EXPECT_EQ(twice.get(460, 176), kBlack) << "including the axis under it";

    const kv::Framebuffer floor = scene("click left 250 465\nclick right 250 465\n"
                                        "click right 250 465");
    EXPECT_EQ(floor.get(600, 180), kBlack) << "torque 0: the line lies on the speed axis";
    EXPECT_EQ(floor.get(600, 176), kWhite);
}

TEST(Scene, ResetClearsTheTrailAndTheBrakeRowComesBackWithItsOldPixels) {
    const std::string run = "click left 25 25\ntick 400\n";
    const kv::Framebuffer before = scene(run);
    ASSERT_GT(count(before, {460, 176, 780, 177}, kTrail), 0) << "the run-up crosses row 176";

    const kv::Framebuffer reset = scene(run + "click left 250 465\nclick left 760 348");
    EXPECT_EQ(count(reset, {455, 0, 780, 360}, kTrail), 0);
    EXPECT_EQ(count(reset, {461, 176, 780, 177}, kBlack), 0) << "the brake line is gone too";

    // The next brake click puts back the row saved under the first line, trail dots included,
    // then draws the new line four rows higher.
    const kv::Framebuffer again =
        scene(run + "click left 250 465\nclick left 760 348\nclick left 250 465");
    for (int x = 460; x < 780; ++x)
        ASSERT_EQ(again.get(x, 176), before.get(x, 176)) << x;
    EXPECT_EQ(again.get(600, 172), kBlack);
}

TEST(Scene, ExposeRepaintsOnlyTheFixedParts) {
    const kv::Framebuffer fb = scene("click left 25 25\ntick 200\nexpose\n");
    EXPECT_EQ(count(fb, {455, 0, 780, 360}, kTrail), 0) << "the trail is not part of a repaint";
    EXPECT_GT(count(fb, {10, 15, 40, 31}, rgb(0, 255, 0)), 20)
        << "a repaint shows the supply's real state";
    EXPECT_EQ(count_in_disc(fb, kCopper), 0) << "the disc waits for the next Tick";
}

TEST(Scene, ResizeKeepsTheLayoutAndPaintsOnlyWhatIsNew) {
    const kv::Framebuffer wide = scene("resize 900 600");
    ASSERT_EQ(wide.width(), 900);
    EXPECT_EQ(wide.get(805, 100), kWhite) << "the plot's right edge shows once widened";
    EXPECT_EQ(wide.get(812, 100), kWhite);
    EXPECT_EQ(wide.get(816, 100), kBackground);
    EXPECT_GT(count(wide, {780, 190, 800, 206}, kBlack), 5) << "the speed axis label n";
    const kv::Framebuffer small = scene("resize 100 80");
    EXPECT_EQ(small.width(), 100);
    EXPECT_EQ(small.get(0, 0), kBlack);
}

} // namespace
