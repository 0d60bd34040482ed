// Files named as the program holds their paths, in UTF-8. On Windows the C library reads a char
// name in the ANSI code page, which would lose a folder named with letters beyond it (a user's
// Pictures folder, say): there the names go to its wide functions. std::filesystem would do as
// much, but brings its streams and locales with it: most of korveline.exe's bytes.
#pragma once

#include <cstdio>
#include <string>

namespace kv {

std::FILE* open_file(const std::string& path, const char* mode);
bool file_exists(const std::string& path);
bool is_directory(const std::string& path);
void remove_file(const std::string& path);
// `from` renamed `to`, replacing it: 0, or the errno of what failed.
int replace_file(const std::string& from, const std::string& to);
// `name` in `folder`, with the system's separator between them.
std::string path_in(const std::string& folder, const std::string& name);

} // namespace kv
