#include "backends/desktop/capture_names.h"

#include "core/files.h"

#include <array>
#include <cctype>

namespace kv::desktop {

namespace {

std::tm local_time(std::time_t when) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &when);
#else
    localtime_r(&when, &local);
#endif
    return local;
}

} // namespace

std::string new_capture_path(const std::string& folder, const std::string& stem,
                             const std::string& extension, std::time_t when) {
    const std::tm local = local_time(when);
    std::array<char, 32> stamp{};
    std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &local);
    const std::string base = path_in(folder, stem + "-" + stamp.data());
    std::string path = base + "." + extension;
    for (int n = 2; file_exists(path); ++n)
        path =
            std::string(base).append("-").append(std::to_string(n)).append(".").append(extension);
    return path;
}

std::unique_ptr<image::OutputFile>
new_capture_file(const std::string& folder, const std::string& stem, const std::string& extension) {
    std::string kind;
    for (const char c : extension)
        kind += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::make_unique<image::OutputFile>(
        new_capture_path(folder, stem, extension, std::time(nullptr)), kind);
}

} // namespace kv::desktop
