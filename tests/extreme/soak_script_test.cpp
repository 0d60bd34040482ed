// The soak run's script: valid, as long as asked, reproducible, and covering what the soak claims
// to try (both buttons over the whole coordinate range, 0 x 0 to 8192 x 8192 and back, exposes).
#include "backends/headless/script.h"
#include "tools/soak/soak_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kv::headless::Command;
using Kind = Command::Kind;

std::vector<Command> Parse(const std::string& text) {
    auto parsed = kv::headless::parse_script(text);
    if (const auto* error = std::get_if<kv::headless::ParseError>(&parsed)) {
        ADD_FAILURE() << "line " << error->line << ": " << error->message;
        return {};
    }
    return std::get<std::vector<Command>>(parsed);
}

TEST(SoakScript, HoldsWhatItsSummarySaysAndCoversTheRanges) {
    kv::soak::SoakSummary summary;
    const std::vector<Command> script = Parse(kv::soak::soak_script(100'000, 1, summary));
    ASSERT_FALSE(script.empty());
    EXPECT_EQ(script.back().kind, Kind::State);

    std::int64_t ticks = 0, left = 0, right = 0, exposes = 0, resizes = 0;
    std::int64_t min_x = 0, max_x = 0, min_y = 0, max_y = 0, largest = 0;
    std::int64_t ticks_at_largest = -1;
    bool empty_before = true;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const Command& c = script[i];
        switch (c.kind) {
        case Kind::Tick:
            ticks += c.count;
            EXPECT_GE(c.count, 1);
            EXPECT_LE(c.count, 7) << "a click every few Ticks";
            break;
        case Kind::Click:
            ++(c.button == kv::InputEvent::Button::Left ? left : right);
            min_x = std::min(min_x, c.x);
            max_x = std::max(max_x, c.x);
            min_y = std::min(min_y, c.y);
            max_y = std::max(max_y, c.y);
            break;
        case Kind::Expose:
            ++exposes;
            break;
        case Kind::Resize:
            ++resizes;
            if (c.width * c.height > std::int64_t{2048} * 2048) {
                // A large window from nothing, and left for nothing.
                EXPECT_TRUE(empty_before) << "line " << c.line;
                const auto next =
                    std::find_if(script.begin() + static_cast<std::ptrdiff_t>(i) + 1, script.end(),
                                 [](const Command& n) { return n.kind == Kind::Resize; });
                ASSERT_NE(next, script.end());
                EXPECT_EQ(next->width * next->height, 0) << "line " << next->line;
            }
            if (c.width * c.height > largest) {
                largest = c.width * c.height;
                ticks_at_largest = ticks;
            }
            empty_before = c.width * c.height == 0;
            break;
        default:
            break;
        }
    }
    EXPECT_EQ(ticks, 100'000);
    EXPECT_EQ(ticks, summary.ticks);
    EXPECT_EQ(left, summary.left_clicks);
    EXPECT_EQ(right, summary.right_clicks);
    EXPECT_EQ(exposes, summary.exposes);
    EXPECT_EQ(resizes, summary.resizes);
    EXPECT_EQ(largest, summary.largest_area);

    EXPECT_GT(left, 10'000);
    EXPECT_GT(right, 10'000);
    EXPECT_LT(min_x, -30'000);
    EXPECT_GT(max_x, 60'000);
    EXPECT_LT(min_y, -30'000);
    EXPECT_GT(max_y, 60'000);
    EXPECT_GT(exposes, 1'000);
    EXPECT_GT(resizes, 50);
    EXPECT_EQ(largest, 8192 * 8192);
    EXPECT_LE(ticks_at_largest, 2) << "the largest window comes first";
}

TEST(SoakScript, IsTheSameForASeedAndShorterRunsAreItsStart) {
    kv::soak::SoakSummary a, b, c;
    const std::string short_run = kv::soak::soak_script(10'000, 5, a);
    EXPECT_TRUE(kv::soak::soak_script(10'000, 5, b) == short_run);
    EXPECT_FALSE(kv::soak::soak_script(10'000, 6, b) == short_run);

    // After the title line, up to the last group of Ticks, which the shorter run cuts short.
    const std::string long_run = kv::soak::soak_script(100'000, 5, c);
    const std::string_view s = std::string_view(short_run).substr(short_run.find('\n'));
    const std::string_view l = std::string_view(long_run).substr(long_run.find('\n'));
    const std::size_t last_tick = s.rfind("\ntick");
    ASSERT_NE(last_tick, std::string_view::npos);
    ASSERT_GT(last_tick, 1000u);
    const auto differ = std::mismatch(s.begin(), s.end(), l.begin(), l.end()).first - s.begin();
    EXPECT_GE(differ, static_cast<std::ptrdiff_t>(last_tick));
    EXPECT_EQ(c.largest_area, a.largest_area);
}

} // namespace
