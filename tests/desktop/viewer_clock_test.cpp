// The viewer clock: what the window manager's timer sees when the viewer pauses, steps or slows
// the motor down.
#include "viewer/clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using kv::viewer::clock_badge;
using kv::viewer::Speed;
using kv::viewer::ViewerClock;

TEST(ViewerClock, RunsWithTheWallClockFromItsStart) {
    const ViewerClock clock(1000);
    EXPECT_EQ(clock.now(1000), 0u);
    EXPECT_EQ(clock.now(1050), 50u);
    EXPECT_EQ(clock.now(61000), 60000u);
    EXPECT_FALSE(clock.paused());
    EXPECT_EQ(clock.speed(), Speed::Normal);
}

TEST(ViewerClock, StandsStillWhilePausedAndGoesOnFromThereAfterwards) {
    ViewerClock clock(0);
    clock.toggle_pause(120);
    EXPECT_TRUE(clock.paused());
    EXPECT_EQ(clock.now(120), 120u);
    EXPECT_EQ(clock.now(5000), 120u);
    clock.toggle_pause(5000);
    EXPECT_EQ(clock.now(5000), 120u);
    EXPECT_EQ(clock.now(5030), 150u);
}

TEST(ViewerClock, SlowerAndFasterStepFromAQuarterToEightTimes) {
    // Each row: the key pressed, the speed after it, the wall ms one viewer ms then takes
    // between Ticks, the Ticks run per timer period.
    struct Step {
        bool slower;
        Speed speed;
        int wall_per_viewer;
        int ticks;
    };
    const Step steps[] = {
        {true, Speed::Half, 2, 1},       {true, Speed::Quarter, 4, 1},
        {true, Speed::Quarter, 4, 1},    {false, Speed::Half, 2, 1},
        {false, Speed::Normal, 1, 1},    {false, Speed::Double, 1, 2},
        {false, Speed::Quadruple, 1, 4}, {false, Speed::Octuple, 1, 8},
        {false, Speed::Octuple, 1, 8},   {true, Speed::Quadruple, 1, 4},
    };
    ViewerClock clock(0);
    std::uint64_t wall = 0;
    for (const Step& s : steps) {
        s.slower ? clock.slower(wall) : clock.faster(wall);
        EXPECT_EQ(clock.speed(), s.speed);
        EXPECT_EQ(kv::viewer::wall_per_viewer_ms(clock.speed()), s.wall_per_viewer);
        EXPECT_EQ(kv::viewer::ticks_per_period(clock.speed()), s.ticks);
        const std::uint64_t before = clock.now(wall);
        wall += 400;
        EXPECT_EQ(clock.now(wall) - before, 400u / static_cast<unsigned>(s.wall_per_viewer));
    }
}

// The wall times of the Ticks a 50 ms timer on `clock` gets during `span` wall ms, each Tick
// taking `tick_ms` of wall time: the window manager's timer (one message however late, the
// next deadline on the period's grid) and the desktop's wait, as the program runs them.
std::vector<std::uint64_t> tick_times(ViewerClock& clock, std::uint64_t span, int tick_ms) {
    constexpr std::uint64_t kPeriod = 50;
    std::vector<std::uint64_t> ticks;
    std::uint64_t wall = 0;
    std::uint64_t due = clock.now(wall) + kPeriod;
    while (wall < span) {
        const std::uint64_t now = clock.now(wall);
        if (now >= due) {
            due += ((now - due) / kPeriod + 1) * kPeriod;
            clock.timer_delivered(wall);
            ticks.push_back(wall);
            wall += static_cast<std::uint64_t>(tick_ms);
            continue;
        }
        if (clock.run_next_tick_now(due, wall)) continue;
        wall = std::max(wall, *clock.wall_deadline(due, wall));
    }
    return ticks;
}

TEST(ViewerClock, FastMotionRunsTwoFourOrEightTicksBackToBackInEachTimerPeriod) {
    for (const int faster_presses : {0, 1, 2, 3}) {
        ViewerClock clock(0);
        for (int i = 0; i < faster_presses; ++i)
            clock.faster(0);
        const int per_period = kv::viewer::ticks_per_period(clock.speed());
        EXPECT_EQ(per_period, 1 << faster_presses);
        const std::vector<std::uint64_t> ticks = tick_times(clock, 1020, 1);
        // Periods start at 50, 100, ... 1000 ms on the wall: twenty of them, whole.
        ASSERT_EQ(ticks.size(), static_cast<std::size_t>(20 * per_period)) << per_period;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const std::uint64_t period_start = 50 * (1 + i / per_period);
            EXPECT_EQ(ticks[i], period_start + i % per_period) << per_period << " tick " << i;
        }
    }
}

TEST(ViewerClock, FastMotionOnASlowMachineStillRunsEveryTickOfAPeriod) {
    // Ticks of 20 ms: eight of them take longer than a period, so periods stretch.
    ViewerClock clock(0);
    for (int i = 0; i < 3; ++i)
        clock.faster(0);
    const std::vector<std::uint64_t> ticks = tick_times(clock, 2000, 20);
    ASSERT_GE(ticks.size(), 16u);
    for (std::size_t i = 1; i < 16; ++i) {
        // Back to back within a period of eight, then a wait for the timer.
        if (i % 8 != 0) {
            EXPECT_EQ(ticks[i] - ticks[i - 1], 20u) << i;
        }
    }
}

TEST(ViewerClock, AChangeOfSpeedKeepsTheTimeAlreadyRun) {
    ViewerClock clock(0);
    clock.slower(1000); // 1000 viewer ms at full speed, then half speed
    EXPECT_EQ(clock.now(1000), 1000u);
    EXPECT_EQ(clock.now(1100), 1050u);
    clock.faster(1100);
    EXPECT_EQ(clock.now(1200), 1150u);
}

TEST(ViewerClock, TheTimerPeriodOnTheWallIsFiftyHundredOrTwoHundredMs) {
    // The window manager's 50 ms timer, due one period after the clock's reading.
    for (const auto& [slower_presses, wall_period] :
         {std::pair{0, 50u}, std::pair{1, 100u}, std::pair{2, 200u}}) {
        ViewerClock clock(0);
        for (int i = 0; i < slower_presses; ++i)
            clock.slower(0);
        const std::uint64_t due = clock.now(10'000) + 50;
        EXPECT_EQ(clock.wall_deadline(due, 10'000), 10'000u + wall_period) << slower_presses;
        EXPECT_GE(clock.now(*clock.wall_deadline(due, 10'000)), due);
        EXPECT_LT(clock.now(*clock.wall_deadline(due, 10'000) - 1), due);
    }
}

TEST(ViewerClock, AWallDeadlineIsTheFirstMomentTheClockReachesIt) {
    ViewerClock clock(0);
    clock.slower(7); // half speed from wall 7 (viewer 7)
    for (std::uint64_t due = 8; due < 40; ++due) {
        const std::uint64_t wall = *clock.wall_deadline(due, 7);
        EXPECT_GE(clock.now(wall), due);
        EXPECT_LT(clock.now(wall - 1), due);
    }
}

TEST(ViewerClock, ADeadlineAlreadyPassedIsDueNow) {
    const ViewerClock clock(0);
    EXPECT_EQ(clock.wall_deadline(100, 250), 250u);
    EXPECT_EQ(clock.wall_deadline(250, 250), 250u);
}

TEST(ViewerClock, WhilePausedNoDeadlineIsEverReached) {
    ViewerClock clock(0);
    clock.toggle_pause(100);
    EXPECT_EQ(clock.wall_deadline(150, 100), std::nullopt);
    EXPECT_EQ(clock.wall_deadline(150, 1'000'000), std::nullopt);
}

TEST(ViewerClock, AStepWhilePausedReachesTheNextDeadlineAndNoFurther) {
    ViewerClock clock(0);
    clock.toggle_pause(120);
    clock.step_to(150);
    EXPECT_EQ(clock.now(120), 150u);
    EXPECT_EQ(clock.now(9999), 150u); // still paused
    // A deadline already reached does not move the clock back.
    clock.step_to(140);
    EXPECT_EQ(clock.now(9999), 150u);
    clock.toggle_pause(10'000);
    EXPECT_EQ(clock.now(10'010), 160u);
}

TEST(ViewerClock, StepsAskedForWhilePausedAreTakenOneATimerAtATimeAndForgottenOnResume) {
    ViewerClock clock(0);
    clock.request_step(); // running: ignored
    EXPECT_FALSE(clock.take_step(50));
    clock.toggle_pause(20);
    clock.request_step();
    clock.request_step();
    EXPECT_FALSE(clock.take_step(std::nullopt)); // no timer to reach: the steps are dropped
    clock.request_step();
    clock.request_step();
    EXPECT_TRUE(clock.take_step(50));
    EXPECT_EQ(clock.now(1000), 50u);
    EXPECT_TRUE(clock.take_step(100));
    EXPECT_EQ(clock.now(1000), 100u);
    EXPECT_FALSE(clock.take_step(150));
    clock.request_step();
    clock.toggle_pause(2000); // resumed: the step asked for is forgotten
    clock.toggle_pause(2000);
    EXPECT_FALSE(clock.take_step(150));
}

TEST(ViewerClock, AStepWhileRunningDoesNothing) {
    ViewerClock clock(0);
    clock.step_to(500);
    EXPECT_EQ(clock.now(100), 100u);
}

TEST(ViewerClock, TheBadgeSaysPauseOrTheSpeedAndNothingAtFullSpeed) {
    ViewerClock clock(0);
    EXPECT_EQ(clock_badge(clock), std::nullopt);
    clock.slower(0);
    EXPECT_EQ(clock_badge(clock), "x1/2");
    clock.slower(0);
    EXPECT_EQ(clock_badge(clock), "x1/4");
    clock.toggle_pause(0);
    EXPECT_EQ(clock_badge(clock), "PAUSE");
    clock.toggle_pause(0);
    clock.faster(0);
    clock.faster(0);
    EXPECT_EQ(clock_badge(clock), std::nullopt);
    for (const char* badge : {"x2", "x4", "x8", "x8"}) {
        clock.faster(0);
        EXPECT_EQ(clock_badge(clock), badge);
    }
}

} // namespace
