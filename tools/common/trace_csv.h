// The rows of `trace`: after each Tick, the model's state and what its step returned.
#pragma once

#include "model/mas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The header row: every column named with its unit.
extern const char* const kTraceHeader;

// One Tick's numbers, in the header's order after the Tick's own number.
struct TraceSample {
    std::uint64_t tick = 0;
    std::array<double, 17> values{};
};

// The row that gives a sample: the numbers exactly, as `state` prints them.
std::string TraceRow(const TraceSample& sample);

// The application draws the forces of each step but keeps only the torque, so the sampler keeps
// a copy of the rotor before each Tick and replays that step on it afterwards, with the same
// supply and brake: the model's own code gives the forces. The replay must land on the
// program's state to the last bit, or the row is refused.
class TraceSampler {
  public:
    // Just before a Tick runs.
    void BeforeTick();
    // The numbers for the Tick just run; `tick` is the Tick's number as `state` gives it. Throws
    // headless::RunError when no state was taken before it or the replay disagrees.
    TraceSample Sample(std::uint64_t tick) const;
    // Its row.
    std::string Row(std::uint64_t tick) const { return TraceRow(Sample(tick)); }

  private:
    std::optional<tagMas> before_;
};
