// The regions of the window that answer mouse clicks, in client pixels. Regions overlap; a click
// acts on every region that contains it.
#pragma once

bool DansRAZ(int x, int y);     // the plot's reset label "R a Z"
bool DansAlim(int x, int y);    // the supply switch
bool DansRotor(int x, int y);   // the rotor
bool DansBobine1(int x, int y); // the left coil
bool DansBobine2(int x, int y); // the lower-right coil
bool DansBobine3(int x, int y); // the upper-right coil
bool DansFrein(int x, int y);   // the brake box

// Bounding boxes of the two right-hand coils, all bounds excluded: the coils lie along +pi/3 and
// -pi/3 from the motor centre, from radius 110 to 254, 50 pixels to either side of the axis.
struct BornesBobinesDroites {
    int x_min;
    int x_max;
    int y_min_bas; // lower-right coil
    int y_max_bas;
    int y_min_haut; // upper-right coil
    int y_max_haut;
};
BornesBobinesDroites CalculeBornesBobinesDroites();
