#include "viewer/boxes.h"

#include "core/canvas.h"
#include "font/system_font.h"

#include <algorithm>
#include <span>

namespace kv::viewer {

namespace {

constexpr int kPadding = 4; // around the text, inside the box
constexpr int kInset = 4;   // between the box and the client area's edges
constexpr int kColumnGap = 12;
constexpr int kSwatch = 10; // the square's side
constexpr int kSwatchGap = 6;

std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace

int text_width(std::string_view text) {
    return font::text_extent(bytes(text));
}

BoxGeometry box_geometry(const std::string& title, const std::vector<BoxRow>& rows) {
    const bool swatches =
        std::any_of(rows.begin(), rows.end(), [](const BoxRow& r) { return r.swatch.has_value(); });
    const int left_start = kPadding + (swatches ? kSwatch + kSwatchGap : 0);
    int left_width = 0;
    for (const BoxRow& r : rows)
        left_width = std::max(left_width, text_width(r.left));
    const int title_lines = title.empty() ? 0 : 1;
    return {kPadding + font::kCellHeight * title_lines, font::kCellHeight, left_start,
            left_start + left_width + kColumnGap};
}

Framebuffer render_box(const std::string& title, const std::vector<BoxRow>& rows) {
    const BoxGeometry at = box_geometry(title, rows);
    int right_width = 0;
    for (const BoxRow& r : rows)
        right_width = std::max(right_width, text_width(r.right));
    // Without a second column, no gap before it.
    const int right_start = at.right_start - (right_width > 0 ? 0 : kColumnGap);
    const int width = std::max(right_start + right_width, kPadding + text_width(title)) + kPadding;
    const int height = at.rows_top + font::kCellHeight * static_cast<int>(rows.size()) + kPadding;

    Framebuffer box(width, height, kBadgeBox);
    Canvas canvas(box, Region(box.bounds()));
    if (!title.empty())
        font::draw_text(canvas, kPadding, kPadding, bytes(title), kBadgeText, std::nullopt);
    int y = at.rows_top;
    for (const BoxRow& r : rows) {
        if (r.swatch) {
            const int top = y + (font::kCellHeight - kSwatch) / 2;
            for (int sy = top; sy < top + kSwatch; ++sy)
                canvas.span(sy, kPadding, kPadding + kSwatch, *r.swatch);
        }
        font::draw_text(canvas, at.left_start, y, bytes(r.left), kBadgeText, std::nullopt);
        font::draw_text(canvas, right_start, y, bytes(r.right), kBadgeText, std::nullopt);
        y += font::kCellHeight;
    }
    return box;
}

std::vector<BoxRow> wrap_right(const std::vector<BoxRow>& rows, int width) {
    std::vector<BoxRow> wrapped;
    for (const BoxRow& r : rows) {
        BoxRow line{r.left, "", r.swatch};
        std::string_view rest = r.right;
        while (!rest.empty()) {
            // The longest run of words that fits; a word longer than the width stays whole.
            std::size_t end = rest.size();
            while (text_width(rest.substr(0, end)) > width) {
                const std::size_t space = rest.rfind(' ', end - 1);
                if (space == std::string_view::npos || space == 0) break;
                end = space;
            }
            line.right = rest.substr(0, end);
            wrapped.push_back(line);
            line = BoxRow{};
            rest.remove_prefix(end);
            while (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
        }
        if (r.right.empty()) wrapped.push_back(line);
    }
    return wrapped;
}

Rect badge_place(int client_width, int badge_width, int badge_height) {
    const std::int64_t right = std::int64_t{client_width} - kInset;
    return Rect{right - badge_width, kInset, right, kInset + std::int64_t{badge_height}};
}

} // namespace kv::viewer
