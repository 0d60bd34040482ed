// What stops a picture from being read or written: the file cannot be opened, is not a picture we
// read, or the picture cannot be stored in the format. The message names the file and the reason.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kv::image {

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A path may be a megabyte long (the rest of a script line); a message stays one short line: the
// path is cut after 200 bytes, at the start of a UTF-8 character.
inline std::string shown_path(const std::string& path) {
    constexpr std::size_t kLimit = 200;
    if (path.size() <= kLimit) return path;
    std::size_t cut = kLimit;
    while (cut > 0 && (static_cast<unsigned char>(path[cut]) & 0xC0) == 0x80)
        --cut;
    return path.substr(0, cut) + "...";
}

} // namespace kv::image
