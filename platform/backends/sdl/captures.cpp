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

std::string new_capture_path(const std::string& folder, const std::string& stem,
                             const std::string& extension, std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    std::array<char, 32> stamp{};
    std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &local);
    const std::string base = (fs::path(folder) / (stem + "-" + stamp.data())).string();
    std::string path = base + "." + extension;
    std::error_code error;
    for (int n = 2; fs::exists(path, error); ++n)
        path =
            std::string(base).append("-").append(std::to_string(n)).append(".").append(extension);
    return path;
}

} // namespace kv::sdl
