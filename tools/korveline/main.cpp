// korveline: KORVELINE's WinMain in a desktop window (SDL2). See --help.
#include "backends/sdl/sdl_screen.h"
#include "shell/scene.h"
#include "tools/instruments/action_table.h"
#include "tools/instruments/options.h"
#include "tools/instruments/window_program.h"
#include "user/session.h"
#include "viewer/viewer.h"

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

// Made at build time from data/icons/korveline-48.png.
extern const unsigned char korveline_window_icon_png[];
extern const std::size_t korveline_window_icon_png_size;

namespace {

constexpr const char* kProgram = "korveline";

constexpr const char* kIntro =
    "Usage: korveline [--help | --version | --lang fr|en | --look LOOK] [--lab NAME=VALUE ...]\n"
    "Shows KORVELINE, the three-phase induction motor simulation, in a window.\n"
    "\n"
    "The mouse works the simulation, as the instructions in the window say, and so do Enter\n"
    "and Shift Enter on the part a focus ring shows; the other keys change only how it is\n"
    "shown. The keys:\n";

constexpr const char* kOptions =
    "Pictures, recordings and data go to your pictures folder (xdg-user-dir PICTURES, else\n"
    "the current folder), named korveline-DATE-TIME; the data is one CSV row a Tick, the\n"
    "last hour of them, as korveline-script's trace writes them; in French, as trace PATH fr\n"
    "writes them (';' between fields, decimal commas). A recording's comment names the\n"
    "laboratory's settings; F2 shows them over the picture and changes them.\n"
    "\n"
    "--lang fr|en: the language of the picture's texts (default: $KORVELINE_LANG, else fr).\n"
    "--look LOOK: the picture's look: default, colour-vision (phases numbered, colours for every\n"
    "colour vision) or projector (wider, darker, more contrast).\n"
    "--lab NAME=VALUE ...: laboratory settings, listed below (as korveline-script's lab).\n"
    "\n"
    "Environment:\n"
    "  KORVELINE_TICK_LOG=PATH  at exit, writes to PATH the wall-clock milliseconds since the\n"
    "                           start of every Tick, one a line\n"
    "\n"
    "Laboratory settings:\n";

// The keys come from the program's table of actions, as the window's list of keys does.
std::string Usage() {
    return kIntro + kv::viewer::key_help_text(kv::tools::ActionTable(), kv::viewer::Lang::En, 19) +
           kOptions + kv::tools::LabSettingsHelp();
}

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
    if (const std::string error = kv::tools::take_window_options(args, labo); !error.empty()) {
        std::cerr << kProgram << ": " << error << '\n';
        return 2;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << Usage();
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << kProgram << ' ' << KORVELINE_VERSION << '\n';
        return 0;
    }
    if (!args.empty()) {
        std::cerr << kProgram << ": takes no arguments but --lang, --look and --lab\n" << Usage();
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
    kv::sdl::SdlScreen screen(tick_log != nullptr ? tick_log : "");
    screen.set_icon_png({korveline_window_icon_png, korveline_window_icon_png_size});
    kv::viewer::Viewer viewer(screen, WindowProgram(data));
    kv::Session session(viewer);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
