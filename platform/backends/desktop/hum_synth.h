// The two hums as samples: two sines at the tones' pitches, their sum at the tones' gain. A new
// pitch or gain is glided to over a few milliseconds, and each sine's phase runs on, so a change
// never clicks. Once silence is reached the samples are exact zeros.
#pragma once

#include "viewer/hum.h"

#include <span>

namespace kv::desktop {

class HumSynth {
  public:
    explicit HumSynth(double sample_rate) : rate_(sample_rate) {}
    // What the next samples glide to.
    void set(const viewer::Tones& tones) { target_ = tones; }
    // The next samples, mono.
    void render(std::span<float> out);

  private:
    double rate_;
    viewer::Tones target_;
    viewer::Tones now_;        // glides to target_
    bool started_ = false;     // the first pitches are taken at once, not glided to from 0 Hz
    double phase_[2] = {0, 0}; // in turns, [0, 1)
};

} // namespace kv::desktop
