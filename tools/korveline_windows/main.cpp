// korveline.exe: KORVELINE's WinMain in a Win32 window, on the platform layer and the viewer as
// on Linux, so that it shows the very pixels of the desktop's window and the page. See --help.
#include "backends/win32/win32_screen.h"
#include "backends/win32/windows_services.h"
#include "shell/scene.h"
#include "tools/instruments/options.h"
#include "tools/instruments/window_program.h"
#include "user/session.h"
#include "viewer/viewer.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr const char* kProgram = "korveline";

// Paragraphs a line each: the message box wraps them to its width.
constexpr const char* kIntro =
    "Usage: korveline [--help | --version | --lang fr|en | --look LOOK] [--lab NAME=VALUE ...]\n"
    "\n"
    "Shows KORVELINE, the three-phase induction motor simulation, in a window. The mouse works "
    "the simulation, as the instructions in the window say; F1 in the window lists the keys. "
    "Pictures, recordings and data go to your Pictures folder (else the current folder), named "
    "korveline-DATE-TIME.\n"
    "\n"
    "--lang fr|en: the language of the picture's texts (default: %KORVELINE_LANG%, else fr).\n"
    "--look LOOK: the picture's look: default, colour-vision or projector.\n"
    "--lab NAME=VALUE ...: laboratory settings (as korveline-script's lab):\n";

// The laboratory's settings and their values, a line each: the long help's lines without their
// meanings, which would make a message box taller than the screen.
std::string LabSettingsList() {
    const std::string help = kv::tools::LabSettingsHelp();
    std::string list;
    for (std::size_t at = 0; at < help.size();) {
        const std::size_t end = std::min(help.find('\n', at), help.size());
        std::string line = help.substr(at, end - at);
        at = end + 1;
        if (line.starts_with("      ")) continue;
        if (line.ends_with(':')) line.pop_back();
        list += line + '\n';
    }
    return list;
}

std::string Usage() {
    return kIntro + LabSettingsList();
}

} // namespace

// A program of the Windows subsystem: what it has to say goes in a message box.
int main() {
    std::vector<std::string> args = kv::win32::command_line_arguments();
    if (const std::string error = kv::tools::take_window_options(args, labo); !error.empty()) {
        kv::win32::show_text(kProgram, error, true);
        return 2;
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "/?")) {
        kv::win32::show_text(kProgram, Usage(), false);
        return 0;
    }
    if (args.size() == 1 && args[0] == "--version") {
        kv::win32::show_text(kProgram, std::string(kProgram) + ' ' + KORVELINE_VERSION, false);
        return 0;
    }
    if (!args.empty()) {
        kv::win32::show_text(kProgram,
                             "takes no arguments but --lang, --look and --lab\n\n" + Usage(), true);
        return 2;
    }
    // What the window saves and reads out; the rows of the data are korveline-script's trace.
    RunData data;
    kv::win32::Win32Screen screen;
    kv::viewer::Viewer viewer(screen, WindowProgram(data));
    kv::Session session(viewer);
    static char no_command_line[] = "";
    return WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
}
