// The picture's look, as both programs take it: --look LOOK (or --look=LOOK) chooses it before the
// window exists; while the program runs, request_look asks the window for another.
#pragma once

#include "shell/aspects.h"
#include "shell/scene.h"
#include "tools/common/value_option.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kv::tools {

// Every look's name, for messages and help: "default, colour-vision, projector".
inline std::string known_looks() {
    std::string known;
    for (const tagAspect& aspect : aspects)
        known += (known.empty() ? "" : ", ") + std::string(aspect.nom);
    return known;
}

// Takes every --look option out of `args` (the last one counts). Returns what is wrong, or an
// empty string; `look` stays empty when no option was given.
inline std::string take_look_option(std::vector<std::string>& args, std::string& look) {
    return take_value_option(args, "--look", look, "--look needs a look (" + known_looks() + ")");
}

// Draws the picture in `look` from the start (nothing when it is empty). Returns what is wrong, or
// an empty string.
inline std::string select_look(const std::string& look) {
    if (look.empty()) return {};
    const int aspect = AspectNomme(look.c_str());
    if (aspect < 0) return "--look: unknown look '" + look + "' (known: " + known_looks() + ")";
    ChoisirAspect(aspect);
    return {};
}

// The look shown now, by name.
inline const char* current_look() {
    return aspects[aspect_courant].nom;
}

// Asks the running program's window to take `look`: it changes at the next message, keeps the
// run and repaints what the look changes. Safe at any moment, from any hook of a program, since it
// only posts a message. False for an unknown look or when there is no window.
inline bool request_look(const std::string& look) {
    const int aspect = AspectNomme(look.c_str());
    const HWND hwnd = FindWindow(g_szClassName, nullptr);
    if (aspect < 0 || hwnd == nullptr) return false;
    return PostMessage(hwnd, WM_ASPECT, static_cast<WPARAM>(aspect), 0) != FALSE;
}

} // namespace kv::tools
