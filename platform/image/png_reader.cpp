#include "image/png_reader.h"

#include "image/file_error.h"

#include <png.h>

#include <cstddef>
#include <vector>

namespace kv::image {

namespace {

// Larger than any window we make; keeps a damaged header from asking for gigabytes.
constexpr png_uint_32 kMaxSide = 65535;

[[noreturn]] void fail(const std::string& path, png_image& image, const std::string& reason) {
    png_image_free(&image);
    throw FileError("cannot read PNG '" + path + "': " + reason);
}

} // namespace

Framebuffer read_png(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        fail(path, image, image.message);
    }
    if (image.width > kMaxSide || image.height > kMaxSide) {
        fail(path, image, "the image is larger than 65535 x 65535");
    }
    image.format = PNG_FORMAT_RGB;
    const std::size_t width = image.width;
    const std::size_t height = image.height;
    std::vector<png_byte> bytes(width * height * 3);
    if (png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr) == 0) {
        fail(path, image, image.message);
    }

    Framebuffer fb(static_cast<int>(width), static_cast<int>(height));
    const png_byte* p = bytes.data();
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 0; x < width; ++x, p += 3) {
            fb.set(static_cast<std::int64_t>(x), static_cast<std::int64_t>(y),
                   rgb(p[0], p[1], p[2]));
        }
    }
    return fb;
}

} // namespace kv::image
