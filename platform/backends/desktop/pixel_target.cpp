#include "backends/desktop/pixel_target.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace kv::desktop {

namespace {

std::uint32_t convert(Color c, const ChannelShifts& s) {
    return (std::uint32_t{red_of(c)} << s.red) | (std::uint32_t{green_of(c)} << s.green) |
           (std::uint32_t{blue_of(c)} << s.blue);
}

std::uint32_t* target_row(PixelTarget& target, std::int64_t y) {
    return reinterpret_cast<std::uint32_t*>(target.pixels + y * target.pitch);
}

Rect target_bounds(const PixelTarget& target) {
    return Rect{0, 0, target.width, target.height};
}

// Window pixel w of `shown` showing `client` pixels: the source pixel under its centre, and with
// smoothing k, the blend of the picture zoomed k times by nearest neighbour then scaled linearly.
Scaler::Tap tap(std::int64_t w, std::int64_t client, std::int64_t shown, int smoothing) {
    if (smoothing == kNearest || shown % client == 0) {
        return {std::min((2 * w + 1) * client / (2 * shown), client - 1), 0};
    }
    // Position in the zoomed picture, less half a pixel: numerator / denominator.
    const std::int64_t k = smoothing;
    const std::int64_t numerator = (2 * w + 1) * k * client - shown;
    const std::int64_t denominator = 2 * shown;
    if (numerator <= 0) return {0, 0};
    const std::int64_t i = numerator / denominator;
    if (i >= k * client - 1) return {client - 1, 0};
    const std::int64_t a = i / k, b = (i + 1) / k;
    if (a == b) return {a, 0};
    const std::int64_t rest = numerator - i * denominator;
    return {a, static_cast<std::uint32_t>((rest * 256 + denominator / 2) / denominator)};
}

std::vector<Scaler::Tap> taps(std::int64_t client, std::int64_t shown, int smoothing) {
    std::vector<Scaler::Tap> out(static_cast<std::size_t>(std::max<std::int64_t>(shown, 0)));
    if (client <= 0) return {};
    for (std::size_t w = 0; w < out.size(); ++w)
        out[w] = tap(static_cast<std::int64_t>(w), client, shown, smoothing);
    return out;
}

bool is_xrgb(const ChannelShifts& s) {
    return s.red == 16 && s.green == 8 && s.blue == 0;
}

// COLORREF to XRGB8888, the usual window format: red and blue trade places. Eight pixels go
// through a local block at a time, which the compiler turns into vector instructions: the source
// and the window cannot overlap there.
void xrgb_row(const Color* src, std::int64_t count, std::uint32_t* out) {
    const auto xrgb = [](Color c) {
        return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    };
    constexpr std::int64_t kBlock = 8;
    std::int64_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        std::array<std::uint32_t, kBlock> block;
        std::memcpy(block.data(), src + i, sizeof block);
        for (std::uint32_t& pixel : block)
            pixel = xrgb(pixel);
        std::memcpy(out + i, block.data(), sizeof block);
    }
    for (; i < count; ++i)
        out[i] = xrgb(src[i]);
}

Color blend(Color a, Color b, std::uint32_t weight) {
    if (weight == 0) return a;
    const auto channel = [&](int shift) {
        const std::uint32_t x = (a >> shift) & 0xFFu, y = (b >> shift) & 0xFFu;
        return ((x * (256 - weight) + y * weight + 128) >> 8) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

bool is_channel_byte(std::uint64_t mask) {
    return std::popcount(mask) == 8 && mask >> std::countr_zero(mask) == 0xFF;
}

} // namespace

std::optional<ChannelShifts> byte_channels(std::uint64_t red, std::uint64_t green,
                                           std::uint64_t blue) {
    if (!is_channel_byte(red) || !is_channel_byte(green) || !is_channel_byte(blue))
        return std::nullopt;
    return ChannelShifts{std::countr_zero(red), std::countr_zero(green), std::countr_zero(blue)};
}

Scaler::Scaler(const viewer::ZoomLayout& layout, int smoothing)
    : layout_(layout), zoom_(layout.zoom()),
      columns_(taps(layout.client.width, layout.shown.width, smoothing)),
      rows_(taps(layout.client.height, layout.shown.height, smoothing)) {}

void Scaler::draw_whole_row(const Color* row, std::int64_t y, std::int64_t left, std::int64_t right,
                            PixelTarget& target) const {
    std::uint32_t* out = target_row(target, y) + left;
    const std::int64_t zoomed = left - layout_.offset_x; // from the picture's left edge
    const Color* src = row + zoomed / zoom_;
    const std::int64_t count = right - left;
    if (zoom_ == 1) {
        if (is_xrgb(target.shifts)) {
            xrgb_row(src, count, out);
        } else {
            for (std::int64_t i = 0; i < count; ++i)
                out[i] = convert(src[i], target.shifts);
        }
        return;
    }
    // `phase`: which of its zoom_ repeats out[i] is.
    std::int64_t phase = zoomed % zoom_;
    std::uint32_t pixel = convert(*src, target.shifts);
    for (std::int64_t i = 0; i < count; ++i) {
        out[i] = pixel;
        if (++phase == zoom_ && i + 1 < count) {
            phase = 0;
            pixel = convert(*++src, target.shifts);
        }
    }
}

void Scaler::draw(const Framebuffer& source, const Rect& area, PixelTarget& target) const {
    const Rect out = intersect(intersect(area, layout_.picture()), target_bounds(target));
    if (out.empty() || target.pixels == nullptr || source.width() != layout_.client.width ||
        source.height() != layout_.client.height) {
        return;
    }
    const Tap* columns = columns_.data() + (out.left - layout_.offset_x);
    const std::int64_t width = out.width();
    const Tap* previous = nullptr;
    for (std::int64_t y = out.top; y < out.bottom; ++y) {
        const Tap& row_tap = rows_[static_cast<std::size_t>(y - layout_.offset_y)];
        std::uint32_t* row = target_row(target, y) + out.left;
        if (previous != nullptr && previous->index == row_tap.index &&
            previous->next == row_tap.next) {
            // The same source rows again: copy the window row above.
            std::memcpy(row, target_row(target, y - 1) + out.left,
                        static_cast<std::size_t>(width) * 4);
            continue;
        }
        previous = &row_tap;
        const Color* upper = source.row(static_cast<int>(row_tap.index));
        if (zoom_ != 0) {
            draw_whole_row(upper, y, out.left, out.right, target);
            continue;
        }
        const Color* lower =
            row_tap.next != 0 ? source.row(static_cast<int>(row_tap.index + 1)) : upper;
        const int last = source.width() - 1;
        for (std::int64_t i = 0; i < width; ++i) {
            const Tap& t = columns[i];
            const std::int64_t next = std::min<std::int64_t>(t.index + 1, last);
            Color c = blend(upper[t.index], upper[next], t.next);
            if (row_tap.next != 0)
                c = blend(c, blend(lower[t.index], lower[next], t.next), row_tap.next);
            row[i] = convert(c, target.shifts);
        }
    }
}

void fill_target(PixelTarget& target, const Rect& rect, Color color) {
    const Rect r = intersect(rect, target_bounds(target));
    if (r.empty() || target.pixels == nullptr) return;
    const std::uint32_t pixel = convert(color, target.shifts);
    for (std::int64_t y = r.top; y < r.bottom; ++y) {
        std::uint32_t* row = target_row(target, y);
        std::fill(row + r.left, row + r.right, pixel);
    }
}

Color target_pixel(const PixelTarget& target, int x, int y) {
    if (target.pixels == nullptr || !target_bounds(target).contains(x, y)) return kInvalidColor;
    std::uint32_t value = 0;
    std::memcpy(&value, target.pixels + y * target.pitch + std::int64_t{x} * 4, sizeof value);
    const ChannelShifts& s = target.shifts;
    return rgb(static_cast<std::uint8_t>(value >> s.red),
               static_cast<std::uint8_t>(value >> s.green),
               static_cast<std::uint8_t>(value >> s.blue));
}

} // namespace kv::desktop
