// The application's strings are 8-bit text whose accents (the "à" of "R à Z") are ISO 8859-1;
// SDL wants UTF-8 for window titles and message boxes.
#pragma once

#include <string>
#include <string_view>

namespace kv::sdl {

// Each byte as the code point of the same number (ISO 8859-1), in UTF-8.
std::string latin1_to_utf8(std::string_view text);

} // namespace kv::sdl
