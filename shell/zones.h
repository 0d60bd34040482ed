// The regions of the window that answer mouse clicks, in client pixels: one table, which the hit
// tests below read, and the keyboard's focus ring and the page's buttons after them. Regions
// overlap; a click acts on every region that contains it.
#pragma once

// The regions in the order Tab visits them.
enum {
    ZONE_ALIM,          // the supply switch
    ZONE_BOBINE_GAUCHE, // the left coil
    ZONE_BOBINE_HAUT,   // the upper-right coil
    ZONE_BOBINE_BAS,    // the lower-right coil
    ZONE_ROTOR,         // the rotor
    ZONE_FREIN,         // the brake box
    ZONE_RAZ,           // the plot's reset label "R a Z"
    NOMBRE_ZONES
};

// A region: the pixels gauche < x <= droite, haut < y <= bas.
class tagZone {
  public:
    const char* code;   // its name in the page and its links: "alim", "coil1" ... "raz"
    const char* nom_fr; // what the focus ring says it is (UTF-8)
    const char* nom_en;
    int gauche;
    int droite;
    int haut;
    int bas;
};

extern const tagZone zones[NOMBRE_ZONES];

bool DansZone(const tagZone& zone, int x, int y);

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
