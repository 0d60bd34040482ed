#include "backends/desktop/hum_synth.h"

#include <cmath>
#include <numbers>

namespace kv::desktop {

void HumSynth::render(std::span<float> out) {
    // A glide's time constant: short enough to follow a Tick (50 ms), long enough not to click.
    constexpr double kGlideSeconds = 0.01;
    // Below this the gain is silence, set to an exact zero.
    constexpr double kSilentGain = 1e-5;
    if (!started_ && target_.gain > 0) {
        now_.first_hz = target_.first_hz;
        now_.second_hz = target_.second_hz;
        started_ = true;
    }
    const double step = 1 - std::exp(-1 / (kGlideSeconds * rate_));
    for (float& sample : out) {
        now_.first_hz += (target_.first_hz - now_.first_hz) * step;
        now_.second_hz += (target_.second_hz - now_.second_hz) * step;
        now_.gain += (target_.gain - now_.gain) * step;
        if (target_.gain == 0 && now_.gain < kSilentGain) now_.gain = 0;
        const double hz[2] = {now_.first_hz, now_.second_hz};
        double sum = 0;
        for (int k = 0; k < 2; ++k) {
            sum += std::sin(2 * std::numbers::pi * phase_[k]);
            phase_[k] += hz[k] / rate_;
            phase_[k] -= std::floor(phase_[k]);
        }
        sample = now_.gain == 0 ? 0.0f : static_cast<float>(now_.gain * sum / 2);
    }
}

} // namespace kv::desktop
