// The looks through the programs: --look, and a change of look while the program runs, which keeps
// the run and brings the program's own picture back pixel for pixel. (Each look's golden pictures
// are in golden_test.cpp.)
//
// A change while running is asked as the viewer asks it, by kv::tools::request_look from a hook of
// the run; so those runs are made in this process, each from the scene's starting state, and
// compared with the program's own run of the same script.
#include "backends/headless/script.h"
#include "image/png_reader.h"
#include "script/run_script.h"
#include "base/apparences.h"
#include "shell/etat_de_depart.h"
#include "shell/scene.h"
#include "tools/instruments/options.h"
#include "tools/korveline_script/run_scripted.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr kv::Color rgb(int r, int g, int b) {
    return static_cast<kv::Color>(r | (g << 8) | (b << 16));
}

kv::Color Kv(COLORREF c) {
    return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Supply on, the three fields, the resultant with the forces, the brake twice.
constexpr const char* kScene = "click left 25 25\nclick left 100 300\nclick left 300 100\n"
                               "click left 300 450\nclick left 260 290\nclick left 250 465\n"
                               "click left 250 465\n";

int Differing(const kv::Framebuffer& a, const kv::Framebuffer& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.get(x, y) != b.get(x, y);
    return n;
}

TEST(LookOption, AnUnknownLookIsOneLineAndExitCodeTwo) {
    const std::string known = "(known: default, colour-vision, projector)";
    struct Bad {
        const char* options;
        std::string error;
    };
    for (const Bad& bad :
         {Bad{"--look sepia", "korveline-script: --look: unknown look 'sepia' " + known + "\n"},
          Bad{"--look Projector",
              "korveline-script: --look: unknown look 'Projector' " + known + "\n"},
          Bad{"--look",
              "korveline-script: --look needs a look (default, colour-vision, projector) (see "
              "--help)\n"},
          Bad{"--look=",
              "korveline-script: --look needs a look (default, colour-vision, projector) (see "
              "--help)\n"}}) {
        const kvtest::ScriptRun r = kvtest::run_program(bad.options, "tick\n");
        EXPECT_EQ(r.exit_code, 2) << bad.options;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, bad.error);
    }
}

kv::Framebuffer Snapshot(const std::string& options, const std::string& name) {
    const std::string png = kvtest::scratch_dir("look") + "/" + name + ".png";
    const auto r =
        kvtest::run_program(options, std::string(kScene) + "tick 200\nsnapshot " + png + "\n");
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return kv::image::read_png(png);
}

TEST(LookOption, DefaultIsTheProgramsOwnPictureAndTheLastOptionCounts) {
    const kv::Framebuffer own = Snapshot("", "own");
    EXPECT_EQ(Differing(Snapshot("--look default", "default"), own), 0);
    const kv::Framebuffer projector = Snapshot("--look=projector", "projector");
    EXPECT_GT(Differing(projector, own), 10000);
    EXPECT_EQ(Differing(Snapshot("--look colour-vision --look projector", "last"), projector), 0);
    EXPECT_EQ(projector.get(200, 100),
              Kv(apparences[APPARENCE_PROJECTEUR].background_brush.couleur));
}

// Runs `script` here, asking for looks[k] (nullptr: none) as the k-th `tick` command ends; returns
// what the script printed.
std::string RunHere(const std::string& script, const std::vector<const char*>& looks) {
    EtatDeDepart();
    auto parsed = kv::headless::parse_script(script);
    EXPECT_TRUE(std::holds_alternative<std::vector<kv::headless::Command>>(parsed));
    std::ostringstream out, err;
    std::size_t ended = 0;
    const ScriptedRun run =
        RunScripted(std::get<std::vector<kv::headless::Command>>(std::move(parsed)), out, err,
                    [&](std::int64_t done, std::int64_t total) {
                        if (done != total) return;
                        if (ended < looks.size() && looks[ended] != nullptr) {
                            EXPECT_TRUE(kv::tools::request_look(looks[ended])) << looks[ended];
                            EXPECT_FALSE(kv::tools::request_look("sepia"));
                        }
                        ++ended;
                    });
    EXPECT_EQ(run.exit_code, 0) << err.str();
    EXPECT_EQ(ended, looks.size()) << "a tick command per look asked";
    ChoisirApparence(APPARENCE_DEFAUT);
    return out.str();
}

// The program's own run of `script`: its output, and its snapshot at `png`.
std::string RunProgram(const std::string& script) {
    const kvtest::ScriptRun r = kvtest::run_script(script);
    EXPECT_EQ(r.exit_code, 0) << r.err;
    return r.out;
}

TEST(LookWhileRunning, ColourVisionAndBackLeavesTheProgramsOwnPicture) {
    const std::string dir = kvtest::scratch_dir("back");
    const auto script = [&](const std::string& name) {
        return std::string(kScene) + "tick 150\ntick 40\nsnapshot " + dir + "/" + name +
               "-between.png\ntick 60\nstate\nsnapshot " + dir + "/" + name + ".png\n";
    };
    const std::string here = RunHere(script("here"), {"colour-vision", "default", nullptr});
    const std::string program = RunProgram(script("program"));
    EXPECT_EQ(kv::image::read_png(dir + "/here-between.png").get(200, 100),
              Kv(apparences[APPARENCE_VISION_COULEURS].background_brush.couleur))
        << "the look had changed";
    EXPECT_EQ(here, program) << "the run went on as if the look had not changed";
    EXPECT_EQ(Differing(kv::image::read_png(dir + "/here.png"),
                        kv::image::read_png(dir + "/program.png")),
              0);
}

// The projector draws the trail wider: back in the program's own look, the plot is the same once
// it is cleared, and everything else at once.
TEST(LookWhileRunning, ProjectorAndBackLeavesTheProgramsOwnPictureOnceThePlotIsCleared) {
    const std::string dir = kvtest::scratch_dir("projector");
    const auto script = [&](const std::string& name) {
        return std::string(kScene) + "tick 150\ntick 40\nsnapshot " + dir + "/" + name +
               "-between.png\nclick left 760 348\ntick 60\nstate\nsnapshot " + dir + "/" + name +
               ".png\n";
    };
    const std::string here = RunHere(script("here"), {"projector", "default", nullptr});
    EXPECT_EQ(kv::image::read_png(dir + "/here-between.png").get(200, 100),
              Kv(apparences[APPARENCE_PROJECTEUR].background_brush.couleur))
        << "the look had changed";
    EXPECT_EQ(here, RunProgram(script("program")));
    EXPECT_EQ(Differing(kv::image::read_png(dir + "/here.png"),
                        kv::image::read_png(dir + "/program.png")),
              0);
}

// Changing the look recolours the trail in place: the run's curve stays on the plot. The rest of
// the window takes the new look at once (a click outside every region lets the window handle the
// change before the snapshot, with no Tick in between).
TEST(LookWhileRunning, ThePlotKeepsItsTrailInTheNewLooksColour) {
    const std::string dir = kvtest::scratch_dir("trail");
    const std::string before = "click left 25 25\ntick 300\n";
    RunHere(before + "click right 779 556\nsnapshot " + dir + "/here.png\n", {"projector"});
    RunProgram(before + "snapshot " + dir + "/program.png\n");
    const kv::Framebuffer here = kv::image::read_png(dir + "/here.png");
    const kv::Framebuffer program = kv::image::read_png(dir + "/program.png");

    const kv::Color old_trail = Kv(apparences[APPARENCE_DEFAUT].yellow_pen_fonce_3.couleur);
    const kv::Color new_trail = Kv(apparences[APPARENCE_PROJECTEUR].yellow_pen_fonce_3.couleur);
    const kv::Color black = rgb(0, 0, 0);
    int trail = 0;
    for (int y = 0; y < 360; ++y) {
        for (int x = 455; x < program.width(); ++x) {
            const kv::Color was = program.get(x, y);
            const kv::Color is = here.get(x, y);
            if (was == old_trail) {
                ++trail;
                EXPECT_EQ(is, new_trail) << x << "," << y;
            } else if (was == black) {
                // The axes, the labels, and the current point, which joins the trail.
                EXPECT_TRUE(is == black || is == new_trail) << x << "," << y;
            } else {
                EXPECT_EQ(is, was) << x << "," << y;
            }
        }
    }
    EXPECT_GT(trail, 300);
    EXPECT_EQ(here.get(200, 100), Kv(apparences[APPARENCE_PROJECTEUR].background_brush.couleur));
    EXPECT_EQ(here.get(150, 290), Kv(apparences[APPARENCE_PROJECTEUR].cuivre_pen_4.couleur));
}

TEST(LookWhileRunning, ThereIsNoWindowToAskBeforeOrAfterARun) {
    EXPECT_FALSE(kv::tools::request_look("projector"));
}

} // namespace
