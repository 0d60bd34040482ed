// What stops a script run: a snapshot that cannot be written, a program that will not exit. The
// runner reports it and exits with a failure code.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kv::headless {

class RunError : public std::runtime_error {
  public:
    // `line` is the script line that was playing, 0 when none is to blame.
    explicit RunError(const std::string& message, int line = 0)
        : std::runtime_error(message), line_(line) {}

    int line() const { return line_; }

  private:
    int line_;
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

} // namespace kv::headless
