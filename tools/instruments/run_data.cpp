#include "tools/instruments/run_data.h"

#include "shell/scene.h"
#include "tools/instruments/lab_settings.h"

#include <exception>
#include <optional>
#include <string>

void RunData::AfterTick() {
    try {
        // WM_CREATE runs the first Tick itself; the timer's are numbered from 2.
        rows_.push_back(sampler_.Sample(1 + timer_ticks_));
    } catch (const std::exception&) {
        // A Tick whose replay disagrees has no row; the others still count.
        return;
    }
    if (rows_.size() > kept_rows_) rows_.pop_front();
}

void RunData::Write(kv::image::Output& out, CsvStyle style) const {
    // In pieces of some 64 KB: an hour of rows is 25 MB of text.
    // The real motor's columns when any row kept has a later setting changed.
    bool later = false;
    for (const TraceSample& sample : rows_)
        later = later || kv::tools::LaterSettingChanged(sample.settings);
    std::string text = TraceHeader(style, later) + '\n';
    for (const TraceSample& sample : rows_) {
        text += TraceRow(sample, style, later);
        text += '\n';
        if (text.size() >= 65536) {
            out.write(text);
            text.clear();
        }
    }
    out.write(text);
}
