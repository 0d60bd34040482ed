#include "shell/zones.h"

#include "base/geometrie.h"
#include "base/tronque.h"

#include <cmath>

bool DansRAZ(int x, int y) {
    return x > 740 && x <= 789 && y > 343 && y <= 354;
}
bool DansAlim(int x, int y) {
    return x > 0 && x <= 49 && y > 0 && y <= 49;
}
bool DansRotor(int x, int y) {
    return x > 160 && x <= 359 && y > 190 && y <= 389;
}
bool DansBobine1(int x, int y) {
    return x > 10 && x <= 159 && y > 240 && y <= 339;
}
bool DansFrein(int x, int y) {
    return x > 235 && x <= 274 && y > 440 && y <= 489;
}

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

bool DansBobine2(int x, int y) {
    const BornesBobinesDroites b = CalculeBornesBobinesDroites();
    return x > b.x_min && x < b.x_max && y > b.y_min_bas && y < b.y_max_bas;
}

bool DansBobine3(int x, int y) {
    const BornesBobinesDroites b = CalculeBornesBobinesDroites();
    return x > b.x_min && x < b.x_max && y > b.y_min_haut && y < b.y_max_haut;
}
