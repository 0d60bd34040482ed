// Reads a PNG back into a framebuffer, for tests that compare frames with stored images.
#pragma once

#include "core/framebuffer.h"

#include <string>

namespace kv::image {

// Any PNG, converted to 8-bit RGB. Throws FileError naming the path and the reason.
Framebuffer read_png(const std::string& path);

} // namespace kv::image
