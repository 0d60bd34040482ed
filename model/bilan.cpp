#include "model/bilan.h"

#include "model/constantes.h"

#include <cmath>

double PuissanceDuCouple(double couple, double omega) {
    return couple * -omega / PAS_TEMPS;
}

double PertesJouleRotor(const tagLabo& labo, const double courants[3]) {
    return RESISTANCE_SPIRE * labo.resistance *
           (courants[0] * courants[0] + courants[1] * courants[1] + courants[2] * courants[2]);
}

double PuissanceFrottements(double omega) {
    return FROTTEMENT * omega * omega / PAS_TEMPS;
}
