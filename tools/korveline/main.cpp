// korveline: KORVELINE's WinMain in a desktop window (SDL2). See --help.
#include "backends/sdl/sdl_backend.h"
#include "user/session.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <string>

// Made at build time from data/icons/korveline-48.png.
extern const unsigned char korveline_window_icon_png[];
extern const std::size_t korveline_window_icon_png_size;

namespace {

constexpr const char* kProgram = "korveline";

constexpr const char* kUsage =
    "Usage: korveline [--help | --version]\n"
    "Shows KORVELINE, the three-phase induction motor simulation, in a window.\n"
    "\n"
    "The mouse works the simulation, as the instructions in the window say. The keys change\n"
    "only how it is shown:\n"
    "  Space                    pause / resume\n"
    "  Right arrow              one Tick, while paused\n"
    "  -  +                     slower / faster: x1/4, x1/2, x1, x2, x4, x8\n"
    "  Ctrl +  Ctrl -  Ctrl 0   zoom in / out (x1 to x4, as far as the screen holds the\n"
    "                           window) / back to x1\n"
    "  F11                      full screen\n"
    "  F1  ?                    the list of keys over the picture (Esc hides it)\n"
    "\n"
    "Environment:\n"
    "  KORVELINE_TICK_LOG=PATH  at exit, writes to PATH the wall-clock milliseconds since the\n"
    "                           start of every Tick, one a line\n";

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << kProgram << ' ' << KORVELINE_VERSION << '\n';
        return 0;
    }
    if (argc > 1) {
        std::cerr << kProgram << ": takes no arguments\n" << kUsage;
        return 2;
    }

    const char* tick_log = std::getenv("KORVELINE_TICK_LOG");
    kv::sdl::SdlBackend backend(tick_log != nullptr ? tick_log : "");
    backend.set_icon_png({korveline_window_icon_png, korveline_window_icon_png_size});
    kv::Session session(backend);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
