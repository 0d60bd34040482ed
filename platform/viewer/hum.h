// The sound option: two quiet hums a program hands the viewer after each Tick, as two frequencies
// of its own time, and what the speakers play of them. Heard as they are, a real machine's
// frequencies (tens of hertz) are a rumble most speakers cannot play; lifted by the same amount,
// they keep their difference, so the two hums still beat at the very frequency the program's two
// differ by.
#pragma once

#include <optional>

namespace kv::viewer {

// Two frequencies of the program's own time, in Hz (zero or negative: at rest or turning back).
struct Hum {
    double first_hz = 0;
    double second_hz = 0;
};

// What to play now: two pitches and a gain (0: silence).
struct Tones {
    double first_hz = 0;
    double second_hz = 0;
    double gain = 0;
    bool operator==(const Tones&) const = default;
};

// Every frequency is lifted by this much: 50 Hz plays at 220 Hz (the A below middle C).
inline constexpr double kHumLiftHz = 170;
// Quiet: a background to a class, never over the teacher's voice.
inline constexpr double kHumGain = 0.08;

// The tones for `hum` (none: nothing to hear), silent while `paused`. Pitches stay within what a
// speaker plays; the beat stays the hum's difference while both lie between 40 Hz and 2 kHz
// after the lift.
Tones tones_for(const std::optional<Hum>& hum, bool paused);

} // namespace kv::viewer
