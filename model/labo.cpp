#include "model/labo.h"

#include "base/geometrie.h"
#include "model/constantes.h"

#include <cmath>

namespace {

constexpr double SIN_2PI_SUR_3 = 0.8660254037844386; // sqrt(3) / 2

// Where a phase's coil sits in the drawing's order (left, upper right, lower right).
int IndiceBobine(int phase) {
    return phase == PHASE_BOBINE_GAUCHE ? 0 : phase == PHASE_BOBINE_BAS_DROITE ? 2 : 1;
}

} // namespace

tagLabo::tagLabo() {
    ordre_inverse = false;
    ligne_ouverte = 0;
    frequence = 100;
    tension = 100;
    resistance = 1;
    loi_charge = CHARGE_CONSTANTE;
    paires_poles = 1;
    quatre_quadrants = false;
    moteur_reel = false;
    triangle = false;
    reseau = 400;
    r_stator = 1;
    l_fuite = 1;
    l_magnetisante = 1;
    courbe_courant = false;
    demarrage = DEMARRAGE_DIRECT;
    commutation_vitesse = 90;
    commutation_temps = 0;
    tension_initiale = 40;
    duree_rampe = 1;
    surtension = 0;
    resistance_depart = 4;
    crans = 3;
}

bool tagLabo::ParDefaut() const {
    return !ordre_inverse && ligne_ouverte == 0 && frequence == 100 && tension == 100 &&
           resistance == 1 && loi_charge == CHARGE_CONSTANTE && !moteur_reel && !triangle &&
           reseau == 400 && demarrage == DEMARRAGE_DIRECT;
}

double tagLabo::PasPhase(double phase_step) const {
    return phase_step * (frequence / 100);
}

double tagLabo::FrequenceHz() const {
    return FREQUENCE_NOMINALE * frequence / 100;
}

double tagLabo::PeriodeEnTicks() const {
    return TICKS_PAR_PERIODE_NOMINALE * 100 / frequence;
}

double tagLabo::OmegaSynchrone() const {
    const double pas = PasPhase(PAS_PHASE_NOMINAL);
    return ordre_inverse ? -pas : pas;
}

double tagLabo::VitesseSynchroneTrMin() const {
    return 60 * FrequenceHz() / paires_poles;
}

double tagLabo::Flux(double amplitude) const {
    return amplitude * (tension / frequence);
}

double tagLabo::FacteurReseau() const {
    constexpr double RACINE_DE_3 = 1.7320508075688772;
    return triangle ? RACINE_DE_3 * (reseau / 400) : reseau / 400;
}

double tagLabo::TensionBobine() const {
    return FacteurReseau() * (tension / 100);
}

void tagLabo::Courants(double P, double courants[3]) const {
    // Each coil's phase current peaks when the phase points along the coil's axis.
    double v[3] = {std::cos(P), std::cos(P - DEUX_PI_SUR_3), std::cos(P + DEUX_PI_SUR_3)};
    if (ordre_inverse) {
        const double echange = v[1];
        v[1] = v[2];
        v[2] = echange;
    }
    if (ligne_ouverte != 0) {
        // One current runs in through one coil and out through the other: each takes half the
        // line-to-line voltage.
        const int m = IndiceBobine(ligne_ouverte);
        const int a = (m + 1) % 3;
        const int b = (m + 2) % 3;
        const double serie = (v[a] - v[b]) / 2;
        v[m] = 0;
        v[a] = serie;
        v[b] = -serie;
    }
    for (int j = 0; j < 3; j++)
        courants[j] = v[j];
}

int tagLabo::BobineOuverte() const {
    return ligne_ouverte == 0 ? -1 : IndiceBobine(ligne_ouverte);
}

void tagLabo::Champ(const double courants[3], double* bx, double* by) {
    // Axes at 0, +2pi/3 and -2pi/3.
    *bx = (2.0 / 3.0) * (courants[0] - 0.5 * (courants[1] + courants[2]));
    *by = (2.0 / 3.0) * SIN_2PI_SUR_3 * (courants[1] - courants[2]);
}

double tagLabo::CoupleResistant(double couple, double omega, double omega_synchrone) const {
    const double rapport = std::fabs(omega / omega_synchrone);
    if (loi_charge == CHARGE_LINEAIRE) return couple * rapport;
    if (loi_charge == CHARGE_QUADRATIQUE) return couple * rapport * rapport;
    return couple;
}

int tagLabo::SensDuTrace(double omega) const {
    if (quatre_quadrants) return ordre_inverse ? -1 : 1;
    constexpr double ARRET = 0.001; // radians per Tick: 1.6 % of the nominal synchronous speed
    if (omega < -ARRET) return 1;
    if (omega > ARRET) return -1;
    return ordre_inverse ? -1 : 1;
}

double tagLabo::EchelleDessin(double echelle) const {
    const double relatif = tension / frequence;
    return echelle * (relatif < 1 ? relatif : 1);
}

double Glissement(double omega, double omega_synchrone) {
    return 1.0 - omega / omega_synchrone;
}
