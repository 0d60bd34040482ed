#include "model/plaque.h"

#include "base/geometrie.h"

#include <cmath>

double PlaqueCourantNominal() {
    return PLAQUE_PUISSANCE /
           (std::sqrt(3.0) * PLAQUE_TENSION_ETOILE * PLAQUE_COS_PHI * PLAQUE_RENDEMENT);
}

double PlaqueCoupleNominal() {
    return PLAQUE_PUISSANCE / (2 * PI * PLAQUE_VITESSE / 60);
}

double PlaqueGlissementNominal() {
    const double synchrone = 60 * PLAQUE_FREQUENCE / PLAQUE_PAIRES_POLES;
    return (synchrone - PLAQUE_VITESSE) / synchrone;
}
