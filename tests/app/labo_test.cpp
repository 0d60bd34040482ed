// The laboratory's physics, from runs of the model: what a teacher shows with each setting must
// come out of the coils' currents and the rotor's circuit, not be written in. Runs with the speed
// free settle where the torque meets the load; runs with the speed held measure the torque the
// motor gives at that speed, averaged over whole supply periods.
#include "model/mas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double kPasPhase = -0.06283185307179587; // the supply's nominal phase step
constexpr double kAmplitude = 0.075;               // supply on

tagLabo Labo(double frequence = 100, double tension = 100, double resistance = 1) {
    tagLabo l;
    l.frequence = frequence;
    l.tension = tension;
    l.resistance = resistance;
    return l;
}

tagLabo Inverse() {
    tagLabo l;
    l.ordre_inverse = true;
    return l;
}

tagLabo Ouverte(int phase, bool inverse = false) {
    tagLabo l;
    l.ligne_ouverte = phase;
    l.ordre_inverse = inverse;
    return l;
}

// The model with its supply and brake, one call a Tick, as the window's Tick steps it.
struct Banc {
    tagLabo labo;
    tagMas mas{0.0, 0.0};
    double phase = 0;
    double couple = 0;

    // The forces' sum and the useful torque of the step.
    struct Pas {
        double em;
        double utile;
    };

    Pas Tick(double amplitude = kAmplitude) {
        const double pas = labo.PasPhase(kPasPhase);
        phase = phase + pas;
        double forces[3];
        double torque;
        PasModele(mas, labo, amplitude, phase, pas, couple, forces, &torque);
        return {forces[0] + forces[1] + forces[2], torque};
    }

    // The field's speed, in radians per Tick, signed as the rotor's.
    double Synchrone() const {
        const double pas = labo.PasPhase(kPasPhase);
        return labo.ordre_inverse ? -pas : pas;
    }

    // Ticks in `periodes` supply periods.
    int Periodes(int periodes) const {
        return static_cast<int>(std::lround(periodes * 100 / (labo.frequence / 100)));
    }
};

// Where a run settles: mean speed and useful torque over ten supply periods, after `ticks`.
struct Regime {
    double omega;
    double rapport; // speed over synchronous speed
    double glissement;
    double couple;
};

Regime Etabli(Banc& banc, int ticks) {
    for (int n = 0; n < ticks; n++)
        banc.Tick();
    const int moyenne = banc.Periodes(10);
    double omega = 0;
    double couple = 0;
    for (int n = 0; n < moyenne; n++) {
        couple += banc.Tick().utile;
        omega += banc.mas.omega;
    }
    omega /= moyenne;
    const double rapport = omega / banc.Synchrone();
    return {omega, rapport, 1 - rapport, couple / moyenne};
}

Regime Demarrage(const tagLabo& labo, double couple, int ticks = 8000) {
    Banc banc{labo};
    banc.couple = couple;
    return Etabli(banc, ticks);
}

// A brake above the starting torque, raised once the motor has run up.
Regime EnCharge(const tagLabo& labo, double couple, int ticks = 8000) {
    Banc banc{labo};
    Etabli(banc, 3000);
    banc.couple = couple;
    return Etabli(banc, ticks);
}

// The electromagnetic torque (the forces alone, friction apart) in the motor's direction, with
// the speed held at this slip until the rotor's currents have forgotten the start.
double CoupleTenu(const tagLabo& labo, double glissement) {
    Banc banc{labo};
    const double omega = (1 - glissement) * banc.Synchrone();
    const int oubli = static_cast<int>(std::log(1e7) / std::log(1 + 0.01 * labo.resistance));
    for (int n = 0; n < oubli; n++) {
        banc.mas.omega = omega;
        banc.Tick();
    }
    const int moyenne = banc.Periodes(4);
    double em = 0;
    for (int n = 0; n < moyenne; n++) {
        banc.mas.omega = omega;
        em += banc.Tick().em;
    }
    return (banc.Synchrone() < 0 ? em : -em) / moyenne;
}

// The pull-out torque and its slip, by a golden-section search of held-speed runs.
struct Decrochage {
    double couple;
    double glissement;
};

Decrochage Decrochement(const tagLabo& labo) {
    constexpr double kOr = 0.6180339887498949;
    double a = 0.005;
    double b = 1.0;
    double c = b - kOr * (b - a);
    double d = a + kOr * (b - a);
    double tc = CoupleTenu(labo, c);
    double td = CoupleTenu(labo, d);
    while (b - a > 1e-4) {
        if (tc > td) {
            b = d;
            d = c;
            td = tc;
            c = b - kOr * (b - a);
            tc = CoupleTenu(labo, c);
        } else {
            a = c;
            c = d;
            tc = td;
            d = a + kOr * (b - a);
            td = CoupleTenu(labo, d);
        }
    }
    return tc > td ? Decrochage{tc, c} : Decrochage{td, d};
}

TEST(Labo, TheGeneralStepAtTheDefaultsIsTheOriginalOne) {
    // Summing the three coils' fields and the rotor circuit with its resistance as a setting is
    // the original model in exact arithmetic: a run-up through each stays together.
    Banc origine;
    tagMas general(0.0, 0.0);
    double phase = 0;
    for (int n = 0; n < 4000; n++) {
        origine.Tick();
        phase = phase + kPasPhase;
        double forces[3];
        double torque;
        general.CalculMasLabo(tagLabo(), kAmplitude, phase, kPasPhase, 0.0, forces, &torque);
        ASSERT_NEAR(general.omega, origine.mas.omega, 1e-12) << "Tick " << n + 1;
        ASSERT_NEAR(general.i1, origine.mas.i1, 1e-6) << "Tick " << n + 1;
    }
    EXPECT_LT(origine.mas.omega, -0.06);
}

TEST(Labo, ReversedOrderRunsUpTheOtherWayToTheSameSpeedAndSlip) {
    for (double couple : {0.0, 5.0, 15.0}) {
        const Regime direct = EnCharge(tagLabo(), couple);
        const Regime inverse = EnCharge(Inverse(), couple);
        EXPECT_LT(direct.omega, -0.05) << "brake " << couple;
        EXPECT_GT(inverse.omega, 0.05) << "brake " << couple;
        EXPECT_NEAR(inverse.omega, -direct.omega, 1e-9) << "brake " << couple;
        EXPECT_NEAR(inverse.glissement, direct.glissement, 1e-6) << "brake " << couple;
        EXPECT_GT(direct.glissement, 0.001) << "brake " << couple;
        RecordProperty("reversed_brake" + std::to_string(static_cast<int>(couple)) + "_slip",
                       std::to_string(inverse.glissement) + " (direct " +
                           std::to_string(direct.glissement) + ")");
    }
}

TEST(Labo, AnOpenLineCannotStartTheMotor) {
    // A pulsating field gives no torque at standstill, whatever its axis: from rest with no
    // brake, and with a load (which is why motors are protected against single phasing).
    for (int phase = 1; phase <= 3; phase++) {
        for (bool inverse : {false, true}) {
            for (double couple : {0.0, 2.0}) {
                Banc banc{Ouverte(phase, inverse)};
                banc.couple = couple;
                double plus_vite = 0;
                for (int n = 0; n < 2000; n++) {
                    banc.Tick();
                    plus_vite = std::fmax(plus_vite, std::fabs(banc.mas.omega));
                }
                EXPECT_LT(plus_vite, 1e-4) << "open=" << phase << " brake " << couple;
            }
        }
    }
}

TEST(Labo, OpeningALineWhileRunningKeepsItRunningWithMoreSlip) {
    for (int phase = 1; phase <= 3; phase++) {
        Banc banc{tagLabo()};
        banc.couple = 1;
        const Regime avant = Etabli(banc, 6000);
        banc.labo.ligne_ouverte = phase;
        const Regime apres = Etabli(banc, 3000);
        EXPECT_GT(apres.rapport, 0.9) << "open=" << phase;
        EXPECT_GT(apres.glissement, 1.5 * avant.glissement) << "open=" << phase;
        EXPECT_NEAR(apres.couple, 1.0, 0.02) << "open=" << phase << ": it still carries the brake";
        RecordProperty("open" + std::to_string(phase) + "_brake1_speed_pct",
                       std::to_string(100 * apres.rapport) + " (before " +
                           std::to_string(100 * avant.rapport) + ")");
    }
}

TEST(Labo, FrequencyAndVoltageTogetherHalveTheSpeedAndKeepThePullOutTorque) {
    const Regime nominal = Demarrage(tagLabo(), 0.0);
    const Regime moitie = Demarrage(Labo(50, 50), 0.0);
    EXPECT_NEAR(moitie.omega / nominal.omega, 0.5, 0.01);
    EXPECT_NEAR(moitie.omega / (0.5 * kPasPhase), 1.0, 0.02);
    EXPECT_LT(moitie.rapport, 1.0);

    const Decrochage t_nominal = Decrochement(tagLabo());
    const Decrochage t_vf = Decrochement(Labo(50, 50));
    EXPECT_NEAR(t_vf.couple / t_nominal.couple, 1.0, 0.03);
    // The same slip frequency: twice the slip at half the frequency.
    EXPECT_NEAR(t_vf.glissement / t_nominal.glissement, 2.0, 0.1);
    RecordProperty("vf_pull_out", std::to_string(t_vf.couple) + " at slip " +
                                      std::to_string(t_vf.glissement) + " (nominal " +
                                      std::to_string(t_nominal.couple) + " at " +
                                      std::to_string(t_nominal.glissement) + ")");
}

TEST(Labo, PullOutTorqueGoesAsTheVoltageSquared) {
    const double nominal = Decrochement(tagLabo()).couple;
    const double v70 = Decrochement(Labo(100, 70)).couple;
    EXPECT_NEAR(v70 / nominal, 0.49, 0.49 * 0.03);
    RecordProperty("voltage70_pull_out", std::to_string(v70) + " of " + std::to_string(nominal));
}

TEST(Labo, RotorResistanceScalesTheSlipsNotThePullOutTorque) {
    const double k[] = {0.5, 1, 2, 4};
    Decrochage d[4];
    double leger[4];   // slip at brake 2
    double demarre[4]; // starting torque
    for (int j = 0; j < 4; j++) {
        const tagLabo labo = Labo(100, 100, k[j]);
        d[j] = Decrochement(labo);
        leger[j] = Demarrage(labo, 2.0, 10000).glissement;
        demarre[j] = CoupleTenu(labo, 1.0);
        RecordProperty("resistance" + std::to_string(k[j]),
                       "pull-out " + std::to_string(d[j].couple) + " at slip " +
                           std::to_string(d[j].glissement) + ", slip at brake 2 " +
                           std::to_string(leger[j]) + ", starting torque " +
                           std::to_string(demarre[j]));
    }
    for (int j = 0; j < 4; j++) {
        EXPECT_NEAR(d[j].couple / d[1].couple, 1.0, 0.03) << "resistance x" << k[j];
        EXPECT_NEAR(d[j].glissement / d[1].glissement, k[j], 0.05 * k[j]) << "resistance x" << k[j];
        EXPECT_NEAR(leger[j] / leger[1], k[j], 0.05 * k[j]) << "resistance x" << k[j];
        if (j > 0) {
            EXPECT_GT(demarre[j], demarre[j - 1]) << "resistance x" << k[j];
        }
    }
    EXPECT_NEAR(demarre[1], 6.49, 0.02);
    EXPECT_GT(demarre[3], 0.85 * d[3].couple) << "towards the pull-out torque";
}

TEST(Labo, TheLoadLawSetsTheBrakeTorqueAtTheOperatingPoint) {
    struct Loi {
        int loi;
        int puissance; // of speed / synchronous speed
    };
    for (const Loi loi :
         {Loi{CHARGE_CONSTANTE, 0}, Loi{CHARGE_LINEAIRE, 1}, Loi{CHARGE_QUADRATIQUE, 2}}) {
        tagLabo labo;
        labo.loi_charge = loi.loi;
        const Regime r = EnCharge(labo, 15.0, 10000);
        EXPECT_NEAR(r.couple, 15.0 * std::pow(r.rapport, loi.puissance), 2e-3) << "law " << loi.loi;
        EXPECT_GT(r.glissement, 0.02) << "law " << loi.loi;
    }
}

} // namespace
