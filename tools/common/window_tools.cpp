#include "tools/common/window_tools.h"

#include "tools/common/focus_regions.h"
#include "tools/common/readout.h"

#include "shell/textes.h"

kv::viewer::Tools WindowTools(RunData& data) {
    kv::viewer::Tools tools;
    tools.file_stem = "korveline";
    tools.ticks.starting = [&data] { data.BeforeTick(); };
    tools.ticks.done = [&data] { data.AfterTick(); };
    tools.write_data = [&data](kv::image::Output& out) { data.Write(out); };
    tools.readout_title = ReadoutTitle();
    tools.readout = ReadoutRows;
    tools.focus_regions = FocusRegions();
    // The viewer's own texts (its keys, its messages) in the picture's language.
    tools.language = textes == &textes_en ? kv::viewer::Lang::En : kv::viewer::Lang::Fr;
    return tools;
}
