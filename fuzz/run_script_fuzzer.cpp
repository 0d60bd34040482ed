// Fuzzes the whole program: a fuzzed script, cut to a few milliseconds of work (fuzz_limits.h),
// drives WinMain through the scripted backend in this process, as korveline-script does. Clicks,
// exposes and pixels keep the script's full coordinate range. The run must end by the program's
// own exit, or by a RunError for a snapshot or recording that cannot be written, with every state
// value finite; traces follow the model at every Tick.
#include "core/run_error.h"
#include "backends/headless/script.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_limits.h"
#include "shell/etat_de_depart.h"
#include "shell/scene.h"
#include "tools/korveline_script/run_scripted.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kvfuzz::check;

// Where this process writes its snapshots.
fs::path g_snapshot;

bool scene_is_finite() {
    const double values[] = {Mas.phi1,          Mas.i1,         Mas.phi2,     Mas.i2,
                             Mas.phi3,          Mas.i3,         Mas.theta,    Mas.omega,
                             alim.phase,        alim.amplitude, frein.couple, courbe.last_omega,
                             courbe.last_torque};
    for (const double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path dir = fs::temp_directory_path() / ("korveline-fuzz-" + std::to_string(getpid()));
    fs::create_directories(dir);
    g_snapshot = dir / "snapshot.png";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parsed =
        kv::headless::parse_script(std::string_view(reinterpret_cast<const char*>(data), size));
    // Scripts the reader refuses never run, nor do settings the program does not take;
    // parse_script_fuzzer covers them.
    if (std::holds_alternative<kv::headless::ParseError>(parsed)) return -1;
    if (CheckLabCommands(std::get<0>(parsed))) return -1;
    auto commands = kvfuzz::within_limits(std::get<0>(std::move(parsed)), g_snapshot.string());

    EtatDeDepart();
    std::ostringstream out;
    std::ostringstream err;
    try {
        const ScriptedRun run = RunScripted(std::move(commands), out, err);
        check(run.exit_code == 0, "the program exits with 0");
        check(!run.window_open, "the window is closed at the end");
    } catch (const kv::RunError& e) {
        // Only a snapshot or a recording may stop a run: of an empty client area, in practice.
        const std::string_view what = e.what();
        check(e.line() > 0 &&
                  (what.starts_with("cannot write PNG") || what.starts_with("cannot write GIF")),
              "a run stops only at a snapshot or recording that cannot be written");
    }
    check(scene_is_finite(), "every state value is finite");
    check(err.str().empty(), "no message box");
    std::error_code ignored;
    fs::remove(g_snapshot, ignored);
    fs::remove(fs::path(g_snapshot).replace_extension(".gif"), ignored);
    fs::remove(fs::path(g_snapshot).replace_extension(".csv"), ignored);
    return 0;
}
