// The run's data in the window and the page: one CSV row per Tick, as korveline-script's `trace`
// writes them, the last hour of them kept in memory for Ctrl E, and the power balance of the last
// supply period, which the readout shows. The numbers are kept; they become text only when saved,
// which spares every Tick the formatting.
#pragma once

#include "image/output_file.h"
#include "model/bilan.h"
#include "tools/instruments/trace_csv.h"

#include <cstddef>
#include <cstdint>
#include <deque>

class RunData {
  public:
    // An hour of Ticks at 20 a second.
    static constexpr std::size_t kKeptRows = 72'000;

    explicit RunData(std::size_t kept_rows = kKeptRows) : kept_rows_(kept_rows) {}

    // Just before each Tick of the application's timer runs, and once it has run.
    void BeforeTick() {
        sampler_.BeforeTick();
        ++timer_ticks_;
    }
    void AfterTick();

    std::size_t Rows() const { return rows_.size(); }
    // The averages over the last supply period.
    const tagBilanPeriode& Balance() const { return sampler_.Balance(); }
    // The header and the rows kept, oldest first, written to `out` (which is not kept here).
    void Write(kv::image::Output& out, CsvStyle style = CsvStyle::Plain) const;

  private:
    std::size_t kept_rows_;
    TraceSampler sampler_;
    std::deque<TraceSample> rows_;
    std::uint64_t timer_ticks_ = 0;
};
