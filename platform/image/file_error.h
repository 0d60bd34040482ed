// What stops a picture from being read or written: the file cannot be opened, is not a picture we
// read, or the picture cannot be stored in the format. The message names the file and the reason.
#pragma once

#include "core/utf8.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kv::image {

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A path may be a megabyte long (the rest of a script line); a message stays one short line: the
// path is cut after 200 bytes.
inline std::string shown_path(const std::string& path) {
    return shortened(path, 200);
}

} // namespace kv::image
