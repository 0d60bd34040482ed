#include "tools/korveline_script/run_scripted.h"

#include "backends/headless/scripted_backend.h"
#include "tools/korveline_script/state_json.h"
#include "tools/common/trace_csv.h"
#include "user/session.h"

#include <windows.h>

#include <utility>

ScriptedRun RunScripted(std::vector<kv::headless::Command> commands, std::ostream& out,
                        std::ostream& err,
                        std::function<void(std::int64_t done, std::int64_t total)> progress) {
    kv::Session* session_ptr = nullptr;
    const auto tick = [&] { return std::uint64_t{1} + session_ptr->timer_messages(); };
    TraceSampler trace;
    const kv::headless::ScriptOutput output{&out,
                                            &err,
                                            [&] { return StateJson(tick()); },
                                            kTraceHeader,
                                            [&] { return trace.Row(tick()); },
                                            std::move(progress)};
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
