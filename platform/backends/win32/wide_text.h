// Text as Windows' wide functions take it (UTF-16) and as the program holds it: the application's
// 8-bit texts are ISO 8859-1, the viewer's and the file system's paths UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace kv::win32 {

std::wstring latin1_to_wide(std::string_view text);
std::wstring utf8_to_wide(std::string_view text);
std::string wide_to_utf8(std::wstring_view text);

} // namespace kv::win32
