// Test helper: a string literal as the single-byte text the font functions take.
#pragma once

#include <span>
#include <string_view>

namespace kv::font::test {

inline std::span<const unsigned char> bytes(std::string_view text) {
    return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

} // namespace kv::font::test
