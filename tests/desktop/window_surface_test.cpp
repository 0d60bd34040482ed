// Writing into SDL surfaces of the formats a window may have: 32-bit ones directly, others
// through the shadow buffer. Plain SDL surfaces need no display.
#include "backends/sdl/screen/window_surface.h"

#include <SDL_pixels.h>
#include <SDL_surface.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using kv::Framebuffer;
using kv::rgb;
using kv::viewer::Size;

struct FreeSurface {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using Surface = std::unique_ptr<SDL_Surface, FreeSurface>;

kv::Color read(SDL_Surface& s, int x, int y) {
    const int bpp = s.format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, static_cast<std::uint8_t*>(s.pixels) + y * s.pitch + x * bpp,
                static_cast<std::size_t>(bpp));
    Uint8 r, g, b;
    SDL_GetRGB(value, s.format, &r, &g, &b);
    return rgb(r, g, b);
}

// Colours every format below holds exactly.
Framebuffer picture() {
    Framebuffer fb(5, 3, rgb(0, 0, 0));
    fb.set(0, 0, rgb(255, 0, 0));
    fb.set(1, 0, rgb(0, 255, 0));
    fb.set(2, 0, rgb(0, 0, 255));
    fb.set(3, 1, rgb(255, 255, 255));
    fb.set(4, 2, rgb(255, 255, 0));
    return fb;
}

TEST(WindowSurface, EveryUsualFormatShowsTheSameColours) {
    for (const Uint32 format :
         {SDL_PIXELFORMAT_XRGB8888, SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_XBGR8888,
          SDL_PIXELFORMAT_RGB565, SDL_PIXELFORMAT_RGB24, SDL_PIXELFORMAT_XRGB1555}) {
        const Framebuffer fb = picture();
        Surface surface(SDL_CreateRGBSurfaceWithFormat(0, 5, 3, 32, format));
        ASSERT_NE(surface, nullptr) << SDL_GetPixelFormatName(format);
        std::vector<std::uint32_t> shadow;
        {
            kv::sdl::WindowSurfacePixels pixels(*surface, shadow);
            const auto layout = kv::viewer::corner_layout(Size{5, 3}, Size{5, 3}, 1);
            kv::desktop::Scaler(layout, kv::desktop::kNearest)
                .draw(fb, layout.picture(), pixels.target());
            pixels.commit({fb.bounds()});
        }
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(read(*surface, x, y), fb.get(x, y))
                    << SDL_GetPixelFormatName(format) << " at " << x << "," << y;
        // The shadow is only for formats that cannot be written directly.
        EXPECT_EQ(shadow.empty(), SDL_BYTESPERPIXEL(format) == 4) << SDL_GetPixelFormatName(format);
    }
}

TEST(WindowSurface, OnlyTheCommittedRectanglesReachAShadowedSurface) {
    const Framebuffer fb = picture();
    Surface surface(SDL_CreateRGBSurfaceWithFormat(0, 5, 3, 16, SDL_PIXELFORMAT_RGB565));
    ASSERT_NE(surface, nullptr);
    SDL_FillRect(surface.get(), nullptr, SDL_MapRGB(surface->format, 0, 0, 255));
    std::vector<std::uint32_t> shadow;
    {
        kv::sdl::WindowSurfacePixels pixels(*surface, shadow);
        const auto layout = kv::viewer::corner_layout(Size{5, 3}, Size{5, 3}, 1);
        kv::desktop::Scaler(layout, kv::desktop::kNearest)
            .draw(fb, layout.picture(), pixels.target());
        pixels.commit({kv::Rect{3, 1, 5, 3}});
    }
    EXPECT_EQ(read(*surface, 0, 0), rgb(0, 0, 255)); // not committed
    EXPECT_EQ(read(*surface, 3, 1), rgb(255, 255, 255));
    EXPECT_EQ(read(*surface, 4, 2), rgb(255, 255, 0));
}

} // namespace
