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
}

const Color* Framebuffer::row(int y) const {
    if (y < 0 || y >= height_) return nullptr;
    return pixels_.data() + static_cast<std::ptrdiff_t>(y) * width_;
}

} // namespace kv
