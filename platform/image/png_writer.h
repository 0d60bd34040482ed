// Snapshots of the client area as 8-bit RGB PNG files.
#pragma once

#include "core/framebuffer.h"

#include <string>

namespace kv::image {

// Writes `fb` (each Color 0x00BBGGRR as the bytes R, G, B) to `path` through a temporary file
// beside it that is renamed at the end, so that a failed write leaves no partial file behind.
// PNG has no empty images: a framebuffer without pixels is refused. Throws FileError naming the
// path and the reason.
void write_png(const Framebuffer& fb, const std::string& path);

} // namespace kv::image
