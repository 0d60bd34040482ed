#include "tools/korveline_script/run_scripted.h"

#include "backends/headless/scripted_backend.h"
#include "shell/scene.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/trace_csv.h"
#include "tools/korveline_script/state_json.h"
#include "user/session.h"

#include <windows.h>

#include <utility>

namespace {

using Settings = std::vector<kv::headless::Command::Setting>;

std::string apply(const Settings& settings, tagLabo& target) {
    for (const kv::headless::Command::Setting& s : settings) {
        if (std::string error = kv::tools::SetLabSetting(s.name, s.value, target); !error.empty())
            return error;
    }
    return {};
}

// Between two Ticks: the change counts from the next one. All of the command, or nothing.
std::string SetLab(const Settings& settings) {
    tagLabo next = labo;
    std::string error = apply(settings, next);
    if (error.empty()) labo = next;
    return error;
}

} // namespace

std::optional<kv::headless::ParseError>
CheckLabCommands(const std::vector<kv::headless::Command>& commands) {
    for (const kv::headless::Command& c : commands) {
        if (c.kind != kv::headless::Command::Kind::Lab) continue;
        tagLabo scratch;
        if (std::string error = apply(c.settings, scratch); !error.empty())
            return kv::headless::ParseError{c.line, "lab: " + error};
    }
    return std::nullopt;
}

ScriptedRun RunScripted(std::vector<kv::headless::Command> commands, std::ostream& out,
                        std::ostream& err,
                        std::function<void(std::int64_t done, std::int64_t total)> progress) {
    kv::Session* session_ptr = nullptr;
    const auto tick = [&] { return std::uint64_t{1} + session_ptr->timer_messages(); };
    TraceSampler trace;
    const auto style = [](bool french) { return french ? CsvStyle::French : CsvStyle::Plain; };
    kv::headless::ScriptOutput output{&out, &err, [&] { return StateJson(tick()); }};
    // A trace started with a later setting changed has the real motor's columns throughout.
    bool later = false;
    output.trace_header = [&](bool french) {
        later = kv::tools::LaterSettingChanged(labo);
        return TraceHeader(style(french), later);
    };
    output.trace_row = [&](bool french) {
        return TraceRow(trace.Sample(tick()), style(french), later);
    };
    output.progress = std::move(progress);
    output.lab = SetLab;
    output.recording_comment = [] { return kv::tools::LabRecordingComment(labo); };
    kv::headless::ScriptedBackend backend(std::move(commands), output,
                                          {[&] { trace.BeforeTick(); }, {}});
    kv::Session session(backend);
    session_ptr = &session;
    static char no_command_line[] = "";
    ScriptedRun run;
    run.exit_code = WinMain(GetModuleHandle(nullptr), nullptr, no_command_line, SW_SHOWDEFAULT);
    run.window_open = backend.window_open();
    return run;
}
