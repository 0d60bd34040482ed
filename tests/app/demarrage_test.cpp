// Each starting method run from rest under load, as the window's Tick runs it: what a teacher
// expects of each (the star stage's line current a third of direct on line's, the soft
// starter's and the drive's lower current, the rotor resistance's higher starting torque and
// lower current), each ending at direct on line's steady point, and the power balance closing
// Tick by Tick throughout.
#include "model/bilan.h"
#include "model/caracteristique.h"
#include "model/constantes.h"
#include "model/demarrage.h"
#include "model/plaque.h"
#include "model/unites.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// What a start shows. The line current is its RMS over the last 20 ms, one cycle of the 50 Hz
// mains, as a clamp meter shows it, in units of the rated current (direct on line's at T_N).
struct Mesures {
    double courant_crete = 0;  // the largest line current
    double courant_etoile = 0; // the largest line current while in star
    double couple_depart = 0;  // the mean useful torque over the first supply period
    double temps_95 = -1;      // s of the motor's time to 95 % of the synchronous speed
    double chaleur = 0;        // rotor heat till then: the integral of P_jr, model units x s
    double vitesse_finale = 0; // the mean speed over the last period, in synchronous speeds
    double couple_final = 0;   // the mean useful torque over the last period
    double courant_final = 0;  // the line current at the end
    double residu = 0;         // the worst |P_tr - P_jr - P_m - dE/dt| of a Tick, relative
    int etape_finale = -1;
};

// The square of the line current a turn's currents stand for: the stator's currents follow the
// rotor's, and a line carries sqrt(3) times a coil's current in delta, once a coil's in star.
double CarreCourantLigne(const tagMas& mas, bool etoile) {
    const double carre = 2.0 / 3.0 * (mas.i1 * mas.i1 + mas.i2 * mas.i2 + mas.i3 * mas.i3);
    return etoile ? carre / 3 : carre;
}

constexpr int kTicks = 40000;   // 8 s of the motor's time
constexpr int kCycle = 100;     // Ticks in a cycle of the 50 Hz mains
constexpr double kNominal = 10; // T_N: the plot's rated torque

// The motor started under `labo` from rest with this brake, as the window's Tick runs it.
Mesures Demarre(const tagLabo& labo, double frein, double courant_nominal) {
    tagMas mas(0.0, 0.0);
    tagDemarrage demarrage;
    tagBilanPeriode bilan;
    Mesures m;
    double phase = 0;
    double carres[kCycle] = {};
    double somme = 0;
    const double sync = labo.OmegaSynchrone();
    for (int n = 1; n <= kTicks; n++) {
        demarrage.Avance(labo, AMPLITUDE_ALIMENTATION, mas.omega);
        const tagLabo applique = demarrage.Applique(labo);
        const double pas = applique.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, applique, AMPLITUDE_ALIMENTATION, phase, pas, frein, forces, &couple);
        const tagPuissances p =
            PuissancesDuTick(avant, mas, applique, AMPLITUDE_ALIMENTATION, phase);
        bilan.Ajoute(p, applique);

        // The magnetic energy the turns hold, L i^2 / 2 each, per second.
        const double carres_avant = avant.i1 * avant.i1 + avant.i2 * avant.i2 + avant.i3 * avant.i3;
        const double stocke = INDUCTANCE / 2 * (p.carres - carres_avant) / PAS_TEMPS;
        const double ecart = p.transmise - p.joule - p.mecanique - stocke;
        m.residu = std::fmax(m.residu, std::fabs(ecart) / (std::fabs(p.transmise) + 1e-3));

        const double carre = CarreCourantLigne(mas, demarrage.etoile);
        somme += carre - carres[n % kCycle];
        carres[n % kCycle] = carre;
        const double courant = std::sqrt(std::fmax(somme, 0) / kCycle) / courant_nominal;
        m.courant_crete = std::fmax(m.courant_crete, courant);
        if (demarrage.etoile) m.courant_etoile = std::fmax(m.courant_etoile, courant);
        m.courant_final = courant;
        if (n <= kCycle) m.couple_depart += couple / kCycle;
        if (m.temps_95 < 0) {
            m.chaleur += p.joule * PAS_TEMPS;
            if (mas.omega / sync >= 0.95) m.temps_95 = n * PAS_TEMPS;
        }
    }
    const tagPuissances moyenne = bilan.Moyenne();
    m.vitesse_finale = moyenne.omega / sync;
    m.couple_final = moyenne.couple;
    m.etape_finale = demarrage.etape;
    return m;
}

struct Depart {
    const char* nom;
    int mode;
    int loi;      // the load's law
    double frein; // its torque (at synchronous speed for a fan)
    void (*regle)(tagLabo&);
    // What a teacher expects, against direct on line under the same load.
    void (*attendu)(const Mesures& m, const Mesures& direct);
};

TEST(Demarrage, EachMethodStartsAsATeacherExpectsAndEndsWhereDirectOnLineDoes) {
    // The rated current: the steady one at T_N, the rotor held at the slip that gives it (the
    // motor cannot start under T_N: its starting torque is 0.65 T_N).
    const double courant_nominal = [] {
        const tagLabo nominal;
        double bas = 0.01;
        double haut = 0.1;
        for (int k = 0; k < 30; k++) {
            const double g = (bas + haut) / 2;
            (PointAVitesseTenue(nominal, g).couple < kNominal ? bas : haut) = g;
        }
        return PointAVitesseTenue(nominal, bas).courant;
    }();
    std::printf("rated current %.4f\n", courant_nominal);
    const Depart departs[] = {
        // Half T_N is more than the star's third of the starting torque: it waits in star, at a
        // third of direct on line's line current, until the timer puts it in delta.
        {"star-delta at T_N/2", DEMARRAGE_ETOILE_TRIANGLE, CHARGE_CONSTANTE, kNominal / 2,
         [](tagLabo& l) { l.commutation_temps = 2; },
         [](const Mesures& m, const Mesures& d) {
             EXPECT_NEAR(m.courant_etoile / d.courant_crete, 1.0 / 3, 0.01);
             EXPECT_GT(m.temps_95, 2);
         }},
        // A light load starts in star: delta comes at 90 % of the speed, its current far below
        // direct on line's.
        {"star-delta at T_N/10", DEMARRAGE_ETOILE_TRIANGLE, CHARGE_CONSTANTE, kNominal / 10,
         [](tagLabo&) {},
         [](const Mesures& m, const Mesures& d) {
             EXPECT_NEAR(m.courant_etoile / d.courant_crete, 1.0 / 3, 0.01);
             EXPECT_LT(m.courant_crete, 0.6 * d.courant_crete);
         }},
        // A fan: the soft starter's current follows its voltage, lower all along the ramp.
        {"soft, fan at T_N", DEMARRAGE_PROGRESSIF, CHARGE_QUADRATIQUE, kNominal, [](tagLabo&) {},
         [](const Mesures& m, const Mesures& d) {
             EXPECT_LT(m.courant_crete, 0.8 * d.courant_crete);
             EXPECT_LT(m.couple_depart, 0.2 * d.couple_depart);
         }},
        {"vf at T_N/2", DEMARRAGE_VF, CHARGE_CONSTANTE, kNominal / 2, [](tagLabo&) {},
         [](const Mesures& m, const Mesures& d) {
             EXPECT_LT(m.courant_crete, 0.4 * d.courant_crete);
             EXPECT_LT(m.chaleur, 0.2 * d.chaleur);
         }},
        {"rotor at T_N/2", DEMARRAGE_ROTORIQUE, CHARGE_CONSTANTE, kNominal / 2, [](tagLabo&) {},
         [](const Mesures& m, const Mesures& d) {
             EXPECT_GT(m.couple_depart, 2 * d.couple_depart);
             EXPECT_LT(m.courant_crete, 0.85 * d.courant_crete);
             EXPECT_LT(m.temps_95, d.temps_95);
         }},
    };
    for (const Depart& d : departs) {
        tagLabo direct;
        direct.loi_charge = d.loi;
        const Mesures dol = Demarre(direct, d.frein, courant_nominal);
        tagLabo labo = direct;
        labo.demarrage = d.mode;
        d.regle(labo);
        const Mesures m = Demarre(labo, d.frein, courant_nominal);
        std::printf("%-22s peak %.3f I_N (direct %.3f, star %.3f), 95 %% at %.4f s (direct %.4f), "
                    "heat %.5g (direct %.5g), start torque %.3f (direct %.3f)\n",
                    d.nom, m.courant_crete, dol.courant_crete, m.courant_etoile, m.temps_95,
                    dol.temps_95, m.chaleur, dol.chaleur, m.couple_depart, dol.couple_depart);
        SCOPED_TRACE(d.nom);
        d.attendu(m, dol);
        // Started, it runs where direct on line does, the start over.
        EXPECT_EQ(m.etape_finale, 0);
        EXPECT_NEAR(m.vitesse_finale, dol.vitesse_finale, 1e-9);
        EXPECT_NEAR(m.couple_final, dol.couple_final, 1e-9);
        EXPECT_LT(m.residu, 1e-9) << "the balance closes Tick by Tick";
    }
}

TEST(Demarrage, TheScheduleAppliesEachStepAndStartsAgainAfterTheSupplyWasOff) {
    // The speed in synchronous speeds at each Tick of the table; the supply on from Tick 1.
    struct Pas {
        long tick;
        double vitesse;
        int etape;
        double tension;
        double frequence;
        double resistance;
        bool etoile;
    };
    struct Cas {
        const char* nom;
        void (*regle)(tagLabo&);
        std::vector<Pas> pas;
    };
    const double s3 = TENSION_ETOILE;
    const Cas cas[] = {
        {"star-delta by speed or time",
         [](tagLabo& l) {
             l.demarrage = DEMARRAGE_ETOILE_TRIANGLE;
             l.commutation_temps = 0.5;
         },
         {{1, 0, 1, s3, 1, 1, true},
          {100, 0.89, 1, s3, 1, 1, true},
          {101, 0.91, 0, 1, 1, 1, false},
          {102, 0.5, 0, 1, 1, 1, false}}},
        {"star-delta at the latest",
         [](tagLabo& l) {
             l.demarrage = DEMARRAGE_ETOILE_TRIANGLE;
             l.commutation_temps = 0.5;
         },
         {{2499, 0.1, 1, s3, 1, 1, true}, {2500, 0.1, 0, 1, 1, 1, false}}},
        {"soft",
         [](tagLabo& l) { l.demarrage = DEMARRAGE_PROGRESSIF; },
         {{2500, 0, 1, 0.7, 1, 1, false}, {5000, 0, 0, 1, 1, 1, false}}},
        {"vf, magnetising then the ramp, with a boost",
         [](tagLabo& l) {
             l.demarrage = DEMARRAGE_VF;
             l.surtension = 10;
         },
         {{250, 0, 1, 0.5 * (0.05 + 0.1 * 0.95), 0.05, 1, false},
          {2500, 0, 1, 0.5 + 0.1 * 0.5, 0.5, 1, false},
          {5000, 0, 0, 1, 1, 1, false}}},
        {"rotor, three steps",
         [](tagLabo& l) { l.demarrage = DEMARRAGE_ROTORIQUE; },
         {{1, 0, 1, 1, 1, 4, false},
          {2, 0.31, 2, 1, 1, 3, false},
          {3, 0.61, 3, 1, 1, 2, false},
          {4, 0.91, 0, 1, 1, 1, false},
          {5, 0.1, 0, 1, 1, 1, false}}},
        {"rotor, past every step at once",
         [](tagLabo& l) { l.demarrage = DEMARRAGE_ROTORIQUE; },
         {{1, 0.95, 0, 1, 1, 1, false}}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        tagLabo labo;
        labo.frequence = 80;
        labo.tension = 90;
        labo.resistance = 2;
        c.regle(labo);
        // Twice: switching the supply off and on again starts the schedule again.
        tagDemarrage d;
        for (int fois = 0; fois < 2; fois++) {
            d.Avance(labo, 0, 0);
            EXPECT_EQ(d.ticks, 0);
            long tick = 0;
            for (const Pas& p : c.pas) {
                while (tick < p.tick) {
                    tick++;
                    d.Avance(labo, AMPLITUDE_ALIMENTATION, p.vitesse * labo.OmegaSynchrone());
                }
                const tagLabo applique = d.Applique(labo);
                EXPECT_EQ(d.etape, p.etape) << "Tick " << tick;
                EXPECT_NEAR(applique.tension, 90 * p.tension, 1e-12) << "Tick " << tick;
                EXPECT_NEAR(applique.frequence, 80 * p.frequence, 1e-12) << "Tick " << tick;
                EXPECT_NEAR(applique.resistance, 2 * p.resistance, 1e-12) << "Tick " << tick;
                EXPECT_EQ(d.etoile, p.etoile) << "Tick " << tick;
            }
        }
    }
    // Direct on line applies the settings themselves, to the bit.
    tagLabo direct;
    direct.tension = 70;
    tagDemarrage d;
    d.Avance(direct, AMPLITUDE_ALIMENTATION, 0);
    const tagLabo applique = d.Applique(direct);
    EXPECT_EQ(applique.tension, 70);
    EXPECT_EQ(d.etape, 0);
    EXPECT_TRUE(tagLabo().ParDefaut());
}

// The real motor (the 4 kW nameplate's, two pole pairs), started from rest under its rated torque:
// the line currents are the stator's own, in A rms over a 50 Hz cycle.
struct Reel {
    double crete = 0;   // the largest line current, A
    double etoile = 0;  // the largest while in star, A
    double couple = 0;  // the mean useful torque over the first cycle, N.m
    double temps = -1;  // s to 95 % of the rated speed
    double vitesse = 0; // the mean speed over the last period, synchronous speeds
    double final = 0;   // the line current at the end, A
    int etape = -1;
};

Reel DemarreReel(const tagLabo& labo, int ticks) {
    tagMas mas(0.0, 0.0);
    tagDemarrage demarrage;
    tagBilanPeriode bilan;
    Reel r;
    double phase = 0;
    double carres[kCycle] = {};
    double somme = 0;
    const double sync = labo.OmegaSynchrone();
    const double frein = CoupleDuModele(PlaqueCoupleNominal(), PLAQUE_PAIRES_POLES);
    const double nominale = 0.95 * (1 - PlaqueGlissementNominal());
    for (int n = 1; n <= ticks; n++) {
        demarrage.Avance(labo, AMPLITUDE_ALIMENTATION, mas.omega);
        const tagLabo applique = demarrage.Applique(labo);
        const double pas = applique.PasPhase(PAS_PHASE_NOMINAL);
        phase = phase + pas;
        const tagMas avant = mas;
        double forces[3];
        double couple;
        PasModele(mas, applique, AMPLITUDE_ALIMENTATION, phase, pas, frein, forces, &couple);
        bilan.Ajoute(PuissancesDuTick(avant, mas, applique, AMPLITUDE_ALIMENTATION, phase),
                     applique);
        double ligne[3];
        mas.stator.CourantsDeLigne(ligne);
        const double carre = ligne[0] * ligne[0] + ligne[1] * ligne[1] + ligne[2] * ligne[2];
        somme += carre - carres[n % kCycle];
        carres[n % kCycle] = carre;
        const double courant = CourantDeLigne(std::fmax(somme, 0) / kCycle);
        r.crete = std::fmax(r.crete, courant);
        if (demarrage.etoile) r.etoile = std::fmax(r.etoile, courant);
        r.final = courant;
        if (n <= kCycle) r.couple += NewtonMetres(couple, PLAQUE_PAIRES_POLES) / kCycle;
        if (r.temps < 0 && mas.omega / sync >= nominale) r.temps = n * PAS_TEMPS;
    }
    r.vitesse = bilan.Moyenne().omega / sync;
    r.etape = demarrage.etape;
    return r;
}

TEST(Demarrage, TheRealMotorAtItsRatedTorqueStartsAsATeacherExpects) {
    struct Cas {
        const char* nom;
        void (*regle)(tagLabo&);
        void (*attendu)(const Reel& m, const Reel& direct);
    };
    const Cas cas[] = {
        // Delta on 230 V mains: in star a third of the line current, and of the torque, which
        // is less than T_N: it waits for the timer.
        {"star-delta",
         [](tagLabo& l) {
             l.reseau = 230;
             l.triangle = true;
             l.demarrage = DEMARRAGE_ETOILE_TRIANGLE;
             l.commutation_temps = 1;
         },
         [](const Reel& m, const Reel& d) { EXPECT_NEAR(m.etoile / d.crete, 1.0 / 3, 0.03); }},
        {"soft",
         [](tagLabo& l) {
             l.demarrage = DEMARRAGE_PROGRESSIF;
             l.tension_initiale = 50;
             l.duree_rampe = 3;
         },
         [](const Reel& m, const Reel& d) { EXPECT_LT(m.crete, 0.85 * d.crete); }},
        {"vf with boost",
         [](tagLabo& l) {
             l.demarrage = DEMARRAGE_VF;
             l.surtension = 5;
         },
         [](const Reel& m, const Reel& d) { EXPECT_LT(m.crete, 0.5 * d.crete); }},
        {"rotor", [](tagLabo& l) { l.demarrage = DEMARRAGE_ROTORIQUE; },
         [](const Reel& m, const Reel& d) {
             EXPECT_GT(m.couple, 1.3 * d.couple);
             EXPECT_LT(m.crete, 0.85 * d.crete);
         }},
    };
    constexpr int kTicksReel = 30000;
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        tagLabo labo;
        labo.moteur_reel = true;
        labo.paires_poles = PLAQUE_PAIRES_POLES;
        c.regle(labo);
        tagLabo direct = labo;
        direct.demarrage = DEMARRAGE_DIRECT;
        const Reel d = DemarreReel(direct, kTicksReel);
        const Reel m = DemarreReel(labo, kTicksReel);
        std::printf("real %-14s peak %.2f A (direct %.2f, star %.2f), start torque %.1f N.m "
                    "(direct %.1f), 95 %% of rated speed at %.4f s (direct %.4f), end %.2f A "
                    "%.5f (direct %.5f)\n",
                    c.nom, m.crete, d.crete, m.etoile, m.couple, d.couple, m.temps, d.temps,
                    m.final, m.vitesse, d.vitesse);
        c.attendu(m, d);
        EXPECT_EQ(m.etape, 0);
        EXPECT_NEAR(m.vitesse, d.vitesse, 1e-6);
        EXPECT_NEAR(m.final, d.final, 1e-3 * d.final);
        // The rated current at T_N: the nameplate's on 400 V, sqrt(3) times more on 230 V.
        const double nominal = PlaqueCourantNominal() * 400 / labo.reseau;
        EXPECT_NEAR(d.final, nominal, 0.05 * nominal) << "the rated current at T_N";
    }
}

} // namespace
