// What a program hears of each Tick, whichever backend runs it: just before the Tick runs, and
// once it has run (its drawing done, before any further input is handled). Either may be empty.
#pragma once

#include <functional>

namespace kv {

struct TickHooks {
    std::function<void()> starting;
    std::function<void()> done;
};

} // namespace kv
