// korveline-script: runs KORVELINE's WinMain on the headless backend, driven by a script whose
// Ticks are virtual time. See --help.
#include "core/run_error.h"
#include "backends/headless/script.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/options.h"
#include "tools/korveline_script/progress.h"
#include "tools/korveline_script/run_scripted.h"
#include "tools/korveline_script/steady_curve_csv.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kProgram = "korveline-script";

constexpr const char* kUsage =
    "Usage: korveline-script [SCRIPT]\n"
    "       korveline-script --steady-curve [NAME=VALUE ...]\n"
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
    "  trace PATH.csv [fr]    from now on, one CSV row per Tick: tick, time, supply phase,\n"
    "                         rotor angle and speed, slip, motor and brake torque, the three\n"
    "                         forces, currents and fluxes (model units, full precision), the\n"
    "                         field's speed, the load's torque, rpm, rotor frequency, the power\n"
    "                         balance (model units per second) and the laboratory's settings;\n"
    "                         fr: as French spreadsheets read it (';' and decimal commas)\n"
    "  trace off              ends the trace (so does the end of the script)\n"
    "  lab NAME=VALUE ...     laboratory settings, from the next Tick on (see below)\n"
    "  pixel X Y              prints 'pixel X Y RRGGBB' (or 'invalid') as GetPixel reads it\n"
    "  state                  prints the simulation state as one JSON line\n"
    "  close                  closes the window now (must be the last command)\n"
    "\n"
    "The whole script is checked before anything runs. On a terminal, long runs of Ticks show\n"
    "their progress on standard error. Exit status: the program's own (0), or 2 for a bad\n"
    "script, a file that cannot be read or a snapshot, recording or trace that cannot be\n"
    "written.\n"
    "\n"
    "  --lang fr|en   the language of the picture's texts (default: $KORVELINE_LANG, else fr)\n"
    "  --look LOOK    the picture's look: default, colour-vision (phases numbered, colours for\n"
    "                 every colour vision) or projector (wider, darker, more contrast)\n"
    "  --steady-curve [NAME=VALUE ...]\n"
    "                 prints, as CSV, the steady torque/speed curve for those laboratory\n"
    "                 settings (the model run at held speeds, both branches and the pull-out\n"
    "                 point) and exits\n"
    "\n"
    "Laboratory settings (lab NAME=VALUE; at their defaults the motor is the original one):\n";

bool read_all(std::istream& in, std::string& text) {
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int fail(const std::string& message) {
    std::cerr << kProgram << ": " << message << '\n';
    return 2;
}

// Under node, emscripten's isatty says yes for every standard stream, pipes included.
bool StderrIsATerminal() {
#ifdef __EMSCRIPTEN__
    return false;
#else
    return isatty(STDERR_FILENO) == 1;
#endif
}

} // namespace

// --steady-curve NAME=VALUE ...: the curve for those settings on standard output.
int PrintSteadyCurve(const std::vector<std::string>& pairs) {
    tagLabo settings;
    for (const std::string& pair : pairs) {
        if (const std::string error = kv::tools::SetLabPair(pair, settings); !error.empty())
            return fail("--steady-curve: " + error);
    }
    std::cout << SteadyCurveCsv(MesureCaracteristique(settings));
    std::cout.flush();
    return std::cout ? 0 : fail("cannot write the curve");
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--steady-curve")
        return PrintSteadyCurve(std::vector<std::string>(args.begin() + 1, args.end()));
    std::string lang;
    if (const std::string error = kv::tools::take_language_option(args, lang); !error.empty())
        return fail(error + " (see --help)");
    std::string look;
    if (const std::string error = kv::tools::take_look_option(args, look); !error.empty())
        return fail(error + " (see --help)");
    std::string source = "-";
    if (args.size() > 1) return fail("too many arguments (see --help)");
    if (args.size() == 1) {
        const std::string arg = args[0];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << kv::tools::LabSettingsHelp();
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
    if (const std::string error = kv::tools::select_language(lang); !error.empty())
        return fail(error);
    if (const std::string error = kv::tools::select_look(look); !error.empty()) return fail(error);

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
    if (const auto error = CheckLabCommands(std::get<0>(parsed)))
        return fail(name + ":" + std::to_string(error->line) + ": " + error->message);

    ProgressBar progress(std::cerr, StderrIsATerminal());
    try {
        const ScriptedRun run = RunScripted(
            std::move(std::get<0>(parsed)), std::cout, std::cerr,
            [&](std::int64_t done, std::int64_t total) { progress.Update(done, total); });
        std::cout.flush();
        return run.exit_code;
    } catch (const kv::RunError& e) {
        std::cout.flush();
        if (e.line() > 0) return fail(name + ":" + std::to_string(e.line()) + ": " + e.what());
        return fail(e.what());
    }
}
