#include "model/unites.h"

#include <cmath>

double NewtonMetres(double couple, int paires_poles) {
    return couple * WATTS_PAR_UNITE * paires_poles;
}

double CoupleDuModele(double newton_metres, int paires_poles) {
    return newton_metres / (WATTS_PAR_UNITE * paires_poles);
}

double TensionDeLigne(const tagLabo& labo) {
    return labo.reseau * labo.tension / 100;
}

double CourantDeLigne(double carres_ligne) {
    return std::sqrt(carres_ligne / 3) * AMPERES_PAR_UNITE;
}

double FacteurDePuissance(const tagLabo& labo, double absorbee, double carres_ligne) {
    const double apparente = std::sqrt(3.0) * TensionDeLigne(labo) * CourantDeLigne(carres_ligne);
    return apparente > 0 ? absorbee * WATTS_PAR_UNITE / apparente : 0;
}
