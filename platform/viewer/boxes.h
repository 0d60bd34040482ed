// The boxes the viewer lays over the picture: the small label shown while the clock is paused,
// slowed or sped up ("PAUSE", "x1/2", "x8"), and boxes of rows (the keys, a readout). Light
// text in a dark box, laid over the presented picture only, never into the framebuffer the
// application draws in and reads back.
#pragma once

#include "core/framebuffer.h"
#include "core/geometry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::viewer {

inline constexpr Color kBadgeBox = 0x00303030;  // RGB(48, 48, 48)
inline constexpr Color kBadgeText = 0x00F0F0F0; // RGB(240, 240, 240)

// One row of a box: a small square of `swatch` colour first if given, then `left`, then
// `right` in a second column. Texts are ISO 8859-1.
struct BoxRow {
    std::string left;
    std::string right;
    std::optional<Color> swatch;
};

// What a box shows: a title and rows (ISO 8859-1); empty, no box.
struct Box {
    std::string title;
    std::vector<BoxRow> rows;
    bool empty() const { return title.empty() && rows.empty(); }
};

// Rows under an optional title, with the second column aligned, drawn with the built-in system
// font in a box with a margin of a few pixels.
Framebuffer render_box(const std::string& title, const std::vector<BoxRow>& rows);

// Where render_box puts the rows, in the box's pixels: row i from rows_top + i * row_height, its
// columns from left_start and right_start.
struct BoxGeometry {
    int rows_top = 0;
    int row_height = 0;
    int left_start = 0;
    int right_start = 0;
};
BoxGeometry box_geometry(const std::string& title, const std::vector<BoxRow>& rows);
// The width of a text in the built-in font (ISO 8859-1).
int text_width(std::string_view text);
// The rows with every second column longer than `width` pixels broken at its spaces, the lines
// after the first on rows of their own under it.
std::vector<BoxRow> wrap_right(const std::vector<BoxRow>& rows, int width);
// The badge: a box with a title alone.
inline Framebuffer render_badge(std::string_view text) {
    return render_box(std::string(text), {});
}

// Where a badge of `badge` size goes in a client area of `client` size: its top-right corner,
// a few pixels in.
Rect badge_place(int client_width, int badge_width, int badge_height);

} // namespace kv::viewer
