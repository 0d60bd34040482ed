#include "tools/common/window_tools.h"

#include "tools/common/readout.h"

kv::viewer::Tools WindowTools(RunData& data, const kv::Session* const& session) {
    kv::viewer::Tools tools;
    tools.file_stem = "korveline";
    tools.ticks.starting = [&data] { data.BeforeTick(); };
    // WM_CREATE runs the first Tick itself; the timer's are numbered from 2.
    tools.ticks.done = [&data, &session] { data.AfterTick(1 + session->timer_messages()); };
    tools.write_data = [&data](kv::image::Output& out) { data.Write(out); };
    tools.readout_title = kReadoutTitle;
    tools.readout = ReadoutRows;
    return tools;
}
