// The soak script: a long scripted run of random user input, the same for a seed on every machine.
#pragma once

#include <cstdint>
#include <string>

namespace kv::soak {

struct SoakSummary {
    std::int64_t ticks = 0;
    std::int64_t left_clicks = 0;
    std::int64_t right_clicks = 0;
    std::int64_t exposes = 0;
    std::int64_t resizes = 0;
    std::int64_t largest_area = 0; // in pixels, of any size the window was given
};

// `ticks` Ticks in groups of 1 to 7, a click after each group at a random position in, around or
// far outside the client area (coordinates -32768..65535, either button), now and then an `expose`
// of a random rectangle and a `resize` (0 x 0 up to 2048 x 2048, rarely up to 8192 x 8192 and
// back), ending with `state`.
//
// The largest window, 8192 x 8192, comes right at the start and every later large size is reached
// from 0 x 0, so the memory a run needs at its peak is the same whether it lasts 10^5 or 10^6
// Ticks: a script for fewer Ticks is the start of the one for more.
std::string soak_script(std::int64_t ticks, std::uint64_t seed, SoakSummary& summary);

} // namespace kv::soak
