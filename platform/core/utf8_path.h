// Paths as the program holds them, UTF-8 strings, and as the file system takes them. On Windows a
// std::filesystem::path made from a char string reads it in the ANSI code page, which would lose a
// folder named with letters beyond it (a user's Pictures folder, say); from UTF-8 it loses none.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

inline std::filesystem::path utf8_path(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string path_text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace kv
