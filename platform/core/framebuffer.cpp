#include "core/framebuffer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kv {

namespace {
void check_size(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative framebuffer size");
}
} // namespace

Framebuffer::Framebuffer(int width, int height, Color fill, PixelMemory* memory) {
    check_size(width, height);
    width_ = width;
    height_ = height;
    pixels_ = PixelBuffer(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill,
                          memory);
    forget_notes();
}

Framebuffer::Framebuffer(const Framebuffer& other)
    : width_(other.width_), height_(other.height_), pixels_(other.pixels_) {
    forget_notes();
}

Framebuffer::Framebuffer(Framebuffer&& other) noexcept {
    *this = std::move(other);
}

Framebuffer& Framebuffer::operator=(const Framebuffer& other) {
    if (this == &other) return *this;
    pixels_ = other.pixels_;
    width_ = other.width_;
    height_ = other.height_;
    forget_notes();
    return *this;
}

Framebuffer& Framebuffer::operator=(Framebuffer&& other) noexcept {
    if (this == &other) return *this;
    pixels_ = std::move(other.pixels_);
    // The other's notes have a row each already: resetting them allocates nothing.
    marks_ = std::exchange(other.marks_, {});
    unpresented_ = std::exchange(other.unpresented_, {});
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    other.painted_.reset();
    other.unpresented_top_ = other.unpresented_bottom_ = 0;
    forget_notes();
    return *this;
}

void Framebuffer::forget_notes() {
    marks_.assign(static_cast<std::size_t>(height_), Mark{0, width_});
    unpresented_.assign(static_cast<std::size_t>(height_), kClean);
    unpresented_top_ = unpresented_bottom_ = 0;
    presented_ = false;
    painted_.reset();
}

Color Framebuffer::get(std::int64_t x, std::int64_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
    return pixels_.data()[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                          static_cast<std::size_t>(x)];
}

void Framebuffer::set(std::int64_t x, std::int64_t y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_.data()[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)] = c;
    mark(y, x, x + 1);
}

void Framebuffer::painted(const PaintKey& key, std::int64_t top, std::int64_t bottom) {
    painted_ = key;
    top = std::max<std::int64_t>(top, 0);
    bottom = std::min<std::int64_t>(bottom, height_);
    if (top >= bottom) return;
    // A buffer never presented (a benchmark's, a picture's) has nothing to keep.
    if (presented_) keep_unpresented(top, bottom);
    std::fill(marks_.begin() + top, marks_.begin() + bottom, kClean);
}

void Framebuffer::keep_unpresented(std::int64_t top, std::int64_t bottom) {
    if (unpresented_top_ >= unpresented_bottom_) {
        // Presented since the last time: the rows' notes move over as they are. The usual case, a
        // present after each wipe, so a plain copy.
        std::copy(marks_.begin() + top, marks_.begin() + bottom, unpresented_.begin() + top);
        unpresented_top_ = top;
        unpresented_bottom_ = bottom;
        return;
    }
    const std::int64_t from = std::min(unpresented_top_, top);
    const std::int64_t to = std::max(unpresented_bottom_, bottom);
    for (std::int64_t y = from; y < to; ++y) {
        Mark& u = unpresented_[static_cast<std::size_t>(y)];
        const bool kept = unpresented_top_ <= y && y < unpresented_bottom_;
        const bool cleared = top <= y && y < bottom;
        u = joined(kept ? u : kClean, cleared ? marks_[static_cast<std::size_t>(y)] : kClean);
    }
    unpresented_top_ = from;
    unpresented_bottom_ = to;
}

void Framebuffer::resize(int width, int height, Color fill) {
    check_size(width, height);
    PixelBuffer next(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill,
                     pixels_.memory());
    const int keep_w = std::min(width, width_);
    const int keep_h = std::min(height, height_);
    for (int y = 0; y < keep_h; ++y) {
        std::copy_n(pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_, keep_w,
                    next.data() + static_cast<std::ptrdiff_t>(y) * width);
    }
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
    // Every row counts as written: nothing painted before holds any more.
    forget_notes();
}

const Color* Framebuffer::row(int y) const {
    if (y < 0 || y >= height_) return nullptr;
    return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
}

} // namespace kv
