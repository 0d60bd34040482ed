#include "backends/sdl/window_icon.h"

#include <SDL_surface.h>

#include <png.h>

#include <memory>
#include <vector>

namespace kv::sdl {

bool set_window_icon(SDL_Window* window, std::span<const unsigned char> png) {
    if (window == nullptr) return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, png.data(), png.size()) == 0) return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) return false;
    const int width = static_cast<int>(image.width);
    const int height = static_cast<int>(image.height);
    const std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                           SDL_PIXELFORMAT_RGBA32),
        SDL_FreeSurface);
    if (!surface) return false;
    // SDL copies the pixels into the window manager's property.
    SDL_SetWindowIcon(window, surface.get());
    return true;
}

} // namespace kv::sdl
