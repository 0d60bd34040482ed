#include "model/demarrage.h"

#include "model/constantes.h"

#include <algorithm>
#include <cmath>

namespace {

// A duration in seconds of the motor's time, in Ticks.
double EnTicks(double secondes) {
    return secondes / PAS_TEMPS;
}

// How far through a ramp of `duree` seconds the start is after `ticks`: 0 to 1.
double Avancement(long ticks, double duree) {
    if (duree <= 0) return 1;
    return std::min(1.0, static_cast<double>(ticks) / EnTicks(duree));
}

} // namespace

tagDemarrage::tagDemarrage() {
    mode = DEMARRAGE_DIRECT;
    ticks = 0;
    etape = 1;
    facteur_tension = 1;
    facteur_frequence = 1;
    facteur_resistance = 1;
    etoile = false;
}

void tagDemarrage::Avance(const tagLabo& labo, double amplitude, double omega) {
    facteur_tension = 1;
    facteur_frequence = 1;
    facteur_resistance = 1;
    etoile = false;
    if (labo.demarrage != mode) {
        mode = labo.demarrage;
        etape = 1;
    }
    if (labo.demarrage == DEMARRAGE_DIRECT) {
        ticks = amplitude == 0 ? 0 : ticks + 1;
        etape = 0;
        return;
    }
    if (amplitude == 0) {
        // Off: the next switching on starts again from the first step.
        ticks = 0;
        etape = 1;
    } else {
        ticks++;
    }
    // The speed in the field's direction, in synchronous speeds of the set frequency.
    const double vitesse = omega / labo.OmegaSynchrone();
    const double seuil = labo.commutation_vitesse / 100;

    switch (labo.demarrage) {
    case DEMARRAGE_ETOILE_TRIANGLE: {
        // Once in delta it stays there: the contactors do not go back.
        const bool temps_ecoule = labo.commutation_temps > 0 &&
                                  static_cast<double>(ticks) >= EnTicks(labo.commutation_temps);
        if (etape == 1 && ticks > 0 && (vitesse >= seuil || temps_ecoule)) etape = 0;
        if (etape == 1) {
            // Coils running in delta go into star; coils set in star take a star's third less
            // of their voltage, as if they ran in delta at it.
            etoile = true;
            if (!labo.triangle) facteur_tension = TENSION_ETOILE;
        }
        break;
    }
    case DEMARRAGE_PROGRESSIF: {
        const double a = Avancement(ticks, labo.duree_rampe);
        const double depart = labo.tension_initiale / 100;
        etape = a < 1 ? 1 : 0;
        facteur_tension = depart + (1 - depart) * a;
        break;
    }
    case DEMARRAGE_VF: {
        // The voltage follows the frequency, plus a boost that fades as the frequency rises.
        const double a = Avancement(ticks, labo.duree_rampe);
        const double f = std::max(a, FREQUENCE_MINIMALE_VF);
        const double boost = labo.surtension / 100;
        etape = a < 1 ? 1 : 0;
        facteur_frequence = f;
        const double magnetise = Avancement(ticks, MAGNETISATION_VF);
        facteur_tension = magnetise * std::min(1.0, f + boost * (1 - f));
        break;
    }
    case DEMARRAGE_ROTORIQUE: {
        // Each step cuts out an equal share of the added resistance at an equal share of the
        // switching speed; the last leaves the rotor short-circuited.
        const int crans = std::max(1, labo.crans);
        while (etape != 0 && ticks > 0 && vitesse >= seuil * etape / crans)
            etape = etape < crans ? etape + 1 : 0;
        if (etape != 0) {
            const double ajout = labo.resistance_depart - 1;
            facteur_resistance = 1 + ajout * (crans - (etape - 1)) / crans;
        }
        break;
    }
    default:
        etape = 0;
        break;
    }
}

tagLabo tagDemarrage::Applique(const tagLabo& labo) const {
    if (labo.demarrage == DEMARRAGE_DIRECT) return labo;
    tagLabo applique = labo;
    applique.tension = labo.tension * facteur_tension;
    applique.frequence = labo.frequence * facteur_frequence;
    applique.resistance = labo.resistance * facteur_resistance;
    if (etoile) applique.triangle = false;
    return applique;
}
