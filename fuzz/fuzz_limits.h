// Bounds that keep one fuzzed run of the whole program to milliseconds.
#pragma once

#include "backends/headless/script.h"

#include <string>
#include <vector>

namespace kvfuzz {

inline constexpr std::size_t kMaxCommands = 200;
inline constexpr std::int64_t kMaxTicks = 64;    // in all, over every `tick`
inline constexpr std::int64_t kMaxResize = 1024; // either side
inline constexpr std::size_t kMaxSnapshots = 2;

// The script cut to the bounds: the first kMaxCommands commands, tick counts (of `tick` and
// `record`) trimmed so that they add up to kMaxTicks at most, sizes clamped, snapshots and
// recordings past the first kMaxSnapshots dropped and the others written to `snapshot_path` (a
// fuzzed path could name any file), recordings and traces beside it with their own extension.
std::vector<kv::headless::Command> within_limits(std::vector<kv::headless::Command> commands,
                                                 const std::string& snapshot_path);

} // namespace kvfuzz
