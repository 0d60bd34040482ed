// `record`: the GIF decoded with giflib and played as a viewer plays it (each frame drawn over
// the last, transparent pixels left alone) must show, frame by frame, exactly the picture that a
// snapshot takes at the same Tick of the same run.
#include "image/png_reader.h"
#include "platform/headless/gif_player.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

void expect_frames_match(const kvtest::Animation& a, const std::vector<std::string>& snapshots,
                         int delay_cs) {
    ASSERT_EQ(a.frames.size(), snapshots.size());
    EXPECT_TRUE(a.loops_forever);
    for (std::size_t f = 0; f < a.frames.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        const kv::Framebuffer expected = kv::image::read_png(snapshots[f]);
        ASSERT_EQ(a.width, expected.width());
        ASSERT_EQ(a.height, expected.height());
        ASSERT_TRUE(std::ranges::equal(a.frames[f].picture, expected.pixels()))
            << "the decoded frame differs";
        EXPECT_EQ(a.frames[f].delay_cs, delay_cs);
        EXPECT_EQ(a.frames[f].disposal, DISPOSE_DO_NOT);
        if (f == 0) continue;
        // Only what moved is stored: the disc and the plot, never the whole panel again.
        EXPECT_TRUE(a.frames[f].transparency);
        EXPECT_LT(a.frames[f].area, a.width * a.height / 3);
    }
}

TEST(Record, EveryDecodedFrameIsThePictureAtItsTick) {
    const std::string dir = kvtest::scratch_dir("record");
    // Supply on, the resultant with its forces: the run-up, where every Tick moves something.
    const std::string setup = "click left 25 25\nclick left 260 290\n";
    const auto recorded = kvtest::run_script(setup + "record " + dir + "/every tick.gif 40\n" +
                                             "record " + dir + "/every 4.gif 30 every 4\n");
    ASSERT_EQ(recorded.exit_code, 0) << recorded.err;

    // The same run, with a snapshot where each frame should be: after every Tick of the first
    // forty, then after every fourth of the next thirty and after the last (the 30th).
    std::string snapshots_script = setup;
    std::vector<std::string> each, fourth;
    for (int t = 1; t <= 40; ++t) {
        each.push_back(dir + "/t" + std::to_string(t) + ".png");
        snapshots_script += "tick\nsnapshot " + each.back() + "\n";
    }
    for (int t = 4; t <= 32; t += 4) {
        const int ticks = t <= 30 ? 4 : 2;
        fourth.push_back(dir + "/u" + std::to_string(t) + ".png");
        snapshots_script += "tick " + std::to_string(ticks) + "\nsnapshot " + fourth.back() + "\n";
    }
    const auto snapshots = kvtest::run_script(snapshots_script);
    ASSERT_EQ(snapshots.exit_code, 0) << snapshots.err;

    expect_frames_match(kvtest::play_gif(dir + "/every tick.gif"), each, 5);
    expect_frames_match(kvtest::play_gif(dir + "/every 4.gif"), fourth, 20);
}

} // namespace
