#include "backends/win32/key_names.h"

#include <array>
#include <utility>

namespace kv::win32 {

namespace {

// WinUser.h's virtual-key codes.
constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkSpace = 0x20;
constexpr unsigned kVkDigit0 = 0x30; // VK_0 .. VK_9, the number row
constexpr unsigned kVkDigit9 = 0x39;
constexpr unsigned kVkF1 = 0x70; // VK_F1 .. VK_F24
constexpr unsigned kVkF24 = 0x87;

constexpr std::array<std::pair<unsigned, std::string_view>, 16> kNamed{{
    {0x08, "Backspace"},
    {kVkTab, "Tab"},
    {kVkReturn, "Enter"},
    {kVkEscape, "Escape"},
    {kVkSpace, " "},
    {0x21, "PageUp"},
    {0x22, "PageDown"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "ArrowLeft"},
    {0x26, "ArrowUp"},
    {0x27, "ArrowRight"},
    {0x28, "ArrowDown"},
    {0x2D, "Insert"},
    {0x2E, "Delete"},
    {0x13, "Pause"},
}};

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

} // namespace

std::string key_name(const KeyDown& key) {
    const unsigned vk = key.virtual_key;
    for (const auto& [code, name] : kNamed) {
        if (code == vk) return std::string(name);
    }
    if (vk >= kVkF1 && vk <= kVkF24) return std::string("F").append(std::to_string(vk - kVkF1 + 1));
    if (key.ctrl && vk >= kVkDigit0 && vk <= kVkDigit9)
        return std::string(1, static_cast<char>('0' + (vk - kVkDigit0)));
    if (key.shift && (key.character == U'/' || key.character == U',')) return "?";
    // Control characters and what lies beyond the Basic Multilingual Plane name no key of ours.
    if (key.character < 0x20 || key.character == 0x7F || key.character > 0xFFFF) return {};
    return utf8(key.character);
}

viewer::KeyPress key_press(const KeyDown& key, std::string_view name) {
    return {name, key.ctrl, key.alt, key.repeat, key.shift};
}

} // namespace kv::win32
