#include "viewer/boxes.h"

#include "core/canvas.h"
#include "font/system_font.h"

#include <algorithm>
#include <span>

namespace kv::viewer {

namespace {

constexpr int kPadding = 4; // around the text, inside the box
constexpr int kInset = 4;   // between the box and the client area's edges

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace

Framebuffer render_box(const std::string& title, const std::vector<BoxRow>& rows) {
    constexpr int kColumnGap = 12;
    constexpr int kSwatch = 10; // the square's side
    constexpr int kSwatchGap = 6;
    const bool swatches =
        std::any_of(rows.begin(), rows.end(), [](const BoxRow& r) { return r.swatch.has_value(); });
    const int left_start = kPadding + (swatches ? kSwatch + kSwatchGap : 0);
    int left_width = 0;
    int right_width = 0;
    for (const BoxRow& r : rows) {
        left_width = std::max(left_width, font::text_extent(bytes(r.left)));
        right_width = std::max(right_width, font::text_extent(bytes(r.right)));
    }
    const int right_start = left_start + left_width + (right_width > 0 ? kColumnGap : 0);
    const int title_lines = title.empty() ? 0 : 1;
    const int width =
        std::max(right_start + right_width, kPadding + font::text_extent(bytes(title))) + kPadding;
    const int height =
        2 * kPadding + font::kCellHeight * (title_lines + static_cast<int>(rows.size()));

    Framebuffer box(width, height, kBadgeBox);
    Canvas canvas(box, Region(box.bounds()));
    int y = kPadding;
    if (!title.empty()) {
        font::draw_text(canvas, kPadding, y, bytes(title), kBadgeText, std::nullopt);
        y += font::kCellHeight;
    }
    for (const BoxRow& r : rows) {
        if (r.swatch) {
            const int top = y + (font::kCellHeight - kSwatch) / 2;
            for (int sy = top; sy < top + kSwatch; ++sy)
                canvas.span(sy, kPadding, kPadding + kSwatch, *r.swatch);
        }
        font::draw_text(canvas, left_start, y, bytes(r.left), kBadgeText, std::nullopt);
        font::draw_text(canvas, right_start, y, bytes(r.right), kBadgeText, std::nullopt);
        y += font::kCellHeight;
    }
    return box;
}

Rect badge_place(int client_width, int badge_width, int badge_height) {
    const std::int64_t right = std::int64_t{client_width} - kInset;
    return Rect{right - badge_width, kInset, right, kInset + std::int64_t{badge_height}};
}

} // namespace kv::viewer
