#include "model/bilan.h"

#include "base/geometrie.h"
#include "model/constantes.h"
#include "model/machine.h"

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

tagPuissances PuissancesDuTick(const tagMas& avant, const tagMas& apres, const tagLabo& labo,
                               double amplitude, double phase) {
    if (labo.moteur_reel) {
        // The stator's step made its own balance, the rotor's share as the ideal motor's.
        const tagStator& s = apres.stator;
        const double frottement = MachineDuLabo(labo).frottement;
        tagPuissances p{};
        p.transmise = s.transmise;
        p.joule = s.joule_rotor;
        p.mecanique = s.mecanique;
        p.frottements = frottement * avant.omega * avant.omega / PAS_TEMPS;
        p.couple = s.couple + avant.omega * frottement;
        p.omega = avant.omega;
        p.carres = apres.i1 * apres.i1 + apres.i2 * apres.i2 + apres.i3 * apres.i3;
        p.absorbee = s.absorbee;
        p.joule_stator = s.joule;
        p.fer = s.fer;
        p.carres_ligne =
            s.ligne[0] * s.ligne[0] + s.ligne[1] * s.ligne[1] + s.ligne[2] * s.ligne[2];
        return p;
    }
    // The step, for each turn: (L/h)(i - i_avant) + R i = -dphi/h. Times i, the power the flux's
    // change brings, -i dphi/h, is R i^2 + (L/2h)(i^2 - i_avant^2) + (L/2h)(i - i_avant)^2: the
    // losses, the change of the magnetic energy L i^2 / 2, and what the step dissipates.
    // The rotor turns by its speed before the step, then the flux and the forces are taken at the
    // new angle; the flux's change splits there into what turning did, dphi/dtheta x dtheta,
    // whose power is the mechanical power the forces -i dphi/dtheta give, and what the field's
    // own change did at a fixed angle, whose power is P_tr.
    double derivees[3];
    DeriveesDuFlux(labo, amplitude, phase, apres.theta, derivees);
    const double rotation = avant.omega;
    const double flux_avant[3] = {avant.phi1, avant.phi2, avant.phi3};
    const double flux_apres[3] = {apres.phi1, apres.phi2, apres.phi3};
    const double i_avant[3] = {avant.i1, avant.i2, avant.i3};
    const double i[3] = {apres.i1, apres.i2, apres.i3};
    const double L_sur_h = INDUCTANCE / PAS_TEMPS;

    tagPuissances p{};
    double forces = 0;
    double dissipe = 0;
    for (int k = 0; k < 3; k++) {
        const double fem_a_angle_fixe =
            -((flux_apres[k] - flux_avant[k]) - derivees[k] * rotation) / PAS_TEMPS;
        p.transmise += fem_a_angle_fixe * i[k];
        forces += -i[k] * derivees[k];
        const double saut = i[k] - i_avant[k];
        dissipe += L_sur_h / 2 * saut * saut;
        p.carres += i[k] * i[k];
    }
    p.joule = PertesJouleRotor(labo, i) + dissipe;
    p.mecanique = PuissanceDuCouple(forces, rotation);
    p.frottements = PuissanceFrottements(rotation);
    p.couple = forces + rotation * FROTTEMENT;
    p.omega = rotation;
    return p;
}

namespace {

// Solves a 3 x 3 system, its right-hand side in the fourth column, by elimination with the
// largest pivot; the solution is left in that column.
void Resout(double a[3][4]) {
    for (int col = 0; col < 3; col++) {
        int pivot = col;
        for (int r = col + 1; r < 3; r++)
            if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
        for (int c = 0; c < 4; c++) {
            const double echange = a[col][c];
            a[col][c] = a[pivot][c];
            a[pivot][c] = echange;
        }
        for (int r = 0; r < 3; r++) {
            if (r == col) continue;
            const double facteur = a[r][col] / a[col][col];
            for (int c = col; c < 4; c++)
                a[r][c] -= facteur * a[col][c];
        }
    }
    for (int r = 0; r < 3; r++)
        a[r][3] /= a[r][r];
}

// The window for a period of T Ticks: its whole Ticks and one more, the three outermost at each
// end weighted alike from both ends. Three conditions make the weights: the weights add up to T,
// and cos(2 w t) and cos(4 w t) about the window's middle (w = 2 pi / T) sum to 0 under them,
// as they integrate to 0 over a period; the sines do by symmetry.
void PoidsDeLaFenetre(double T, int* longueur, double poids[3]) {
    const int n = static_cast<int>(std::lround(T)) + 1;
    const int interieurs = n - 6;
    const double milieu = (n - 1) / 2.0;
    const double w = 2 * PI / T;
    double a[3][4];
    for (int j = 0; j < 3; j++)
        a[0][j] = 2;
    a[0][3] = T - interieurs;
    for (int e = 1; e < 3; e++) {
        const double k = 2 * e * w;
        double somme = 0;
        for (int t = 3; t < n - 3; t++)
            somme += std::cos(k * (t - milieu));
        for (int j = 0; j < 3; j++)
            a[e][j] = 2 * std::cos(k * (j - milieu));
        a[e][3] = -somme;
    }
    Resout(a);
    *longueur = n;
    for (int j = 0; j < 3; j++)
        poids[j] = a[j][3];
}

} // namespace

tagBilanPeriode::tagBilanPeriode() : ticks(CAPACITE) {
    suivant = 0;
    tenus = 0;
    periode = 0;
    longueur = 0;
    poids[0] = poids[1] = poids[2] = 1;
}

void tagBilanPeriode::Ajoute(const tagPuissances& tick, const tagLabo& labo) {
    const double T = labo.PeriodeEnTicks();
    if (T != periode) {
        periode = T;
        // The frequency's range keeps a period between 50 and 1000 Ticks; beyond what is kept,
        // the window is all of it, evenly.
        if (T >= 7 && T < CAPACITE - 1) {
            PoidsDeLaFenetre(T, &longueur, poids);
        } else {
            longueur = CAPACITE;
            poids[0] = poids[1] = poids[2] = 1;
        }
    }
    ticks[static_cast<std::size_t>(suivant)] = tick;
    suivant = (suivant + 1) % CAPACITE;
    if (tenus < CAPACITE) tenus++;
}

bool tagBilanPeriode::Complet() const {
    return longueur > 0 && tenus >= longueur;
}

tagPuissances tagBilanPeriode::Moyenne() const {
    tagPuissances m{};
    if (tenus == 0) return m;
    const bool complet = Complet();
    const int n = complet ? longueur : tenus;
    double total = 0;
    for (int t = 0; t < n; t++) {
        double poids_du_tick = 1;
        if (complet && t < 3) poids_du_tick = poids[t];
        if (complet && t >= n - 3) poids_du_tick = poids[n - 1 - t];
        const tagPuissances& p =
            ticks[static_cast<std::size_t>((suivant - n + t + CAPACITE) % CAPACITE)];
        m.transmise += poids_du_tick * p.transmise;
        m.joule += poids_du_tick * p.joule;
        m.mecanique += poids_du_tick * p.mecanique;
        m.frottements += poids_du_tick * p.frottements;
        m.couple += poids_du_tick * p.couple;
        m.omega += poids_du_tick * p.omega;
        m.carres += poids_du_tick * p.carres;
        m.absorbee += poids_du_tick * p.absorbee;
        m.joule_stator += poids_du_tick * p.joule_stator;
        m.fer += poids_du_tick * p.fer;
        m.carres_ligne += poids_du_tick * p.carres_ligne;
        total += poids_du_tick;
    }
    m.transmise /= total;
    m.joule /= total;
    m.mecanique /= total;
    m.frottements /= total;
    m.couple /= total;
    m.omega /= total;
    m.carres /= total;
    m.absorbee /= total;
    m.joule_stator /= total;
    m.fer /= total;
    m.carres_ligne /= total;
    return m;
}
