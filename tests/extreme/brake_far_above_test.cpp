// Ten thousand left clicks on the brake: its line climbs 4 pixels a click, leaves the plot after 23
// and ends 39,820 pixels above the client area. Up there GetPixel reads CLR_INVALID and SetPixel
// writes nothing, so every row the line crossed comes back and the model keeps a finite state.
#include "panels/frein.h"

#include "app/ecran.h"
#include "image/png_reader.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace ecran;

std::string Repeat(const std::string& text, int n) {
    std::string s;
    for (int k = 0; k < n; ++k)
        s += text;
    return s;
}

TEST(BrakeFarAbove, AboveTheWindowTheStoreReadsInvalidAndWritesNothingBack) {
    static tagFrein frein; // static storage, as the program's own
    kv::Framebuffer fb = Vide();
    frein.couple = 5000.0; // ten thousand steps of 0.5
    Sur(fb, [&](HDC hdc) {
        frein.Pixelstock(hdc); // gives back the zero records, then reads the row far above
        frein.CreateCourbe(hdc);
    });
    for (const tagPixel& p : frein.pixels) {
        EXPECT_EQ(p.y, 180 - 8 * 5000);
        EXPECT_EQ(p.color, CLR_INVALID);
    }
    const kv::Framebuffer apres_premier = fb;

    frein.couple = 5000.5;
    Sur(fb, [&](HDC hdc) {
        frein.Pixelstock(hdc);
        frein.CreateCourbe(hdc);
    });
    EXPECT_EQ(Difference(fb, apres_premier), "") << "the invalid colours wrote nothing";
}

TEST(BrakeFarAbove, TenThousandLeftClicksGiveEveryRowBackAndKeepTheModelFinite) {
    const std::string dir = kvtest::scratch_dir("brake");
    const auto run = kvtest::run_script(
        "tick 3\nsnapshot " + dir + "/before.png\n" + Repeat("click left 250 465\n", 10'000) +
        "snapshot " + dir + "/after.png\nstate\nclick left 25 25\ntick 2000\n" + "state\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\"couple\":5000,"), std::string::npos) << lines[0];
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("null"), std::string::npos) << "a value that is not finite: " << line;

    const kv::Framebuffer before = kv::image::read_png(dir + "/before.png");
    const kv::Framebuffer after = kv::image::read_png(dir + "/after.png");
    EXPECT_EQ(Difference(after, before), "");
    EXPECT_GT(Compte(before, kBlanc, 470, 10, 770, 170), 40000) << "the plot is there to compare";
}

} // namespace
