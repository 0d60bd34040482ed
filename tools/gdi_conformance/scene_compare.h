// The whole scene, compared between a screenshot of the exe's window under Wine and
// korveline-script's snapshot after the same actions: the fixed parts pixel by pixel, with the
// text cells (Wine's fonts are not ours) and the moving parts left out.
#pragma once

#include "core/canvas.h"
#include "core/framebuffer.h"

#include <string>
#include <vector>

namespace gdi_conformance {

// A rectangle of client coordinates left out of the comparison, and why.
struct Mask {
    kv::Rect area;
    const char* why;
};

// The text cells, in generous boxes, and the parts a Tick moves (the last two).
const std::vector<Mask>& SceneMasks();
// With `moving`, the central disc and the operating point are left out too.
bool Masked(std::int64_t x, std::int64_t y, bool moving = true);

struct SceneComparison {
    int origin_x = 0; // where the client area starts in the screenshot
    int origin_y = 0;
    long compared = 0;
    long identical = 0;
    std::vector<kv::Point> differing; // client coordinates
    kv::Framebuffer difference;       // ours, faded, with the differing pixels in red
};

// Finds the client area in `screenshot` (the window with Wine's own frame and caption: its origin
// is where the unmasked pixels of `ours` agree best) and compares every unmasked pixel of `ours`.
// With `moving` false the disc and the operating point are compared too: for pictures taken at a
// comparable moment, such as with the supply off, when nothing moves.
SceneComparison CompareScene(const kv::Framebuffer& screenshot, const kv::Framebuffer& ours,
                             bool leave_out_moving = true);

} // namespace gdi_conformance
