// The rows of `trace`: after each Tick, the model's state and what its step returned.
#pragma once

#include "model/mas.h"

#include <cstdint>
#include <optional>
#include <string>

// The header row: every column named with its unit.
extern const char* const kTraceHeader;

// The application draws the forces of each step but keeps only the torque, so the sampler keeps
// a copy of the rotor before each Tick and replays that step on it afterwards, with the same
// supply and brake: the model's own code gives the forces. The replay must land on the
// program's state to the last bit, or the row is refused.
class TraceSampler {
  public:
    // Just before a Tick runs.
    void BeforeTick();
    // The row for the Tick just run; `tick` is the Tick's number as `state` gives it. Throws
    // headless::RunError when no state was taken before it or the replay disagrees.
    std::string Row(std::uint64_t tick) const;

  private:
    std::optional<tagMas> before_;
};
