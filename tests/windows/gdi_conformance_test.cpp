// Our layer against real GDI. gdi-conformance draws a table of primitives on its window with a DC
// from GetDC and reads every pixel back with GetPixel; the dump it wrote under Wine 8 (on Xvfb,
// Debian 12) is tests/windows/gdi_wine.dump.gz. Here the same program runs on our layer and the
// two dumps are compared cell by cell. scripts/ci/50-windows.sh runs the Wine side again and
// points KORVELINE_GDI_REFERENCE at the fresh dump, so the reference cannot go stale; after a
// change to the table, `KORVELINE_RECORD=1 bash scripts/ci/50-windows.sh` records it again.
//
// Every primitive agrees pixel for pixel except these, which are not ours to follow:
// - Text cells. Wine draws the system font from an outline font (its own Tahoma: the Wine step
//   shows it only Wine's fonts, so the dump is the same on every host), anti-aliased, where Windows
//   has a bitmap font and we have ours (Liberation Sans Bold at 12 px): the glyphs differ. The
//   opaque background box starts where GDI's does and is as high (16 rows); its width is the sum
//   of the font's advances, so it differs where the fonts' widths differ.
// - SetPixel outside the clip region. Wine returns the colour as if it had been set; Windows
//   fails and returns CLR_INVALID (win32-notes: certain), and so do we. Nothing is written in
//   either case: GetPixel there gives CLR_INVALID on both.
// Wine's own bugs stay out of the table: for ellipses three to six pixels wide and much taller it
// paints stray rows of brush outside the shape.
#include "tools/gdi_conformance/compare.h"
#include "tools/gdi_conformance/headless_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using gdi_conformance::Comparison;
using gdi_conformance::Dump;

constexpr std::uint32_t kInvalid = 0xFFFFFFFF;

std::string ReferencePath() {
    if (const char* path = std::getenv("KORVELINE_GDI_REFERENCE"); path && *path) return path;
    return std::string(KORVELINE_SOURCE_DIR) + "/tests/windows/gdi_wine.dump.gz";
}

// The table drawn on our layer, once for all tests.
const Dump& Ours() {
    static const Dump dump = [] {
        // ctest runs each test in a process of its own, two at a time: one folder each.
        const fs::path dir =
            fs::temp_directory_path() / ("korveline-gdi-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        const std::string path = (dir / "ours.dump").string();
        EXPECT_EQ(gdi_conformance::RunHeadless(path), 0);
        Dump d = gdi_conformance::ReadDump(path);
        fs::remove_all(dir);
        return d;
    }();
    return dump;
}

const Dump& Gdi() {
    static const Dump dump = gdi_conformance::ReadDump(ReferencePath());
    return dump;
}

const Comparison& Compared() {
    static const Comparison comparison = [] {
        Comparison c = gdi_conformance::Compare(Gdi(), Ours());
        std::cout << "Identical pixels per primitive, GDI (" << ReferencePath()
                  << ") against ours:\n"
                  << gdi_conformance::Report(c);
        return c;
    }();
    return comparison;
}

TEST(GdiConformance, TheTableCoversEveryPrimitive) {
    const Comparison& c = Compared();
    for (const char* group :
         {"zero-length lines", "1-px lines", "lines pen 2", "lines pen 3", "lines pen 4",
          "lines pen 5", "lines pen 10", "rectangles", "ellipses", "text", "SetPixel"}) {
        const auto* g = c.group(group);
        ASSERT_NE(g, nullptr) << group;
        EXPECT_GT(g->total, 0) << group;
    }
    EXPECT_EQ(Ours().cells.size(), Gdi().cells.size())
        << "the table changed: record the reference again (see the top of this file)";
}

TEST(GdiConformance, EveryShapeAndLineMatchesPixelForPixel) {
    const Comparison& c = Compared();
    for (const auto& g : c.groups) {
        if (g.group == "text") continue;
        EXPECT_EQ(g.identical, g.total) << g.group;
    }
    for (const auto& cell : c.cells) {
        if (cell.reference->group == "text") continue;
        ADD_FAILURE() << gdi_conformance::Picture(cell);
    }
}

// The opaque box of a text cell: the pixels that are not the cell's paper.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

Box OpaqueBox(const gdi_conformance::DumpCell& cell) {
    const std::uint32_t paper = cell.at(0, 0);
    Box box;
    for (int y = 0; y < cell.height; ++y) {
        for (int x = 0; x < cell.width; ++x) {
            if (cell.at(x, y) == paper) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

TEST(GdiConformance, TextCellsStartWhereGdisDoAndAreAsHigh) {
    int cells = 0;
    for (const auto& gdi : Gdi().cells) {
        if (gdi.group != "text") continue;
        ++cells;
        const auto ours = std::find_if(Ours().cells.begin(), Ours().cells.end(),
                                       [&](const auto& c) { return c.name == gdi.name; });
        ASSERT_NE(ours, Ours().cells.end()) << gdi.name;
        const Box g = OpaqueBox(gdi);
        const Box o = OpaqueBox(*ours);
        SCOPED_TRACE(gdi.name);
        EXPECT_EQ(o.left, g.left);
        EXPECT_EQ(o.top, g.top);
        EXPECT_EQ(g.bottom - g.top, 16);
        EXPECT_EQ(o.bottom - o.top, 16);
        // Same glyph count, fonts of about the same size: widths within a few pixels.
        EXPECT_NEAR(o.right - o.left, g.right - g.left, 4);
    }
    EXPECT_EQ(cells, 4);
}

TEST(GdiConformance, PixelsAtAndBeyondTheEdges) {
    ASSERT_EQ(Gdi().probes.size(), Ours().probes.size());
    for (std::size_t i = 0; i < Gdi().probes.size(); ++i) {
        const auto& gdi = Gdi().probes[i];
        const auto& ours = Ours().probes[i];
        SCOPED_TRACE(gdi.name);
        ASSERT_EQ(ours.name, gdi.name);
        const bool outside_set = gdi.name.rfind("SetPixel ", 0) == 0 &&
                                 i + 1 < Gdi().probes.size() &&
                                 Gdi().probes[i + 1].value == kInvalid;
        if (outside_set) {
            EXPECT_EQ(ours.value, kInvalid) << "SetPixel outside the clip region fails";
        } else {
            EXPECT_EQ(ours.value, gdi.value);
        }
    }
}

} // namespace
