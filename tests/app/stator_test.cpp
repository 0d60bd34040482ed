// The real motor's stator: its power balance over a supply period for every setting, the preset
// against its nameplate, the ideal motor as its limit without stator resistance or leakage, and
// what each coupling draws on each mains.
#include "model/bilan.h"
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "model/machine.h"
#include "model/plaque.h"
#include "model/unites.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct Reglage {
    bool inverse;
    int ouverte; // the line open once the motor runs, 0 for none
    double frequence;
    double tension;
    double resistance;
    int loi;
    int paires;
    double frein;
    bool triangle;
    double reseau;
    double r_stator;
    double l_fuite;
    double l_magnetisante;
};

std::string Nom(const Reglage& r) {
    return std::string(r.inverse ? "reversed" : "direct") + " open=" + std::to_string(r.ouverte) +
           " f=" + std::to_string(r.frequence) + " U=" + std::to_string(r.tension) +
           " R=" + std::to_string(r.resistance) + " law=" + std::to_string(r.loi) +
           " poles=" + std::to_string(r.paires) + " brake=" + std::to_string(r.frein) +
           (r.triangle ? " delta" : " star") + " mains=" + std::to_string(r.reseau) +
           " Rs=" + std::to_string(r.r_stator) + " Lls=" + std::to_string(r.l_fuite) +
           " Lm=" + std::to_string(r.l_magnetisante);
}

tagLabo Reel() {
    tagLabo labo;
    labo.moteur_reel = true;
    labo.paires_poles = PLAQUE_PAIRES_POLES;
    return labo;
}

// Runs the real motor from rest as the window's Tick does, supply on from the first Tick, the
// balance taken after each Tick; the line opens once it has run up.
tagBilanPeriode Regime(const Reglage& r, int ticks) {
    tagLabo labo = Reel();
    labo.ordre_inverse = r.inverse;
    labo.frequence = r.frequence;
    labo.tension = r.tension;
    labo.resistance = r.resistance;
    labo.loi_charge = r.loi;
    labo.paires_poles = r.paires;
    labo.triangle = r.triangle;
    labo.reseau = r.reseau;
    labo.r_stator = r.r_stator;
    labo.l_fuite = r.l_fuite;
    labo.l_magnetisante = r.l_magnetisante;
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0;
    for (int n = 0; n < ticks; n++) {
        if (n == ticks / 2) labo.ligne_ouverte = r.ouverte;
        const double pas = labo.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, r.frein, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
    }
    return bilan;
}

TEST(Stator, PowerBalanceClosesOverAPeriodForEverySetting) {
    // P_a = P_js + P_fer + P_tr and P_tr = P_jr + P_m, averaged over a supply period at steady
    // state: frequencies whose period is a whole number of Ticks and not, each load law, a line
    // open, a generator and plugging, both couplings on both mains, the stator's values changed.
    const Reglage reglages[] = {
        {false, 0, 100, 100, 1, CHARGE_CONSTANTE, 2, 2, false, 400, 1, 1, 1},
        {false, 1, 100, 100, 1, CHARGE_CONSTANTE, 2, 1, false, 400, 1, 1, 1},
        {true, 2, 120, 100, 1, CHARGE_LINEAIRE, 1, 1, false, 400, 1, 1, 1},
        {false, 3, 100, 100, 1, CHARGE_CONSTANTE, 2, 1, true, 230, 1, 1, 1},
        {true, 0, 70, 70, 0.5, CHARGE_QUADRATIQUE, 3, 3, false, 400, 2, 0.5, 2},
        {false, 0, 33.3, 40, 2, CHARGE_LINEAIRE, 2, 1, false, 400, 1, 1, 1},
        {false, 0, 150, 150, 1, CHARGE_QUADRATIQUE, 4, 1, false, 400, 0.25, 2, 0.5},
        {false, 0, 100, 100, 1, CHARGE_CONSTANTE, 2, 2, true, 400, 1, 1, 1},
        {false, 0, 100, 100, 1, CHARGE_CONSTANTE, 2, 0.5, false, 230, 1, 1, 1},
        {false, 0, 100, 100, 1, CHARGE_CONSTANTE, 2, 2, false, 400, 0, 0, 1},
        // A driving load: past synchronism, a generator; past standstill against a rotor of high
        // resistance, plugging.
        {false, 0, 100, 100, 1, CHARGE_ENTRAINANTE, 2, -2, false, 400, 1, 1, 1},
        {true, 0, 50, 50, 1, CHARGE_ENTRAINANTE, 1, 2, true, 230, 1, 1, 1},
        {false, 0, 100, 100, 8, CHARGE_ENTRAINANTE, 2, 6.2, false, 400, 1, 1, 1},
    };
    double pire_stator = 0;
    double pire_rotor = 0;
    for (const Reglage& r : reglages) {
        const tagBilanPeriode bilan = Regime(r, 60000);
        ASSERT_TRUE(bilan.Complet()) << Nom(r);
        const tagPuissances m = bilan.Moyenne();
        tagLabo labo;
        labo.ordre_inverse = r.inverse;
        labo.frequence = r.frequence;
        const double g = Glissement(m.omega, labo.OmegaSynchrone());
        if (r.ouverte == 0 && g < 0) {
            EXPECT_LT(m.absorbee, 0) << Nom(r) << ": a generator gives the supply power";
            EXPECT_LT(m.transmise, 0) << Nom(r);
            EXPECT_LT(m.mecanique, 0) << Nom(r) << ": taken from the load";
        } else if (r.ouverte == 0 && g > 1) {
            EXPECT_GT(m.absorbee, 0) << Nom(r) << ": plugging takes power from the supply";
            EXPECT_GT(m.transmise, 0) << Nom(r);
            EXPECT_LT(m.mecanique, 0) << Nom(r) << ": and from the load";
        } else {
            EXPECT_GT(m.transmise, 0) << Nom(r) << ": the stator gives the rotor power";
            EXPECT_GT(m.mecanique, 0) << Nom(r);
        }
        EXPECT_GT(m.joule, 0) << Nom(r);
        EXPECT_GE(m.joule_stator, 0) << Nom(r);
        EXPECT_GT(m.fer, 0) << Nom(r);
        const double stator = std::fabs(m.absorbee - m.joule_stator - m.fer - m.transmise);
        const double rotor = std::fabs(m.transmise - m.joule - m.mecanique);
        EXPECT_LT(stator, 1e-6 * std::fabs(m.absorbee)) << Nom(r);
        EXPECT_LT(rotor, 1e-6 * std::fabs(m.transmise)) << Nom(r);
        pire_stator = std::fmax(pire_stator, stator / std::fabs(m.absorbee));
        pire_rotor = std::fmax(pire_rotor, rotor / std::fabs(m.transmise));
    }
    RecordProperty("worst_relative_residual_stator", std::to_string(pire_stator));
    RecordProperty("worst_relative_residual_rotor", std::to_string(pire_rotor));
}

TEST(Stator, ThePresetGivesItsNameplateAtRatedTorqueAndAtStart) {
    // Loaded by the nameplate's rated torque, run to its steady state.
    tagLabo labo = Reel();
    const double frein = CoupleDuModele(PlaqueCoupleNominal(), PLAQUE_PAIRES_POLES);
    tagMas mas(0.0, 0.0);
    tagBilanPeriode bilan;
    double phase = 0;
    const double pas = labo.PasPhase(PAS_PHASE_NOMINAL);
    for (int n = 0; n < 60000; n++) {
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, labo, AMPLITUDE_ALIMENTATION, phase, pas, frein, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, labo, AMPLITUDE_ALIMENTATION, phase), labo);
    }
    const tagPuissances m = bilan.Moyenne();
    const double glissement = Glissement(m.omega, labo.OmegaSynchrone());
    const double courant = CourantDeLigne(m.carres_ligne);
    const double cos_phi = FacteurDePuissance(labo, m.absorbee, m.carres_ligne);
    const double rendement = (m.mecanique - m.frottements) / m.absorbee;
    const double utile = (m.mecanique - m.frottements) * WATTS_PAR_UNITE;
    // At standstill, held there.
    const tagPointPermanent arret = PointAVitesseTenue(labo, 1.0);
    const double courant_demarrage = arret.courant_ligne * AMPERES_PAR_UNITE;
    const double couple_demarrage = NewtonMetres(std::fabs(arret.couple), PLAQUE_PAIRES_POLES);

    const struct {
        const char* nom;
        double mesure;
        double plaque;
    } figures[] = {
        {"rated_slip", glissement, PlaqueGlissementNominal()},
        {"rated_current_a", courant, PlaqueCourantNominal()},
        {"rated_cos_phi", cos_phi, PLAQUE_COS_PHI},
        {"rated_efficiency", rendement, PLAQUE_RENDEMENT},
        {"rated_useful_power_w", utile, PLAQUE_PUISSANCE},
        {"starting_current_ratio", courant_demarrage / courant, PLAQUE_COURANT_DEMARRAGE},
        {"starting_torque_ratio", couple_demarrage / PlaqueCoupleNominal(),
         PLAQUE_COUPLE_DEMARRAGE},
    };
    for (const auto& f : figures) {
        EXPECT_NEAR(f.mesure / f.plaque, 1, 0.05)
            << f.nom << ": " << f.mesure << " for " << f.plaque;
        RecordProperty(f.nom, std::to_string(f.mesure));
    }
}

TEST(Stator, WithoutStatorResistanceOrLeakageTheRotorIsTheIdealMotors) {
    // The coils' flux is then the supply's, as the ideal motor has it: the turns' currents are
    // the ideal motor's to a millionth at every speed, and the torque, taken at the Tick's middle
    // rather than at its end, within 0.2 %.
    tagLabo reel = Reel();
    reel.r_stator = 0;
    reel.l_fuite = 0;
    tagLabo ideal;
    ideal.resistance = MachinePreset().r_rotor / RESISTANCE_SPIRE;
    for (const double g : {-0.05, 0.01, 0.05, 0.2, 0.5, 1.0}) {
        const tagPointPermanent a = PointAVitesseTenue(reel, g);
        const tagPointPermanent b = PointAVitesseTenue(ideal, g);
        EXPECT_NEAR(a.courant, b.courant, 1e-6 * b.courant) << "slip " << g;
        EXPECT_NEAR(a.couple_em, b.couple_em, 2e-3 * std::fabs(b.couple_em)) << "slip " << g;
    }
}

TEST(Stator, EachCouplingOnEachMainsFeedsItsCoilsAndDrawsItsLineCurrent) {
    // Against star on 400 V: the coils' voltage k, the torque k^2, the line current k and, in
    // delta, sqrt(3) times the coil's. The model is linear at a held speed: exactly so.
    const double r3 = std::sqrt(3.0);
    const struct {
        bool triangle;
        double reseau;
        double k; // the coils' voltage
    } couplages[] = {
        {true, 230, 230 * r3 / 400}, // right: the same coil voltage within 0.4 %
        {false, 230, 230.0 / 400},   // wrong: a third of the torque
        {true, 400, r3},             // wrong: three times the torque and the current
    };
    for (const double g : {PlaqueGlissementNominal(), 1.0}) {
        const tagPointPermanent etoile = PointAVitesseTenue(Reel(), g);
        for (const auto& c : couplages) {
            tagLabo labo = Reel();
            labo.triangle = c.triangle;
            labo.reseau = c.reseau;
            const tagPointPermanent p = PointAVitesseTenue(labo, g);
            const double ligne = c.k * (c.triangle ? r3 : 1);
            EXPECT_NEAR(p.couple_em / etoile.couple_em, c.k * c.k, 1e-9) << c.reseau;
            EXPECT_NEAR(p.courant_ligne / etoile.courant_ligne, ligne, 1e-9) << c.reseau;
        }
    }
}

} // namespace
