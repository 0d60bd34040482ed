// How a click on the brake box changes the brake torque.
#pragma once

// Left click: one step more, without limit.
inline double CoupleFreinPlus(double couple, double pas) {
    return couple + pas;
}

// Right click: one step less. What rounding leaves near zero counts as zero, so the brake never
// drives the rotor.
inline double CoupleFreinMoins(double couple, double pas) {
    double c = couple - pas;
    if (c <= 0.0001) c = 0.0;
    return c;
}

// Right click under a driving load, which may drive the rotor forward: one step less, through
// zero. What rounding leaves near zero counts as zero.
inline double CoupleFreinMoinsEntrainante(double couple, double pas) {
    double c = couple - pas;
    if (c <= 0.0001 && c >= -0.0001) c = 0.0;
    return c;
}
