#include "shell/zones.h"

#include "base/geometrie.h"
#include "base/tronque.h"

#include <cmath>

BornesBobinesDroites CalculeBornesBobinesDroites() {
    BornesBobinesDroites b;
    b.x_min = CENTRE_X + Tronque(110 * std::cos(PI_SUR_3) - 50 * std::cos(PI_SUR_6));
    b.x_max = CENTRE_X + Tronque(254 * std::cos(PI_SUR_3) + 50 * std::cos(PI_SUR_6));
    const int proche = Tronque(110 * std::sin(PI_SUR_3) - 50 * std::sin(PI_SUR_6));
    const int loin = Tronque(254 * std::sin(PI_SUR_3) + 50 * std::sin(PI_SUR_6));
    b.y_min_bas = CENTRE_Y + proche;
    b.y_max_bas = CENTRE_Y + loin;
    b.y_min_haut = CENTRE_Y - loin; // the mirror image in the centre's horizontal
    b.y_max_haut = CENTRE_Y - proche;
    return b;
}

namespace {

const BornesBobinesDroites droites = CalculeBornesBobinesDroites();

} // namespace

// The right-hand coils exclude their upper bounds too: one pixel less is their last.
const tagZone zones[NOMBRE_ZONES] = {
    {"alim", "ALIM", "ALIM", 0, 49, 0, 49},
    {"coil1", "bobine de gauche", "left coil", 10, 159, 240, 339},
    {"coil2", "bobine en haut à droite", "upper-right coil", droites.x_min, droites.x_max - 1,
     droites.y_min_haut, droites.y_max_haut - 1},
    {"coil3", "bobine en bas à droite", "lower-right coil", droites.x_min, droites.x_max - 1,
     droites.y_min_bas, droites.y_max_bas - 1},
    {"rotor", "rotor", "rotor", 160, 359, 190, 389},
    {"brake", "Frein", "Frein (brake)", 235, 274, 440, 489},
    {"raz", "R à Z", "R à Z (reset)", 740, 789, 343, 354},
};

bool DansZone(const tagZone& zone, int x, int y) {
    return x > zone.gauche && x <= zone.droite && y > zone.haut && y <= zone.bas;
}

bool DansRAZ(int x, int y) {
    return DansZone(zones[ZONE_RAZ], x, y);
}
bool DansAlim(int x, int y) {
    return DansZone(zones[ZONE_ALIM], x, y);
}
bool DansRotor(int x, int y) {
    return DansZone(zones[ZONE_ROTOR], x, y);
}
bool DansBobine1(int x, int y) {
    return DansZone(zones[ZONE_BOBINE_GAUCHE], x, y);
}
bool DansBobine2(int x, int y) {
    return DansZone(zones[ZONE_BOBINE_BAS], x, y);
}
bool DansBobine3(int x, int y) {
    return DansZone(zones[ZONE_BOBINE_HAUT], x, y);
}
bool DansFrein(int x, int y) {
    return DansZone(zones[ZONE_FREIN], x, y);
}
