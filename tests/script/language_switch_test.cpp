// The language changed while the program runs (WM_LANGUE, as the page asks it): the run goes on,
// the plot keeps its trail, and the picture is the one the program draws in that language from
// the start, pixel for pixel.
//
// The change is posted from a hook of a run made in this process, from the scene's starting
// state, and compared with the program's own run of the same script with --lang.
#include "backends/headless/script.h"
#include "image/png_reader.h"
#include "script/run_script.h"
#include "base/apparences.h"
#include "shell/changement_langue.h"
#include "shell/etat_de_depart.h"
#include "shell/scene.h"
#include "base/textes.h"
#include "tools/korveline_script/run_scripted.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <variant>
#include <vector>

namespace {

// Supply on, a field, the resultant with the forces, the brake twice: a trail on the plot.
constexpr const char* kScene = "click left 25 25\nclick left 100 300\nclick left 260 290\n"
                               "click left 250 465\nclick left 250 465\n";

// Runs `script` here in French, asking for languages[k] (a row of `langues`) as the k-th `tick`
// command ends.
std::string RunHere(const std::string& script, const std::vector<WPARAM>& languages) {
    EtatDeDepart();
    auto parsed = kv::headless::parse_script(script);
    EXPECT_TRUE(std::holds_alternative<std::vector<kv::headless::Command>>(parsed));
    std::ostringstream out, err;
    std::size_t ended = 0;
    const ScriptedRun run =
        RunScripted(std::get<std::vector<kv::headless::Command>>(std::move(parsed)), out, err,
                    [&](std::int64_t done, std::int64_t total) {
                        if (done != total) return;
                        if (ended < languages.size()) {
                            const HWND hwnd = FindWindow(g_szClassName, nullptr);
                            EXPECT_NE(hwnd, nullptr);
                            EXPECT_TRUE(PostMessage(hwnd, WM_LANGUE, languages[ended], 0));
                        }
                        ++ended;
                    });
    EXPECT_EQ(run.exit_code, 0) << err.str();
    EXPECT_GE(ended, languages.size()) << "a tick command per language asked";
    textes = &textes_fr;
    return out.str();
}

int Differing(const kv::Framebuffer& a, const kv::Framebuffer& b) {
    if (a.width() != b.width() || a.height() != b.height()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.get(x, y) != b.get(x, y);
    return n;
}

TEST(LanguageWhileRunning, EnglishMidRunIsTheEnglishProgramsPictureAndItsRun) {
    ASSERT_STREQ(langues[1].code, "en");
    const std::string dir = kvtest::scratch_dir("language");
    const auto script = [&](const std::string& name) {
        return std::string(kScene) + "tick 150\ntick 60\nstate\nsnapshot " + dir + "/" + name +
               ".png\n";
    };
    const std::string here = RunHere(script("here"), {1});
    const kvtest::ScriptRun english = kvtest::run_program("--lang en", script("english"));
    const kvtest::ScriptRun french = kvtest::run_program("", script("french"));
    ASSERT_EQ(english.exit_code, 0) << english.err;
    EXPECT_EQ(here, english.out) << "the run went on as if the language had not changed";
    const kv::Framebuffer switched = kv::image::read_png(dir + "/here.png");
    EXPECT_EQ(Differing(switched, kv::image::read_png(dir + "/english.png")), 0);
    EXPECT_GT(Differing(switched, kv::image::read_png(dir + "/french.png")), 500)
        << "the French picture's texts differ";
}

// Back in French, nothing of the English texts stays, not even under the narrower reset label.
TEST(LanguageWhileRunning, EnglishAndBackIsTheProgramsOwnPicture) {
    const std::string dir = kvtest::scratch_dir("language-back");
    const auto script = [&](const std::string& name) {
        return std::string(kScene) + "tick 150\ntick 40\ntick 60\nstate\nsnapshot " + dir + "/" +
               name + ".png\n";
    };
    const std::string here = RunHere(script("here"), {1, 0});
    const kvtest::ScriptRun own = kvtest::run_program("", script("own"));
    ASSERT_EQ(own.exit_code, 0) << own.err;
    EXPECT_EQ(here, own.out);
    EXPECT_EQ(
        Differing(kv::image::read_png(dir + "/here.png"), kv::image::read_png(dir + "/own.png")),
        0);
}

} // namespace
