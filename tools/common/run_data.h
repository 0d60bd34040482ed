// The run's data in the window: one CSV row per Tick, as korveline-script's `trace` writes them,
// the last hour of them kept in memory for Ctrl E. The numbers are kept; they become text only when
// saved, which spares every Tick the formatting.
#pragma once

#include "tools/common/trace_csv.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class RunData {
  public:
    // An hour of Ticks at 20 a second.
    static constexpr std::size_t kKeptRows = 72'000;

    explicit RunData(std::size_t kept_rows = kKeptRows) : kept_rows_(kept_rows) {}

    // Just before a Tick runs, and after it has run as Tick number `tick`.
    void BeforeTick() { sampler_.BeforeTick(); }
    void AfterTick(std::uint64_t tick);

    std::size_t Rows() const { return rows_.size(); }
    // The header and the rows kept, oldest first. Throws std::runtime_error when the file cannot
    // be written; nothing is left behind then.
    void WriteCsv(const std::string& path) const;

  private:
    std::size_t kept_rows_;
    TraceSampler sampler_;
    std::deque<TraceSample> rows_;
};
