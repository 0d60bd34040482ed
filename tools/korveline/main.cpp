// korveline: KORVELINE's WinMain in a desktop window (SDL2). See --help.
#include "backends/sdl/sdl_backend.h"
#include "tools/common/language_option.h"
#include "user/session.h"

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "korveline";

constexpr const char* kUsage =
    "Usage: korveline [--help | --version | --lang fr|en]\n"
    "Shows KORVELINE, the three-phase induction motor simulation, in a window.\n"
    "\n"
    "The mouse works the simulation, as the instructions in the window say. The keys change\n"
    "only how it is shown:\n"
    "  Space                    pause / resume\n"
    "  Right arrow              one Tick, while paused\n"
    "  -  +                     slower / faster: x1/4, x1/2, x1\n"
    "  Ctrl +  Ctrl -  Ctrl 0   zoom in / out (x1 to x4) / back to x1\n"
    "  F11                      full screen\n"
    "\n"
    "--lang fr|en: the language of the picture's texts (default: $KORVELINE_LANG, else fr).\n"
    "\n"
    "Environment:\n"
    "  KORVELINE_TICK_LOG=PATH  at exit, writes to PATH the wall-clock milliseconds since the\n"
    "                           start of every Tick, one a line\n";

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// A driver named by the user (SDL_VIDEODRIVER) may need neither variable: let SDL try it.
bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("SDL_VIDEODRIVER");
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string lang;
    std::string error = kv::tools::take_language_option(args, lang);
    if (error.empty() && args.empty()) error = kv::tools::select_language(lang);
    if (!error.empty()) {
        std::cerr << kProgram << ": " << error << '\n';
        return 2;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << kProgram << ' ' << KORVELINE_VERSION << '\n';
        return 0;
    }
    if (!args.empty()) {
        std::cerr << kProgram << ": takes no arguments but --lang\n" << kUsage;
        return 2;
    }

    if (!HasDisplay()) {
        std::cerr << kProgram
                  << ": no display found (neither DISPLAY nor WAYLAND_DISPLAY is set);"
                     " korveline-script runs the simulation without one\n";
        return 1;
    }
    const char* tick_log = std::getenv("KORVELINE_TICK_LOG");
    kv::sdl::SdlBackend backend(tick_log != nullptr ? tick_log : "");
    kv::Session session(backend);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
