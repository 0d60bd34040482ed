#include "model/caracteristique.h"

#include "base/geometrie.h"
#include "model/constantes.h"
#include "model/machine.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The rotor's circuit forgets its past by a factor 1 / (L/h + R) a Tick (L = h): what settling
// to `fraction` of a disturbance takes. Counted rather than taken from logarithms, whose tables
// would weigh on the page.
int TicksPourOublier(const tagLabo& labo, double fraction) {
    double facteur = 1 / (1 + RESISTANCE_SPIRE * labo.resistance);
    if (labo.moteur_reel) {
        // The real motor's slowest circuit: the rotor's or the stator's, each through its leakage
        // and the other's, as the coils' supply and the short-circuited turns leave them.
        const tagMachine m = MachineDuLabo(labo);
        const double lm = 1.5 * m.l_magnetisante;
        const double l_rotor = m.l_rotor + lm * m.l_fuite / (lm + m.l_fuite);
        const double l_stator = m.l_fuite + lm * m.l_rotor / (lm + m.l_rotor);
        const double rotor = 1 / (1 + PAS_TEMPS * m.r_rotor / l_rotor);
        const double stator = 1 / (1 + PAS_TEMPS * m.r_stator / l_stator);
        facteur = rotor > stator ? rotor : stator;
        // Without a stator resistance, nothing of the stator's flux is left to forget: it is the
        // supply's.
        if (m.r_stator == 0) facteur = rotor;
    }
    int ticks = 0;
    double reste = 1;
    while (reste > fraction) {
        reste *= facteur;
        ++ticks;
    }
    return ticks;
}

// The useful torque, or the electromagnetic one, in the motor's own direction, whichever way the
// field turns.
double Valeur(const tagPointPermanent& p, bool electromagnetique, double omega_synchrone) {
    const double couple = electromagnetique ? p.couple_em : p.couple;
    return omega_synchrone < 0 ? couple : -couple;
}

// Each point's slope from its neighbours on the grid, whose steps are not even: the parabola
// through three points; at the ends, the line through two.
void Pentes(tagCaracteristique& courbe) {
    std::vector<tagPointPermanent>& p = courbe.points;
    const double sens = courbe.omega_synchrone < 0 ? 1 : -1;
    const auto couple = [&](std::size_t k) { return sens * p[k].couple; };
    const std::size_t n = p.size();
    if (n < 2) return;
    for (std::size_t k = 0; k < n; ++k) {
        double derivee = 0; // against the slip
        if (k == 0 || k + 1 == n) {
            const std::size_t a = k == 0 ? 0 : n - 2;
            derivee = (couple(a + 1) - couple(a)) / (p[a + 1].glissement - p[a].glissement);
        } else {
            const double h0 = p[k].glissement - p[k - 1].glissement;
            const double h1 = p[k + 1].glissement - p[k].glissement;
            derivee = -h1 / (h0 * (h0 + h1)) * couple(k - 1) + (h1 - h0) / (h0 * h1) * couple(k) +
                      h0 / (h1 * (h0 + h1)) * couple(k + 1);
        }
        p[k].pente = -derivee; // the speed rises as the slip falls
    }
}

} // namespace

tagRotorTenu::tagRotorTenu(const tagLabo& reglages)
    : labo(reglages), pas_phase(reglages.PasPhase(PAS_PHASE_NOMINAL)),
      omega_synchrone(reglages.OmegaSynchrone()), mas(0.0, 0.0), phase(0) {
    if (reglages.moteur_reel) mas.Magnetise(reglages, AMPLITUDE_ALIMENTATION, phase);
    const double periode = 2 * PI / std::fabs(pas_phase);
    const double periodes = std::ceil(300 / periode);
    ticks_moyennes = std::max(1, static_cast<int>(std::lround(periodes * periode)));
}

void tagRotorTenu::Pas(double omega, double* forces, double* couple) {
    double f[3];
    phase = phase + pas_phase;
    mas.omega = omega;
    PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas_phase, 0.0, f, couple);
    *forces = f[0] + f[1] + f[2];
}

tagPointPermanent tagRotorTenu::Mesure(double glissement, int attente) {
    const double omega = (1 - glissement) * omega_synchrone;
    double forces;
    double couple;
    for (int n = 0; n < attente; ++n)
        Pas(omega, &forces, &couple);
    double somme_couples = 0;
    double somme_forces = 0;
    double carres = 0;
    double carres_ligne = 0;
    double absorbee = 0;
    for (int n = 0; n < ticks_moyennes; ++n) {
        Pas(omega, &forces, &couple);
        somme_couples += couple;
        somme_forces += forces;
        carres += mas.i1 * mas.i1 + mas.i2 * mas.i2 + mas.i3 * mas.i3;
        const double* l = mas.stator.ligne;
        carres_ligne += l[0] * l[0] + l[1] * l[1] + l[2] * l[2];
        absorbee += mas.stator.absorbee;
    }
    tagPointPermanent p;
    p.glissement = glissement;
    p.omega = omega;
    p.couple = somme_couples / ticks_moyennes;
    p.couple_em = somme_forces / ticks_moyennes;
    p.courant = std::sqrt(2.0 / 3.0 * carres / ticks_moyennes);
    p.courant_ligne = std::sqrt(carres_ligne / 3 / ticks_moyennes);
    p.absorbee = absorbee / ticks_moyennes;
    return p;
}

bool MemeCaracteristique(const tagLabo& a, const tagLabo& b) {
    return a.ordre_inverse == b.ordre_inverse && a.ligne_ouverte == b.ligne_ouverte &&
           a.frequence == b.frequence && a.tension == b.tension && a.resistance == b.resistance &&
           a.quatre_quadrants == b.quatre_quadrants && a.moteur_reel == b.moteur_reel &&
           a.triangle == b.triangle && a.reseau == b.reseau && a.r_stator == b.r_stator &&
           a.l_fuite == b.l_fuite && a.l_magnetisante == b.l_magnetisante;
}

double MargeDeStabilite(const tagPointPermanent& p, double omega_synchrone, int loi) {
    const double vitesse = 1 - p.glissement; // in synchronous speeds
    const double couple = omega_synchrone < 0 ? p.couple : -p.couple;
    const double puissance = loi == CHARGE_LINEAIRE ? 1 : loi == CHARGE_QUADRATIQUE ? 2 : 0;
    if (puissance == 0) return -p.pente;
    // At standstill the load's slope is unbounded, of the torque's sign.
    if (vitesse == 0) return couple;
    return puissance * couple / vitesse - p.pente;
}

void ClasseBranches(tagCaracteristique& courbe, int loi) {
    for (tagPointPermanent& p : courbe.points)
        p.stable = MargeDeStabilite(p, courbe.omega_synchrone, loi) > 0;
}

tagPointPermanent PointAVitesseTenue(const tagLabo& labo, double glissement) {
    tagRotorTenu banc(labo);
    return banc.Mesure(glissement, TicksPourOublier(labo, 1e-7));
}

// Golden-section search for the largest value between two slips, each point measured from the
// rotor as the grid left it near there: two points, then one a round.
struct tagMesureCaracteristique::Recherche {
    static constexpr double RAPPORT = 0.6180339887498949;
    static constexpr int TOURS = 16;
    tagRotorTenu pres;
    bool electromagnetique = false;
    double a = 0;
    double b = 0;
    tagPointPermanent c;
    tagPointPermanent d;
    tagPointPermanent meilleur; // the grid's
    int mesures = 0;
};

tagMesureCaracteristique::tagMesureCaracteristique(const tagLabo& reglages) : labo(reglages) {
    constexpr int PAS_DE_LA_GRILLE = 100;
    if (reglages.quatre_quadrants) {
        // As steep above synchronism as below it; gentle past standstill.
        for (int k = PAS_DE_LA_GRILLE; k > 0; --k) {
            const double t = static_cast<double>(k) / PAS_DE_LA_GRILLE;
            glissements.push_back(-t * t);
        }
    } else {
        for (int k = -5; k < 0; ++k)
            glissements.push_back(0.01 * k);
    }
    for (int k = 0; k <= PAS_DE_LA_GRILLE; ++k) {
        const double t = static_cast<double>(k) / PAS_DE_LA_GRILLE;
        glissements.push_back(t * t);
    }
    if (reglages.quatre_quadrants) {
        for (int k = 1; k <= PAS_DE_LA_GRILLE / 2; ++k)
            glissements.push_back(1 + 2.0 * k / PAS_DE_LA_GRILLE);
    }
    banc = std::make_unique<tagRotorTenu>(reglages);
    courbe.omega_synchrone = banc->omega_synchrone;
    attente = TicksPourOublier(reglages, 1e-4);
}

tagMesureCaracteristique::~tagMesureCaracteristique() = default;

bool tagMesureCaracteristique::Pas() {
    const std::size_t k = courbe.points.size();
    if (k < glissements.size()) {
        // The first point starts from rest; each next one from the last, a small change.
        courbe.points.push_back(
            banc->Mesure(glissements[k], k == 0 ? TicksPourOublier(labo, 1e-7) : attente));
        etats.push_back(*banc);
        if (courbe.points.size() == glissements.size()) Commence(false);
        return true;
    }
    if (!recherche) return false;
    Recherche& r = *recherche;
    const auto mesure = [&](double glissement) {
        tagRotorTenu rotor = r.pres;
        return rotor.Mesure(glissement, attente);
    };
    const auto valeur = [&](const tagPointPermanent& p) {
        return Valeur(p, r.electromagnetique, courbe.omega_synchrone);
    };
    if (r.mesures == 0) {
        r.c = mesure(r.b - Recherche::RAPPORT * (r.b - r.a));
    } else if (r.mesures == 1) {
        r.d = mesure(r.a + Recherche::RAPPORT * (r.b - r.a));
    } else if (valeur(r.c) > valeur(r.d)) {
        r.b = r.d.glissement;
        r.d = r.c;
        r.c = mesure(r.b - Recherche::RAPPORT * (r.b - r.a));
    } else {
        r.a = r.c.glissement;
        r.c = r.d;
        r.d = mesure(r.a + Recherche::RAPPORT * (r.b - r.a));
    }
    if (++r.mesures < 2 + Recherche::TOURS) return true;
    const tagPointPermanent pic = valeur(r.c) > valeur(r.d) ? r.c : r.d;
    Termine(valeur(pic) > valeur(r.meilleur) ? pic : r.meilleur);
    return true;
}

void tagMesureCaracteristique::Commence(bool electromagnetique) {
    const auto valeur = [&](const tagPointPermanent& p) {
        return Valeur(p, electromagnetique, courbe.omega_synchrone);
    };
    const auto meilleur =
        std::max_element(courbe.points.begin(), courbe.points.end(),
                         [&](const tagPointPermanent& a, const tagPointPermanent& b) {
                             return valeur(a) < valeur(b);
                         });
    const auto at = static_cast<std::size_t>(meilleur - courbe.points.begin());
    recherche = std::make_unique<Recherche>(
        Recherche{etats[at], electromagnetique, 0, 0, {}, {}, *meilleur, 0});
    // At the grid's ends there is nothing to search between, and no pull-out: the torque still
    // rises beyond.
    const bool au_bout = at == 0 || at + 1 == courbe.points.size();
    if (!electromagnetique) courbe.decrochage_trouve = !au_bout;
    if (au_bout) {
        Termine(*meilleur);
        return;
    }
    recherche->a = courbe.points[at - 1].glissement;
    recherche->b = courbe.points[at + 1].glissement;
}

void tagMesureCaracteristique::Termine(const tagPointPermanent& pic) {
    const bool electromagnetique = recherche->electromagnetique;
    recherche.reset();
    if (!electromagnetique) {
        courbe.decrochage = pic;
        Commence(true);
        return;
    }
    courbe.decrochage_em = pic;
    Pentes(courbe);
    ClasseBranches(courbe, labo.loi_charge);
    courbe.decrochage.stable = true;
    courbe.decrochage_em.stable = courbe.decrochage_em.glissement <= courbe.decrochage.glissement;
}

tagCaracteristique MesureCaracteristique(const tagLabo& labo) {
    tagMesureCaracteristique mesure(labo);
    while (mesure.Pas()) {
    }
    return mesure.courbe;
}
