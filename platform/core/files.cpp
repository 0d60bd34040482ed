#include "core/files.h"

#include "core/utf8.h"

#include <cerrno>
#include <sys/stat.h>

namespace kv {

#ifdef _WIN32

namespace {

// UTF-16, as Windows names files; a byte that starts no well-formed character becomes U+FFFD.
std::wstring wide(std::string_view utf8) {
    std::wstring out;
    while (!utf8.empty()) {
        std::size_t skip = 0;
        const std::size_t length = Utf8Length(utf8, skip);
        char32_t c = 0xFFFD;
        if (length == 1) {
            c = static_cast<unsigned char>(utf8[0]);
        } else if (length > 1) {
            c = static_cast<unsigned char>(utf8[0]) & (0x7Fu >> length);
            for (std::size_t i = 1; i < length; ++i)
                c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3Fu);
        }
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
        utf8.remove_prefix(length > 0 ? length : skip);
    }
    return out;
}

} // namespace

std::FILE* open_file(const std::string& path, const char* mode) {
    return _wfopen(wide(path).c_str(), wide(mode).c_str());
}

bool file_exists(const std::string& path) {
    struct _stat64 status {};
    return _wstat64(wide(path).c_str(), &status) == 0;
}

bool is_directory(const std::string& path) {
    struct _stat64 status {};
    return _wstat64(wide(path).c_str(), &status) == 0 && (status.st_mode & _S_IFDIR) != 0;
}

void remove_file(const std::string& path) {
    _wremove(wide(path).c_str());
}

// Windows' rename does not replace a file: the older one goes first.
int replace_file(const std::string& from, const std::string& to) {
    if (!file_exists(from)) return ENOENT;
    _wremove(wide(to).c_str());
    return _wrename(wide(from).c_str(), wide(to).c_str()) == 0 ? 0 : errno;
}

std::string path_in(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    return last == '/' || last == '\\' ? folder + name : folder + "\\" + name;
}

#else

std::FILE* open_file(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool file_exists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0;
}

bool is_directory(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

void remove_file(const std::string& path) {
    std::remove(path.c_str());
}

int replace_file(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

std::string path_in(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

#endif

} // namespace kv
