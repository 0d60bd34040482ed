#include "image/png_writer.h"

#include "image/file_error.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kv::image {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw FileError("cannot write PNG '" + shown_path(path) + "': " + reason);
}

std::string errno_text(int error) {
    return std::generic_category().message(error);
}

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

// Encodes into an open file; the reason on failure, empty on success.
std::string encode(const Framebuffer& fb, std::FILE* file) {
    const std::vector<png_byte> bytes = rgb_bytes(fb);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(fb.width());
    image.height = static_cast<png_uint_32>(fb.height());
    image.format = PNG_FORMAT_RGB;
    const auto stride = static_cast<png_int_32>(fb.width() * 3);
    if (png_image_write_to_stdio(&image, file, 0, bytes.data(), stride, nullptr) == 0) {
        std::string reason = image.message;
        png_image_free(&image);
        return reason.empty() ? "the PNG encoder failed" : reason;
    }
    return {};
}

} // namespace

void write_png(const Framebuffer& fb, const std::string& path) {
    if (fb.width() == 0 || fb.height() == 0) {
        fail(path, "the image is empty (" + std::to_string(fb.width()) + " x " +
                       std::to_string(fb.height()) + ")");
    }
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) fail(path, errno_text(errno));

    std::string reason = encode(fb, file);
    if (std::fclose(file) != 0 && reason.empty()) reason = errno_text(errno);
    std::error_code ec;
    if (reason.empty()) {
        std::filesystem::rename(temporary, path, ec);
        if (ec) reason = ec.message();
    }
    if (!reason.empty()) {
        std::filesystem::remove(temporary, ec);
        fail(path, reason);
    }
}

} // namespace kv::image
