// Fixed geometry of the picture: the motor centre and the angles the three phases are built on.
#pragma once

// Centre of the motor's cross-section, in client pixels (y grows downwards, so a growing angle
// turns clockwise on the screen).
constexpr int CENTRE_X = 260;
constexpr int CENTRE_Y = 290;

// The doubles nearest to the exact angles.
constexpr double PI = 3.141592653589793;
constexpr double PI_SUR_2 = 1.5707963267948966;      // quarter turn: from radial to tangent
constexpr double PI_SUR_3 = 1.0471975511965976;      // 60 degrees: between two rotor turns
constexpr double PI_SUR_6 = 0.5235987755982988;      // 30 degrees: half-width of a spire
constexpr double DEUX_PI_SUR_3 = 2.0943951023931953; // 120 degrees: between two phases
