#include "backends/win32/window_pixels.h"

namespace kv::win32 {

WindowPixels::~WindowPixels() {
    free();
}

void WindowPixels::resize(int width, int height) {
    if (bitmap_ != nullptr && width == target_.width && height == target_.height) return;
    free();
    if (width <= 0 || height <= 0) return;
    // Top-down 32-bit pixels, 0x00RRGGBB: the presenter's XRGB.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr || bits == nullptr) {
        free();
        return;
    }
    memory_dc_ = CreateCompatibleDC(nullptr);
    old_bitmap_ = SelectObject(memory_dc_, bitmap_);
    target_ = desktop::PixelTarget{static_cast<std::uint8_t*>(bits), std::int64_t{width} * 4, width,
                                   height, desktop::ChannelShifts{16, 8, 0}};
    fresh_ = true;
}

void WindowPixels::free() {
    if (memory_dc_ != nullptr) {
        SelectObject(memory_dc_, old_bitmap_);
        DeleteDC(memory_dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    memory_dc_ = nullptr;
    bitmap_ = nullptr;
    target_ = desktop::PixelTarget{};
}

void WindowPixels::show_changes(HWND window, const Framebuffer& fb, const Region& changed) {
    fb_ = &fb;
    show(window, false, [&](desktop::PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_changes(fb, changed, target, written);
    });
}

void WindowPixels::show_all(HWND window) {
    show(window, true, [](desktop::PixelTarget&, std::vector<Rect>&) {});
}

void WindowPixels::redraw(HWND window, const Rect& changed) {
    if (changed.empty()) return;
    show(window, false, [&](desktop::PixelTarget& target, std::vector<Rect>& written) {
        presenter_.draw_area(*fb_, changed, target, written);
    });
}

void WindowPixels::paint(HDC dc, const RECT& area) const {
    if (memory_dc_ != nullptr && !fresh_) {
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory_dc_,
               area.left, area.top, SRCCOPY);
    } else {
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
}

template <class Draw> void WindowPixels::show(HWND window, bool whole, const Draw& draw) {
    if (fb_ == nullptr || target_.pixels == nullptr) return;
    const bool moved = presenter_.arrange(viewer::Size{target_.width, target_.height},
                                          viewer::Size{fb_->width(), fb_->height()}, fit_);
    written_.clear();
    if (whole || fresh_ || moved) {
        written_.push_back(presenter_.draw_all(*fb_, target_));
        fresh_ = false;
    } else {
        draw(target_, written_);
    }
    copy_to_screen(window, written_);
}

void WindowPixels::copy_to_screen(HWND window, const std::vector<Rect>& written) {
    if (written.empty() || window == nullptr) return;
    HDC dc = GetDC(window);
    for (const Rect& r : written) {
        BitBlt(dc, static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.width()),
               static_cast<int>(r.height()), memory_dc_, static_cast<int>(r.left),
               static_cast<int>(r.top), SRCCOPY);
    }
    ReleaseDC(window, dc);
    // The copies leave GDI's batch now: the next frame writes into the same bits.
    GdiFlush();
}

} // namespace kv::win32
