#include "viewer/hum.h"

#include <algorithm>

namespace kv::viewer {

namespace {

// What a laptop's or a classroom's speakers play.
constexpr double kLowestHz = 40;
constexpr double kHighestHz = 2000;

double pitch(double hz) {
    return std::clamp(hz + kHumLiftHz, kLowestHz, kHighestHz);
}

} // namespace

Tones tones_for(const std::optional<Hum>& hum, bool paused) {
    if (!hum) return {};
    return {pitch(hum->first_hz), pitch(hum->second_hz), paused ? 0 : kHumGain};
}

} // namespace kv::viewer
