// The desktop's sound: the two hums as samples (both pitches there, beating at their
// difference, never a click, exact silence when paused) and the SDL device they play through.
#include "backends/sdl/hum_audio.h"
#include "backends/desktop/hum_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace {

using kv::desktop::HumSynth;
using kv::viewer::Hum;
using kv::viewer::tones_for;

constexpr double kRate = 48000;

std::vector<float> render(HumSynth& synth, double seconds) {
    std::vector<float> samples(static_cast<std::size_t>(seconds * kRate));
    // In device-sized pieces, as SDL asks for them.
    for (std::size_t at = 0; at < samples.size(); at += 1024)
        synth.render(std::span<float>(samples).subspan(
            at, std::min<std::size_t>(1024, samples.size() - at)));
    return samples;
}

// The amplitude of the `hz` component (Goertzel).
double amplitude_at(const std::vector<float>& x, double hz) {
    const double w = 2 * std::numbers::pi * hz / kRate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (const float v : x) {
        const double s0 = v + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2 * std::sqrt(s1 * s1 + s2 * s2 - c * s1 * s2) / static_cast<double>(x.size());
}

// How many times the envelope (the greatest |sample| of each 10 ms) rises through half its peak.
int beats(const std::vector<float>& x) {
    std::vector<double> envelope;
    for (std::size_t at = 0; at + 480 <= x.size(); at += 480) {
        double peak = 0;
        for (std::size_t k = at; k < at + 480; ++k)
            peak = std::max(peak, std::fabs(static_cast<double>(x[k])));
        envelope.push_back(peak);
    }
    const double half = *std::max_element(envelope.begin(), envelope.end()) / 2;
    int rises = 0;
    for (std::size_t k = 1; k < envelope.size(); ++k)
        rises += envelope[k - 1] < half && envelope[k] >= half;
    return rises;
}

TEST(HumSynth, PlaysBothPitchesBeatingAtTheirDifference) {
    HumSynth synth(kRate);
    // A rotor at 98 % of the synchronous speed of a 50 Hz supply: rotor frequency 1 Hz.
    synth.set(tones_for(Hum{50, 49}, false));
    render(synth, 0.5); // past the glide in
    const std::vector<float> heard = render(synth, 4);
    EXPECT_NEAR(amplitude_at(heard, 220), kv::viewer::kHumGain / 2, 0.002);
    EXPECT_NEAR(amplitude_at(heard, 219), kv::viewer::kHumGain / 2, 0.002);
    EXPECT_LT(amplitude_at(heard, 221.5), 0.001);
    EXPECT_LT(amplitude_at(heard, 50), 0.001) << "the motor's own 50 Hz is lifted, not played";
    EXPECT_EQ(beats(heard), 4) << "a beat a second for 4 s";

    synth.set(tones_for(Hum{50, 46}, false)); // slip 8 %: 4 beats a second
    render(synth, 0.5);
    EXPECT_EQ(beats(render(synth, 2)), 8);
}

TEST(HumSynth, PausedItFadesWithoutAClickToExactZeros) {
    HumSynth synth(kRate);
    synth.set(tones_for(Hum{50, 49}, false));
    std::vector<float> heard = render(synth, 0.5);
    synth.set(tones_for(Hum{50, 49}, true));
    const std::vector<float> fading = render(synth, 0.2);
    heard.insert(heard.end(), fading.begin(), fading.end());
    // The steepest step of a 220 Hz sine at full gain: anything steeper is a click.
    const double steepest = kv::viewer::kHumGain * 2 * std::numbers::pi * 220 / kRate;
    for (std::size_t k = 1; k < heard.size(); ++k)
        ASSERT_LE(std::fabs(heard[k] - heard[k - 1]), steepest * 1.05) << "sample " << k;
    const std::vector<float> paused = render(synth, 1);
    EXPECT_TRUE(std::all_of(paused.begin(), paused.end(), [](float v) { return v == 0.0f; }));

    synth.set(tones_for(std::nullopt, false)); // no field
    EXPECT_TRUE(std::ranges::all_of(render(synth, 0.1), [](float v) { return v == 0.0f; }));
}

TEST(HumAudio, OpensThroughSdlsDummyDriverAndSaysWhyWithoutOne) {
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "no-such-driver", 1), 0);
    {
        kv::sdl::HumAudio audio;
        std::string why;
        EXPECT_FALSE(audio.open(why));
        EXPECT_FALSE(why.empty());
    }
    ASSERT_EQ(setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
    kv::sdl::HumAudio audio;
    std::string why;
    ASSERT_TRUE(audio.open(why)) << why;
    audio.play(tones_for(Hum{50, 49}, false));
    audio.play(tones_for(Hum{50, 49}, true));
    unsetenv("SDL_AUDIODRIVER");
}

} // namespace
