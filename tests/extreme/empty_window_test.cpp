// A client area of 0 x 0 (and of one empty side): a Tick and a paint draw nothing and break
// nothing, pixels read invalid, a snapshot is refused, and the window grown back paints as new.
#include "image/png_reader.h"
#include "script/run_script.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EmptyWindow, TicksAndPaintsAtZeroSizeThenPaintsWholeWhenGrownBack) {
    const std::string dir = kvtest::scratch_dir("empty");
    const std::string views = "click left 25 25\nclick left 260 290\nclick left 100 300\n";
    const auto shrunk = kvtest::run_script(views +
                                           "resize 0 0\ntick\nexpose\nexpose 0 0 10 10\n"
                                           "tick\npixel 0 0\nstate\nresize 0 557\ntick\n"
                                           "expose\nresize 780 0\ntick\nexpose\n"
                                           "resize 780 557\ntick\nsnapshot " +
                                           dir + "/shrunk.png\n");
    ASSERT_EQ(shrunk.exit_code, 0) << shrunk.err;
    const auto lines = shrunk.out_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "pixel 0 0 invalid");
    EXPECT_EQ(lines[1].find("null"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("\"tick\":3,"), std::string::npos) << "Ticks run at 0 x 0 as well";

    // The same Ticks without the shrinking: grown back, the window was painted whole, so the two
    // pictures are one.
    const auto plain =
        kvtest::run_script(views + "tick 4\nexpose\ntick\nsnapshot " + dir + "/plain.png\n");
    ASSERT_EQ(plain.exit_code, 0) << plain.err;
    const kv::Framebuffer a = kv::image::read_png(dir + "/shrunk.png");
    const kv::Framebuffer b = kv::image::read_png(dir + "/plain.png");
    EXPECT_EQ(ecran::Difference(a, b), "");
}

TEST(EmptyWindow, ASnapshotOfNothingIsRefusedAtItsLine) {
    const std::string dir = kvtest::scratch_dir("empty");
    const auto run =
        kvtest::run_script("resize 0 0\ntick\nstate\nsnapshot " + dir + "/none.png\nstate\n");
    EXPECT_EQ(run.exit_code, 2);
    EXPECT_EQ(run.out_lines().size(), 1u);
    EXPECT_NE(run.err.find(":4: cannot write PNG"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("the image is empty (0 x 0)"), std::string::npos) << run.err;
}

} // namespace
