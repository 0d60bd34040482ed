#include "backends/win32/windows_services.h"

#include "backends/win32/wide_text.h"
#include "core/files.h"

#include <windows.h>

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

namespace kv::win32 {

std::vector<std::string> command_line_arguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i)
        args.push_back(wide_to_utf8(argv[i]));
    LocalFree(argv);
    return args;
}

void show_text(const std::string& caption, const std::string& text, bool error) {
    MessageBoxW(nullptr, utf8_to_wide(text).c_str(), utf8_to_wide(caption).c_str(),
                MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

std::string pictures_folder() {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &path) == S_OK)
        folder = wide_to_utf8(path);
    CoTaskMemFree(path); // also when it failed
    if (folder.empty() || !is_directory(folder)) return ".";
    return folder;
}

} // namespace kv::win32
