#include "core/framebuffer.h"

#include <algorithm>
#include <stdexcept>

namespace kv {

namespace {
void check_size(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative framebuffer size");
}
} // namespace

Framebuffer::Framebuffer(int width, int height, Color fill) {
    check_size(width, height);
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    marks_.assign(static_cast<std::size_t>(height), Mark{0, width});
}

Color Framebuffer::get(std::int64_t x, std::int64_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Framebuffer::set(std::int64_t x, std::int64_t y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(x)] = c;
    mark(y, x, x + 1);
}

void Framebuffer::painted(const PaintKey& key, std::int64_t top, std::int64_t bottom) {
    painted_ = key;
    for (std::int64_t y = std::max<std::int64_t>(top, 0);
         y < std::min<std::int64_t>(bottom, height_); ++y)
        marks_[static_cast<std::size_t>(y)] = kClean;
}

void Framebuffer::resize(int width, int height, Color fill) {
    check_size(width, height);
    std::vector<Color> next(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                            fill);
    const int keep_w = std::min(width, width_);
    const int keep_h = std::min(height, height_);
    for (int y = 0; y < keep_h; ++y) {
        std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, keep_w,
                    next.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    pixels_ = std::move(next);
    width_ = width;
    height_ = height;
    // Every row counts as written: nothing painted before holds any more.
    marks_.assign(static_cast<std::size_t>(height), Mark{0, width});
    painted_.reset();
}

const Color* Framebuffer::row(int y) const {
    if (y < 0 || y >= height_) return nullptr;
    return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
}

} // namespace kv
