// The progress of long runs: its line, and its silence where nothing could redraw it.
#include "script/run_script.h"
#include "tools/korveline_script/progress.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

TEST(Progress, LineShowsTicksRateAndTimeLeft) {
    const struct {
        std::int64_t done, total;
        double seconds;
        const char* line;
    } cases[] = {
        {0, 200, 0.0, "[------------------------------]   0%  0/200 Ticks  -- Ticks/s  --:-- left"},
        {50, 200, 1.0,
         "[#######-----------------------]  25%  50/200 Ticks  50 Ticks/s  0:03 left"},
        {1234, 20000, 0.5,
         "[#-----------------------------]   6%  1234/20000 Ticks  2468 Ticks/s  0:08 left"},
        {5000, 10'000'000, 2.0,
         "[------------------------------]   0%  5000/10000000 Ticks  2500 Ticks/s  1:06:38 left"},
        {200, 200, 4.0,
         "[##############################] 100%  200/200 Ticks  50 Ticks/s  0:00 left"},
        {300, 200, 1.0,
         "[##############################] 100%  200/200 Ticks  200 Ticks/s  0:00 left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressLine(c.done, c.total, c.seconds), c.line);
}

TEST(Progress, NothingReachesAPipeOrAFile) {
    std::ostringstream out;
    ProgressBar bar(out, false);
    for (std::int64_t done = 0; done <= 1'000'000; ++done)
        bar.Update(done, 1'000'000);
    EXPECT_EQ(out.str(), "");

    // The program itself, its standard error a file, over a run of several seconds.
    const auto run = kvtest::run_script("click left 25 25\ntick 10000\n");
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.err, "");
}

} // namespace
