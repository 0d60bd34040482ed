// Device contexts over a framebuffer. The window manager makes one for each GetDC and BeginPaint;
// tests and tools make their own to draw into a plain framebuffer.
#pragma once

#include "core/framebuffer.h"
#include "core/region.h"

#include <windows.h>

#include <optional>

namespace kv::gdi {

// A DC with Win32's defaults (black 1-pixel pen, white brush, black text on opaque white), clipped
// to `clip` and to the framebuffer.
HDC create_dc(Framebuffer& fb, Region clip);
// Frees the DC; returns what was drawn through it, a box per drawing call (nothing for a bad
// handle).
std::optional<Region> release_dc(HDC hdc);
// Fills the DC's whole clip region with the brush's colour (the default erase of a window).
bool fill_clip(HDC hdc, HBRUSH brush);

class ScopedDC {
  public:
    explicit ScopedDC(Framebuffer& fb);
    ScopedDC(Framebuffer& fb, Region clip);
    ~ScopedDC();
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;

    HDC get() const { return hdc_; }

  private:
    HDC hdc_;
};

} // namespace kv::gdi
