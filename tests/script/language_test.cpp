// The picture in another language: only the texts change, each within its box, and French stays
// the default.
#include "image/png_reader.h"
#include "font/system_font.h"
#include "script/run_script.h"
#include "base/textes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace {

// The scene of the "running" golden picture: every kind of drawing, and the supply label green.
constexpr const char* kScene = "click left 25 25\nclick left 100 300\nclick left 300 100\n"
                               "click left 300 450\nclick left 260 290\nclick left 250 465\n"
                               "click left 250 465\ntick 777\n";

struct Cell {
    int left, top, right, bottom; // right and bottom exclusive
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

int Extent(const TexteEcran& t) {
    return kv::font::text_extent(std::span(reinterpret_cast<const unsigned char*>(t.texte),
                                           static_cast<std::size_t>(t.longueur)));
}

// Every text of a table, in the order of kCorners.
std::vector<TexteEcran> Texts(const tagTextes& t) {
    std::vector<TexteEcran> all = {t.alim, t.tu, t.n, t.raz, t.frein};
    all.insert(all.end(), std::begin(t.mode_emploi), std::end(t.mode_emploi));
    return all;
}

// Where each text is drawn: the top-left corner of its first cell.
struct Corner {
    int x, y;
};
constexpr Corner kCorners[15] = {{10, 15},   {465, 5},   {780, 190}, {740, 343}, {240, 460},
                                 {450, 370}, {450, 386}, {450, 402}, {450, 418}, {450, 434},
                                 {450, 450}, {450, 466}, {450, 490}, {450, 506}, {450, 522}};

Cell CellOf(std::size_t i, const tagTextes& table) {
    const Corner c = kCorners[i];
    return {c.x, c.y, c.x + Extent(Texts(table)[i]), c.y + kv::font::kCellHeight};
}

kv::Framebuffer Snapshot(const std::string& options, const std::string& name) {
    const std::string png = kvtest::scratch_dir("lang") + "/" + name + ".png";
    const auto run = kvtest::run_program(options, std::string(kScene) + "snapshot " + png + "\n");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return kv::image::read_png(png);
}

int Differing(const kv::Framebuffer& a, const kv::Framebuffer& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.get(x, y) != b.get(x, y);
    return n;
}

TEST(Language, EnglishChangesOnlyTheTextCells) {
    unsetenv("KORVELINE_LANG");
    const kv::Framebuffer french = Snapshot("", "default");
    const kv::Framebuffer english = Snapshot("--lang en", "en");
    ASSERT_EQ(english.width(), french.width());
    ASSERT_EQ(english.height(), french.height());

    std::vector<Cell> cells;
    for (std::size_t i = 0; i < std::size(kCorners); ++i) {
        const Cell fr = CellOf(i, textes_fr), en = CellOf(i, textes_en);
        cells.push_back({fr.left, fr.top, std::max(fr.right, en.right), fr.bottom});
    }
    std::vector<int> changed(cells.size(), 0);
    for (int y = 0; y < french.height(); ++y) {
        for (int x = 0; x < french.width(); ++x) {
            if (french.get(x, y) == english.get(x, y)) continue;
            bool inside = false;
            for (std::size_t i = 0; i < cells.size(); ++i) {
                if (!cells[i].contains(x, y)) continue;
                inside = true;
                ++changed[i];
            }
            EXPECT_TRUE(inside) << "pixel (" << x << ", " << y << ") changed outside the texts";
        }
    }
    // Every text that is translated shows it; the axis symbols are the same in both.
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string fr = Texts(textes_fr)[i].texte, en = Texts(textes_en)[i].texte;
        if (fr == en)
            EXPECT_EQ(changed[i], 0) << fr;
        else
            EXPECT_GT(changed[i], 0) << fr << " / " << en;
    }
}

TEST(Language, EnglishTextsFitWhereTheFrenchOnesAre) {
    // Inside the supply box's outline (at x = 49, with a clear column before it), the brake box
    // and the plot's reset region.
    EXPECT_LE(CellOf(0, textes_en).right, 48) << textes_en.alim.texte;
    EXPECT_LE(CellOf(4, textes_en).right, 275) << textes_en.frein.texte;
    EXPECT_LE(CellOf(3, textes_en).right, 790) << textes_en.raz.texte;
    // The instructions stay inside the 780-pixel picture.
    for (std::size_t i = 5; i < std::size(kCorners); ++i)
        EXPECT_LE(CellOf(i, textes_en).right, 780) << Texts(textes_en)[i].texte;
    for (const TexteEcran& t : Texts(textes_en))
        EXPECT_EQ(static_cast<int>(std::string(t.texte).size()), t.longueur) << t.texte;
}

TEST(Language, TheEnvironmentChoosesUnlessTheOptionDoes) {
    unsetenv("KORVELINE_LANG");
    const kv::Framebuffer french = Snapshot("", "default");
    const kv::Framebuffer english = Snapshot("--lang=en", "en");
    ASSERT_GT(Differing(french, english), 0);
    EXPECT_EQ(Differing(Snapshot("--lang fr", "fr"), french), 0);
    setenv("KORVELINE_LANG", "en", 1);
    EXPECT_EQ(Differing(Snapshot("", "env_en"), english), 0);
    EXPECT_EQ(Differing(Snapshot("--lang fr", "env_en_option_fr"), french), 0);
    setenv("KORVELINE_LANG", "", 1);
    EXPECT_EQ(Differing(Snapshot("", "env_empty"), french), 0);
    unsetenv("KORVELINE_LANG");
}

TEST(Language, AnUnknownLanguageIsRefusedBeforeAnythingRuns) {
    unsetenv("KORVELINE_LANG");
    const std::string png = kvtest::scratch_dir("bad") + "/never.png";
    const std::string script = "snapshot " + png + "\n";
    struct Bad {
        const char* options;
        const char* env;
        const char* error;
    };
    for (const Bad& bad :
         {Bad{"--lang de", nullptr,
              "korveline-script: --lang: unknown language 'de' (known: fr, en)\n"},
          Bad{"--lang EN", nullptr,
              "korveline-script: --lang: unknown language 'EN' (known: fr, en)\n"},
          Bad{"--lang", nullptr, "korveline-script: --lang needs a language (see --help)\n"},
          Bad{"--lang=", nullptr, "korveline-script: --lang needs a language (see --help)\n"},
          Bad{"", "klingon",
              "korveline-script: KORVELINE_LANG: unknown language 'klingon' (known: fr, en)\n"}}) {
        if (bad.env) setenv("KORVELINE_LANG", bad.env, 1);
        const auto run = kvtest::run_program(bad.options, script);
        unsetenv("KORVELINE_LANG");
        EXPECT_EQ(run.exit_code, 2) << bad.options;
        EXPECT_EQ(run.err, bad.error) << bad.options;
        EXPECT_EQ(run.out, "") << bad.options;
        EXPECT_FALSE(std::filesystem::exists(png)) << bad.options;
    }
}

} // namespace
