// scene-compare: the fixed parts of the scene, a screenshot of the exe's window under Wine against
// korveline-script's snapshot after the same actions. Prints where the client area starts in the
// screenshot and the share of identical pixels; writes the differences as a picture if asked.
#include "image/png_reader.h"
#include "image/png_writer.h"
#include "tools/gdi_conformance/scene_compare.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    // --still: the pictures were taken while nothing moves; compare the disc and the point too.
    const bool still = argc > 1 && std::strcmp(argv[1], "--still") == 0;
    if (still) --argc, ++argv;
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "Usage: scene-compare [--still] SCREENSHOT SNAPSHOT [DIFFERENCES.png]\n");
        return 2;
    }
    try {
        const kv::Framebuffer screenshot = kv::image::read_png(argv[1]);
        const kv::Framebuffer ours = kv::image::read_png(argv[2]);
        const auto result = gdi_conformance::CompareScene(screenshot, ours, !still);
        std::printf("client origin in the screenshot: %d %d\n", result.origin_x, result.origin_y);
        std::printf("%s: %ld of %ld pixels identical (%.4f %%)\n",
                    still ? "whole scene but the text" : "fixed parts", result.identical,
                    result.compared,
                    result.compared == 0 ? 100.0
                                         : 100.0 * static_cast<double>(result.identical) /
                                               static_cast<double>(result.compared));
        for (std::size_t i = 0; i < result.differing.size() && i < 20; ++i) {
            const kv::Point& p = result.differing[i];
            std::printf("  differs at (%lld, %lld)\n", static_cast<long long>(p.x),
                        static_cast<long long>(p.y));
        }
        std::printf("left out:\n");
        if (!still) std::printf("  the central disc, radius 112 about (260, 290)\n");
        const auto& masks = gdi_conformance::SceneMasks();
        for (std::size_t i = 0; i < masks.size() - (still ? 1 : 0); ++i) {
            const auto& m = masks[i];
            std::printf("  (%lld, %lld)-(%lld, %lld): %s\n", static_cast<long long>(m.area.left),
                        static_cast<long long>(m.area.top), static_cast<long long>(m.area.right),
                        static_cast<long long>(m.area.bottom), m.why);
        }
        if (argc == 4) kv::image::write_png(result.difference, argv[3]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "scene-compare: %s\n", e.what());
        return 1;
    }
}
