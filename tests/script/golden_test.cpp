// Whole frames compared with stored pictures, pixel for pixel. With KORVELINE_RECORD=1 the tests
// write the pictures instead; a failing comparison leaves the actual frame and a difference image
// beside the build for a look.
#include "image/png_reader.h"
#include "image/png_writer.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Golden {
    const char* name;
    const char* script;
    const char* options = ""; // the program's, before the script
};

void PrintTo(const Golden& g, std::ostream* os) {
    *os << g.name;
}

// Supply on, every field, the resultant with the forces, the brake at 1, and the motor running up.
constexpr const char* kRunning = "click left 25 25\nclick left 100 300\nclick left 300 100\n"
                                 "click left 300 450\nclick left 260 290\n"
                                 "click left 250 465\nclick left 250 465\ntick 777";

class GoldenFrames : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenFrames, MatchTheStoredPicture) {
    const Golden& g = GetParam();
    const fs::path dir = kvtest::scratch_dir("golden");
    const fs::path actual_path = dir / (std::string(g.name) + ".png");
    const auto run = kvtest::run_program(g.options, std::string(g.script) + "\nsnapshot " +
                                                        actual_path.string() + "\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const fs::path stored =
        fs::path(KORVELINE_SOURCE_DIR) / "tests" / "golden" / (std::string(g.name) + ".png");
    if (const char* record = std::getenv("KORVELINE_RECORD");
        record && std::string(record) == "1") {
        fs::copy_file(actual_path, stored, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "recorded " << stored;
    }
    ASSERT_TRUE(fs::exists(stored)) << stored << " is missing; record it with KORVELINE_RECORD=1";

    const kv::Framebuffer expected = kv::image::read_png(stored.string());
    const kv::Framebuffer actual = kv::image::read_png(actual_path.string());
    ASSERT_EQ(actual.width(), expected.width());
    ASSERT_EQ(actual.height(), expected.height());
    kv::Framebuffer diff(actual.width(), actual.height(), 0xFFFFFF);
    int differing = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.get(x, y) == expected.get(x, y)) continue;
            ++differing;
            diff.set(x, y, 0x0000FF);
        }
    }
    if (differing > 0) kv::image::write_png(diff, (dir / "diff.png").string());
    EXPECT_EQ(differing, 0) << "actual frame: " << actual_path
                            << ", differences in red: " << (dir / "diff.png")
                            << "; if the change is intended, re-record "
                            << "with KORVELINE_RECORD=1 ctest -R GoldenFrames";
}

INSTANTIATE_TEST_SUITE_P(
    Frames, GoldenFrames,
    ::testing::Values(Golden{"startup", ""}, Golden{"running", kRunning},
                      Golden{"reset", "click left 25 25\ntick 300\nclick left 250 465\n"
                                      "click left 760 348\ntick 20"},
                      // The other looks: fields alone (every arrow, the centre's too), then with
                      // the resultant, the forces and the brake.
                      Golden{"look_colour_vision_fields",
                             "click left 25 25\nclick left 100 300\nclick left 300 100\n"
                             "click left 300 450\ntick 777",
                             "--look colour-vision"},
                      Golden{"look_colour_vision_running", kRunning, "--look colour-vision"},
                      Golden{"look_projector_running", kRunning, "--look projector"}),
    [](const ::testing::TestParamInfo<Golden>& param) { return std::string(param.param.name); });

} // namespace
