#include "backends/sdl/screen/window_surface.h"

#include <SDL_pixels.h>

namespace kv::sdl {

WindowSurfacePixels::WindowSurfacePixels(SDL_Surface& surface, std::vector<std::uint32_t>& shadow)
    : surface_(surface) {
    target_.width = surface.w;
    target_.height = surface.h;
    // 32 bits a pixel with every colour channel a whole byte: the usual XRGB8888, and its cousins.
    const SDL_PixelFormat& f = *surface.format;
    const std::optional<desktop::ChannelShifts> shifts =
        f.BytesPerPixel == 4 ? desktop::byte_channels(f.Rmask, f.Gmask, f.Bmask) : std::nullopt;
    direct_ = shifts.has_value();
    if (direct_) {
        locked_ = SDL_MUSTLOCK(&surface) && SDL_LockSurface(&surface) == 0;
        target_.pixels = static_cast<std::uint8_t*>(surface.pixels);
        target_.pitch = surface.pitch;
        target_.shifts = *shifts;
        if (SDL_MUSTLOCK(&surface) && !locked_) target_.pixels = nullptr;
        return;
    }
    const auto count = static_cast<std::size_t>(surface.w) * static_cast<std::size_t>(surface.h);
    if (shadow.size() != count) shadow.assign(count, 0);
    target_.pixels = reinterpret_cast<std::uint8_t*>(shadow.data());
    target_.pitch = std::int64_t{surface.w} * 4;
    target_.shifts = desktop::ChannelShifts{16, 8, 0}; // SDL_PIXELFORMAT_XRGB8888
}

WindowSurfacePixels::~WindowSurfacePixels() {
    if (locked_) SDL_UnlockSurface(&surface_);
}

void WindowSurfacePixels::commit(const std::vector<Rect>& written) {
    if (direct_ || target_.pixels == nullptr) return;
    const bool lock = SDL_MUSTLOCK(&surface_);
    if (lock && SDL_LockSurface(&surface_) != 0) return;
    const int bytes_per_pixel = surface_.format->BytesPerPixel;
    for (const Rect& r : written) {
        const std::uint8_t* from = target_.pixels + r.top * target_.pitch + r.left * 4;
        std::uint8_t* to = static_cast<std::uint8_t*>(surface_.pixels) + r.top * surface_.pitch +
                           r.left * bytes_per_pixel;
        SDL_ConvertPixels(static_cast<int>(r.width()), static_cast<int>(r.height()),
                          SDL_PIXELFORMAT_XRGB8888, from, static_cast<int>(target_.pitch),
                          surface_.format->format, to, surface_.pitch);
    }
    if (lock) SDL_UnlockSurface(&surface_);
}

} // namespace kv::sdl
