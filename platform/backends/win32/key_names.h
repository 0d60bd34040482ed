// The Windows keyboard's keys named as the viewer's table names them (the web's KeyboardEvent.key):
// what the window procedure hears in WM_KEYDOWN, made into the viewer's key press. No <windows.h>
// here: the virtual-key codes it needs are written out, with Win32's values, so that the tests
// check the naming on any system.
#pragma once

#include "viewer/actions.h"

#include <string>
#include <string_view>

namespace kv::win32 {

// A key pressed: its virtual-key code, the character it types unshifted in the keyboard layout
// of the moment (MapVirtualKeyW's MAPVK_VK_TO_CHAR: letters in capitals; 0 for none, and for a
// dead key), and the modifiers held.
struct KeyDown {
    unsigned virtual_key = 0;
    char32_t character = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false; // Alt, AltGr (Windows reports it as Ctrl and Alt) or a Windows logo key
    bool repeat = false;
};

// "ArrowRight", "F11", "Enter", " ", "+", "S"; empty for a key of no name (Shift alone). '?' is
// Shift '/' on US keyboards and Shift ',' on French ones. With Ctrl, the number row gives its
// digits whatever the layout types there (a French keyboard types 'à' on its 0 key): Ctrl 0.
std::string key_name(const KeyDown& key);

// The press as the viewer takes it; `name` is key_name(key), kept by the caller.
viewer::KeyPress key_press(const KeyDown& key, std::string_view name);

} // namespace kv::win32
