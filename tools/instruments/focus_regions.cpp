#include "tools/instruments/focus_regions.h"

#include "shell/zones.h"

namespace {

// The client pixels of a region whose hit test is lo < x <= hi (the zones' usual form).
kv::Rect AfterLowUpToHigh(int x_lo, int x_hi, int y_lo, int y_hi) {
    return kv::Rect{x_lo + 1, y_lo + 1, x_hi + 1, y_hi + 1};
}

} // namespace

std::vector<kv::viewer::FocusRegion> FocusRegions() {
    // The right-hand coils' bounds are excluded at both ends.
    const BornesBobinesDroites droites = CalculeBornesBobinesDroites();
    return {
        {{"ALIM", "ALIM"}, AfterLowUpToHigh(0, 49, 0, 49)},
        {{"bobine de gauche", "left coil"}, AfterLowUpToHigh(10, 159, 240, 339)},
        {{"bobine en haut à droite", "upper-right coil"},
         kv::Rect{droites.x_min + 1, droites.y_min_haut + 1, droites.x_max, droites.y_max_haut}},
        {{"bobine en bas à droite", "lower-right coil"},
         kv::Rect{droites.x_min + 1, droites.y_min_bas + 1, droites.x_max, droites.y_max_bas}},
        {{"rotor", "rotor"}, AfterLowUpToHigh(160, 359, 190, 389)},
        {{"Frein", "Frein (brake)"}, AfterLowUpToHigh(235, 274, 440, 489)},
        {{"R à Z", "R à Z (reset)"}, AfterLowUpToHigh(740, 789, 343, 354)},
    };
}
