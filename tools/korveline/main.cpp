// korveline: KORVELINE's WinMain in a desktop window (SDL2). See --help.
#include "backends/sdl/sdl_backend.h"
#include "tools/common/language_option.h"
#include "tools/common/look_option.h"
#include "tools/common/readout.h"
#include "tools/common/run_data.h"
#include "user/session.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

// Made at build time from data/icons/korveline-48.png.
extern const unsigned char korveline_window_icon_png[];
extern const std::size_t korveline_window_icon_png_size;

namespace {

constexpr const char* kProgram = "korveline";

constexpr const char* kUsage =
    "Usage: korveline [--help | --version | --lang fr|en | --look LOOK]\n"
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
    "  F12  Ctrl+S              saves the picture as PNG in your pictures folder\n"
    "                           (xdg-user-dir PICTURES, else the current folder)\n"
    "  Ctrl+R                   starts / stops recording an animated GIF there (a frame a Tick)\n"
    "  Ctrl+E                   saves the run's data there as CSV: one row a Tick, the last\n"
    "                           hour of them, as korveline-script's trace writes them\n"
    "  I                        shows / hides a readout: speed, slip, motor and brake torque\n"
    "                           (plot units), and what the arrow colours are\n"
    "\n"
    "--lang fr|en: the language of the picture's texts (default: $KORVELINE_LANG, else fr).\n"
    "--look LOOK: the picture's look: default, colour-vision (phases numbered, colours for every\n"
    "colour vision) or projector (wider, darker, more contrast).\n"
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
    std::string look;
    std::string error = kv::tools::take_language_option(args, lang);
    if (error.empty()) error = kv::tools::take_look_option(args, look);
    if (error.empty() && args.empty()) error = kv::tools::select_language(lang);
    if (error.empty() && args.empty()) error = kv::tools::select_look(look);
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
        std::cerr << kProgram << ": takes no arguments but --lang and --look\n" << kUsage;
        return 2;
    }

    if (!HasDisplay()) {
        std::cerr << kProgram
                  << ": no display found (neither DISPLAY nor WAYLAND_DISPLAY is set);"
                     " korveline-script runs the simulation without one\n";
        return 1;
    }
    const char* tick_log = std::getenv("KORVELINE_TICK_LOG");
    // What the window saves and reads out; the rows of the data are korveline-script's trace.
    RunData data;
    kv::Session* session_ptr = nullptr;
    kv::sdl::ViewerTools tools;
    tools.file_stem = kProgram;
    tools.tick_starting = [&] { data.BeforeTick(); };
    // WM_CREATE runs the first Tick itself; the timer's are numbered from 2.
    tools.tick_done = [&] { data.AfterTick(1 + session_ptr->timer_messages()); };
    tools.write_data = [&](const std::string& path) { data.WriteCsv(path); };
    tools.readout_title = kReadoutTitle;
    tools.readout = ReadoutRows;

    kv::sdl::SdlBackend backend(tick_log != nullptr ? tick_log : "", std::move(tools));
    backend.set_icon_png({korveline_window_icon_png, korveline_window_icon_png_size});
    kv::Session session(backend);
    session_ptr = &session;
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
