#include "core/framebuffer.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace kv {

namespace {
std::size_t area(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("negative framebuffer size");
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}
} // namespace

Framebuffer::Framebuffer(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(area(width, height), fill) {
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
    pixels_ = std::exchange(other.pixels_, {});
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    // The other's notes have a row each already: resetting them allocates nothing.
    std::swap(notes_, other.notes_);
    other.forget_notes();
    forget_notes();
    return *this;
}

void Framebuffer::forget_notes() {
    notes_.reset(height_, width_);
    painted_.reset();
}

void RowNotes::clear(Span rows) {
    rows = meet(rows, Span{0, static_cast<std::int64_t>(written_.size())});
    if (rows.empty()) return;
    const auto at = [](std::vector<Span>& notes, std::int64_t y) -> Span& {
        return notes[static_cast<std::size_t>(y)];
    };
    if (looked_ && kept_rows_.empty()) {
        // The usual case, a clear between two looks: the rows' notes move over as they are.
        std::copy(written_.begin() + rows.lo, written_.begin() + rows.hi, kept_.begin() + rows.lo);
        kept_rows_ = rows;
    } else if (looked_) {
        const Span all = hull(kept_rows_, rows);
        for (std::int64_t y = all.lo; y < all.hi; ++y) {
            at(kept_, y) = joined(kept_rows_.contains(y) ? at(kept_, y) : kClean,
                                  rows.contains(y) ? at(written_, y) : kClean);
        }
        kept_rows_ = all;
    }
    std::fill(written_.begin() + rows.lo, written_.begin() + rows.hi, kClean);
}

Color Framebuffer::get(std::int64_t x, std::int64_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColor;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                   static_cast<std::size_t>(x)];
}

void Framebuffer::set(std::int64_t x, std::int64_t y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    fill_span_inside(y, x, x + 1, c);
}

void Framebuffer::resize(int width, int height, Color fill) {
    std::vector<Color> next(area(width, height), fill);
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
