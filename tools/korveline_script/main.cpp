// korveline-script: runs KORVELINE's WinMain on the headless backend, driven by a script whose
// Ticks are virtual time. See --help.
#include "backends/headless/run_error.h"
#include "backends/headless/script.h"
#include "backends/headless/scripted_backend.h"
#include "tools/korveline_script/progress.h"
#include "tools/korveline_script/state_json.h"
#include "tools/korveline_script/trace_csv.h"
#include "user/session.h"

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kProgram = "korveline-script";

constexpr const char* kUsage =
    "Usage: korveline-script [SCRIPT]\n"
    "Runs KORVELINE without a display, driven by SCRIPT (standard input when absent or '-').\n"
    "\n"
    "One command a line; '#' starts a comment:\n"
    "  tick [N]               N timer Ticks of 50 ms of virtual time (default 1)\n"
    "  record PATH.gif N [every K]\n"
    "                         N Ticks as 'tick N' does, recorded as a looping animated GIF:\n"
    "                         a frame after every K-th Tick (default 1) and after the last,\n"
    "                         each shown 5 x K hundredths of a second; lossless\n"
    "  click left|right X Y   a mouse button press at client (X, Y)\n"
    "  expose [X Y W H]       the client area (or that rectangle) must be painted again\n"
    "  resize W H             the client area becomes W x H (0..8192)\n"
    "  snapshot PATH.png      writes the client area as an RGB PNG\n"
    "  trace PATH.csv         from now on, one CSV row per Tick: tick, time, supply phase,\n"
    "                         rotor angle and speed, slip, motor and brake torque, the three\n"
    "                         forces, currents and fluxes (model units, full precision)\n"
    "  trace off              ends the trace (so does the end of the script)\n"
    "  pixel X Y              prints 'pixel X Y RRGGBB' (or 'invalid') as GetPixel reads it\n"
    "  state                  prints the simulation state as one JSON line\n"
    "  close                  closes the window now (must be the last command)\n"
    "\n"
    "The whole script is checked before anything runs. On a terminal, long runs of Ticks show\n"
    "their progress on standard error. Exit status: the program's own (0), or 2 for a bad\n"
    "script, a file that cannot be read or a snapshot, recording or trace that cannot be\n"
    "written.\n";

bool read_all(std::istream& in, std::string& text) {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int fail(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string source = "-";
    if (argc > 2) return fail("too many arguments (see --help)");
    if (argc == 2) {
        const std::string arg = argv[1];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << kProgram << ' ' << KORVELINE_VERSION << '\n';
            return 0;
        }
        if (arg.size() > 1 && arg[0] == '-')
            return fail("unknown option '" + arg + "' (see --help)");
        source = arg;
    }

    std::string text;
    if (source == "-") {
        if (!read_all(std::cin, text)) return fail("<stdin>: cannot read");
    } else {
        std::ifstream file(source, std::ios::binary);
        if (!file) return fail(source + ": cannot open: " + std::strerror(errno));
        if (!read_all(file, text)) return fail(source + ": cannot read");
    }
    const std::string name = source == "-" ? "<stdin>" : source;

    auto parsed = kv::headless::parse_script(text);
    if (const auto* error = std::get_if<kv::headless::ParseError>(&parsed)) {
        return fail(name + ":" + std::to_string(error->line) + ": " + error->message);
    }

    std::uint64_t creation_ticks = 1; // WM_CREATE runs the first Tick itself
    kv::Session* session_ptr = nullptr;
    const auto tick = [&] { return creation_ticks + session_ptr->timer_messages(); };
    TraceSampler trace;
    ProgressBar progress(std::cerr, isatty(STDERR_FILENO) == 1);
    const kv::headless::ScriptOutput output{&std::cout, &std::cerr,
                                            [&] { return StateJson(tick()); }};
    const kv::headless::TickHooks hooks{
        kTraceHeader, [&] { trace.BeforeTick(); }, [&] { return trace.Row(tick()); },
        [&](std::int64_t done, std::int64_t total) { progress.Update(done, total); }};
    kv::headless::ScriptedBackend backend(std::move(std::get<0>(parsed)), output, hooks);
    kv::Session session(backend);
    session_ptr = &session;
    try {
        static char no_command_line[] = "";
        const int code =
            WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
        std::cout.flush();
        return code;
    } catch (const kv::headless::RunError& e) {
        std::cout.flush();
        if (e.line() > 0) return fail(name + ":" + std::to_string(e.line()) + ": " + e.what());
        return fail(e.what());
    }
}
