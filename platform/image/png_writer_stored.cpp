// write_png for builds without libpng (the WebAssembly script runner): the same 8-bit RGB PNG,
// its pixels in stored (uncompressed) deflate blocks. Any PNG reader reads it as it reads
// libpng's output; only the file is larger.
#include "image/png_writer.h"

#include "image/file_error.h"
#include "image/output_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kv::image {

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void put32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(Bytes& out, const char* type, const Bytes& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks.
Bytes zlib_stored(const Bytes& raw) {
    Bytes z{0x78, 0x01};
    constexpr std::size_t kBlock = 65535;
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(kBlock, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        const auto len = static_cast<std::uint16_t>(n);
        const auto nlen = static_cast<std::uint16_t>(~len);
        for (const std::uint16_t v : {len, nlen}) {
            z.push_back(static_cast<std::uint8_t>(v & 0xFF));
            z.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, (b << 16) | a);
    return z;
}

} // namespace

void write_png(const Framebuffer& fb, const std::string& path) {
    if (fb.width() == 0 || fb.height() == 0) {
        throw FileError("cannot write PNG '" + shown_path(path) + "': the image is empty (" +
                        std::to_string(fb.width()) + " x " + std::to_string(fb.height()) + ")");
    }
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(fb.height()) * (1 + 3 * fb.width()));
    for (int y = 0; y < fb.height(); ++y) {
        raw.push_back(0); // filter: none
        const Color* row = fb.row(y);
        for (int x = 0; x < fb.width(); ++x) {
            raw.push_back(red_of(row[x]));
            raw.push_back(green_of(row[x]));
            raw.push_back(blue_of(row[x]));
        }
    }
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    put32(header, static_cast<std::uint32_t>(fb.width()));
    put32(header, static_cast<std::uint32_t>(fb.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib_stored(raw));
    chunk(png, "IEND", {});
    OutputFile file(path, "PNG");
    file.write(png);
    file.keep();
}

} // namespace kv::image
