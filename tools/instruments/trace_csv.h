// The rows of `trace`: after each Tick, the model's state, what its step returned, the real
// values and the power balance they give, the laboratory's settings of that Tick, and what the
// starter applied of them.
#pragma once

#include "model/bilan.h"
#include "model/labo.h"
#include "model/mas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// How the numbers are written: as `state` prints them (',' between fields, '.' decimals, 17
// digits that read back to the same double), or as French spreadsheets read them (';' between
// fields, decimal commas, the 15 digits a spreadsheet keeps).
enum class CsvStyle { Plain, French };

// The header row: every column named with its unit; the settings are named as `lab` takes them.
// `later`: a trace started with a later setting changed (LaterSettingChanged) has the real
// motor's columns after the original ones, then the later settings.
std::string TraceHeader(CsvStyle style = CsvStyle::Plain, bool later = false);

// One Tick's numbers, as the model and the program hold them; the row derives the rest.
struct TraceSample {
    std::uint64_t tick = 0;
    std::array<double, 17> values{}; // time_s .. flux3, in the header's order
    double sync_omega = 0;           // the field's speed, radians per Tick
    double load_torque = 0;          // the brake as its law makes it at the speed before the step
    tagLabo settings;                // as set
    tagLabo applied;                 // as the starter applied them this Tick
    int stage = 0;                   // the start's step: 1 the first, 0 once over
    double applied_voltage = 100;    // % of the set voltage
    double applied_frequency = 100;  // % of the set frequency
    std::array<double, 3> line_currents{}; // the real motor's, after the Tick, model units
    tagPuissances period{}; // the averages over the last supply period traced, to this Tick
};

// The row that gives a sample, with the real motor's columns or not.
std::string TraceRow(const TraceSample& sample, CsvStyle style = CsvStyle::Plain,
                     bool later = false);

// The application draws the forces of each step but keeps only the torque, so the sampler keeps
// a copy of the rotor before each Tick and replays that step on it afterwards, with the same
// supply, brake and settings: the model's own code gives the forces. The replay must land on the
// program's state to the last bit, or the row is refused.
class TraceSampler {
  public:
    // Just before a Tick runs.
    void BeforeTick();
    // The numbers for the Tick just run; `tick` is the Tick's number as `state` gives it. The
    // Tick's powers join the period's balance first. Throws kv::RunError when no state was taken
    // before it or the replay disagrees.
    TraceSample Sample(std::uint64_t tick);
    // The rotor as it was before the Tick, once BeforeTick has run.
    const std::optional<tagMas>& Before() const { return before_; }
    // The averages over the last supply period sampled.
    const tagBilanPeriode& Balance() const { return balance_; }

  private:
    std::optional<tagMas> before_;
    tagBilanPeriode balance_;
};
