// The names the desktop windows give their pictures, recordings and data files.
#pragma once

#include "image/output_file.h"

#include <ctime>
#include <memory>
#include <string>

namespace kv::desktop {

// A file name in `folder` (UTF-8) that is not taken yet: STEM-YYYYMMDD-HHMMSS.EXTENSION (local
// time `when`), then STEM-YYYYMMDD-HHMMSS-2.EXTENSION and so on.
std::string new_capture_path(const std::string& folder, const std::string& stem,
                             const std::string& extension, std::time_t when);

// A new capture file in `folder`, named so as of now; what goes wrong names it by its extension
// in capitals ("cannot write GIF ...").
std::unique_ptr<image::OutputFile>
new_capture_file(const std::string& folder, const std::string& stem, const std::string& extension);

} // namespace kv::desktop
