#include "tools/instruments/focus_regions.h"

#include "shell/zones.h"

std::vector<kv::viewer::FocusRegion> FocusRegions() {
    std::vector<kv::viewer::FocusRegion> regions;
    for (const tagZone& z : zones) {
        // A zone's bounds are exclusive below, inclusive above; a Rect's the other way round.
        regions.push_back(
            {{z.nom_fr, z.nom_en}, kv::Rect{z.gauche + 1, z.haut + 1, z.droite + 1, z.bas + 1}});
    }
    return regions;
}

kv::Point FocusRegionMiddle(const kv::Rect& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}
