#include "backends/sdl/captures.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kv::sdl {

namespace fs = std::filesystem;

std::string captures_folder() {
    std::string folder;
    if (FILE* pipe = popen("xdg-user-dir PICTURES 2>/dev/null", "r")) {
        std::array<char, 4096> buffer{};
        if (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
            folder = buffer.data();
        }
        pclose(pipe);
    }
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r'))
        folder.pop_back();
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error)) return ".";
    return folder;
}

} // namespace kv::sdl
