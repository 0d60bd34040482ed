// Every drawing coordinate goes from double to pixels through this one function.
#pragma once

#include <climits>
#include <cmath>

// Truncation toward zero, not rounding or flooring: -2.7 gives -2. Around the motor centre the
// offset is truncated first and the centre added after, which keeps the upper-right coil the exact
// mirror image of the lower-right one.
//
// Converting a double whose truncation does not fit an int is undefined in C++, so such values
// saturate to INT_MIN or INT_MAX (the GDI clips the far coordinate anyway), and NaN gives 0.
inline int Tronque(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0) return INT_MAX;  // 2^31 and beyond, +infinity
    if (v <= -2147483649.0) return INT_MIN; // -2^31 - 1 and beyond, -infinity
    return static_cast<int>(v);
}
