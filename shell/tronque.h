// Every drawing coordinate goes from double to pixels through this one function.
#pragma once

// Truncation toward zero, not rounding or flooring: -2.7 gives -2. Around the motor centre the
// offset is truncated first and the centre added after, which keeps the upper-right coil the exact
// mirror image of the lower-right one.
inline int Tronque(double v) {
    return static_cast<int>(v);
}
