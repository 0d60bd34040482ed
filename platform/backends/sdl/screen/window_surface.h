// The pixels of an SDL window surface seen as a PixelTarget for as long as this lives. Surfaces
// of 32 bits a pixel are written directly; any other format goes through a 32-bit shadow that is
// converted into the surface, a rectangle at a time.
#pragma once

#include "backends/desktop/pixel_target.h"

#include <SDL_surface.h>

#include <cstdint>
#include <vector>

namespace kv::sdl {

class WindowSurfacePixels {
  public:
    // `shadow` is kept by the caller between frames; it is used only for other formats.
    WindowSurfacePixels(SDL_Surface& surface, std::vector<std::uint32_t>& shadow);
    ~WindowSurfacePixels();
    WindowSurfacePixels(const WindowSurfacePixels&) = delete;
    WindowSurfacePixels& operator=(const WindowSurfacePixels&) = delete;

    desktop::PixelTarget& target() { return target_; }
    // Brings the written rectangles from the shadow into the surface (nothing to do when the
    // surface is written directly).
    void commit(const std::vector<Rect>& written);

  private:
    SDL_Surface& surface_;
    desktop::PixelTarget target_;
    bool direct_ = false;
    bool locked_ = false;
};

} // namespace kv::sdl
