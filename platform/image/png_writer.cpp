#include "image/png_writer.h"

#include "image/file_error.h"
#include "image/output_file.h"

#include <png.h>

#include <vector>

namespace kv::image {

namespace {

std::vector<png_byte> rgb_bytes(const Framebuffer& fb) {
    std::vector<png_byte> bytes;
    bytes.reserve(fb.pixels().size() * 3);
    for (const Color c : fb.pixels()) {
        bytes.push_back(red_of(c));
        bytes.push_back(green_of(c));
        bytes.push_back(blue_of(c));
    }
    return bytes;
}

} // namespace

void write_png(const Framebuffer& fb, const std::string& path) {
    if (fb.width() == 0 || fb.height() == 0) {
        throw FileError("cannot write PNG '" + shown_path(path) + "': the image is empty (" +
                        std::to_string(fb.width()) + " x " + std::to_string(fb.height()) + ")");
    }
    OutputFile file(path, "PNG");
    const std::vector<png_byte> bytes = rgb_bytes(fb);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(fb.width());
    image.height = static_cast<png_uint_32>(fb.height());
    image.format = PNG_FORMAT_RGB;
    const auto stride = static_cast<png_int_32>(fb.width() * 3);
    if (png_image_write_to_stdio(&image, file.stream(), 0, bytes.data(), stride, nullptr) == 0) {
        const std::string reason = image.message;
        png_image_free(&image);
        file.fail(reason.empty() ? "the PNG encoder failed" : reason);
    }
    file.keep();
}

} // namespace kv::image
