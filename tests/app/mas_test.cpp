// The motor model run on its own: a tagMas stepped Tick by Tick as the window procedure does,
// with the supply phase advanced before each step.
#include "model/mas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPasPhase = -0.06283185307179587; // the supply's phase step
constexpr double kAmplitude = 0.075;               // supply on
constexpr double kVitesseSynchrone = kPasPhase;    // the rotor keeping pace with the supply

struct Pas {
    double forces[3];
    double torque;
};

// The model with its supply: one call is one Tick.
struct Banc {
    tagMas mas{0.0, 0.0};
    double phase = 0;

    Pas Tick(double amplitude, double couple) {
        Pas p{};
        phase = phase + kPasPhase;
        mas.CalculMas(amplitude, phase, couple, p.forces, &p.torque);
        return p;
    }
};

struct Trajectoire {
    std::vector<double> omega; // omega[n] after Tick n + 1
    std::vector<double> torque;
};

Trajectoire Demarrage(double couple, int ticks) {
    Banc banc;
    Trajectoire t;
    for (int n = 0; n < ticks; n++) {
        const Pas p = banc.Tick(kAmplitude, couple);
        t.omega.push_back(banc.mas.omega);
        t.torque.push_back(p.torque);
    }
    return t;
}

// Column of the torque/speed plot for a speed.
int Colonne(double omega) {
    return static_cast<int>(460 - 5000 * omega);
}

TEST(MasConstruction, ZeroSupplyGivesAllFieldsZero) {
    const tagMas m(0.0, 0.0);
    for (double champ : {m.phi1, m.i1, m.phi2, m.i2, m.phi3, m.i3, m.theta, m.omega})
        EXPECT_EQ(champ, 0.0);
}

TEST(MasConstruction, EachTurnHoldsTheSupplyFluxAtRest) {
    // At rest the flux through turn k is -amplitude * sin(phase + delta_k), delta = 0, pi/3,
    // 2pi/3, and no current flows yet.
    for (double phase : {0.0, 0.7, -2.5}) {
        const tagMas m(kAmplitude, phase);
        EXPECT_NEAR(m.phi1, -kAmplitude * std::sin(phase), 1e-15) << phase;
        EXPECT_NEAR(m.phi2, -kAmplitude * std::sin(phase + std::numbers::pi / 3), 1e-15) << phase;
        EXPECT_NEAR(m.phi3, -kAmplitude * std::sin(phase + 2 * std::numbers::pi / 3), 1e-15)
            << phase;
        EXPECT_EQ(m.i1, 0.0);
        EXPECT_EQ(m.i2, 0.0);
        EXPECT_EQ(m.i3, 0.0);
        EXPECT_EQ(m.theta, 0.0);
        EXPECT_EQ(m.omega, 0.0);
    }
}

TEST(MasPas, SupplyOffKeepsEverythingAtZeroWhateverTheBrake) {
    for (double couple : {0.0, 0.5, 3.0, 7.5}) {
        Banc banc;
        for (int n = 0; n < 500; n++) {
            const Pas p = banc.Tick(0.0, couple);
            ASSERT_EQ(p.torque, 0.0) << "brake " << couple << " tick " << n;
            ASSERT_EQ(p.forces[0], 0.0);
            ASSERT_EQ(p.forces[1], 0.0);
            ASSERT_EQ(p.forces[2], 0.0);
            ASSERT_EQ(banc.mas.omega, 0.0) << "brake " << couple << " tick " << n;
            ASSERT_EQ(banc.mas.theta, 0.0);
            const tagMas& m = banc.mas;
            for (double champ : {m.phi1, m.i1, m.phi2, m.i2, m.phi3, m.i3})
                ASSERT_EQ(champ, 0.0);
        }
    }
}

TEST(MasPas, StepFromRestMovesByTwiceTheTorqueOverTheInertia) {
    // Build up the locked-rotor currents, then release the rotor at rest: both speed tests
    // apply and the brake terms cancel, whatever the brake.
    for (double couple : {0.0, 2.0, 5.5}) {
        Banc banc;
        for (int n = 0; n < 300; n++) {
            banc.mas.theta = 0;
            banc.mas.omega = 0;
            banc.Tick(kAmplitude, couple);
        }
        banc.mas.omega = 0;
        const Pas p = banc.Tick(kAmplitude, couple);
        ASSERT_GT(p.torque + couple, 0.0);
        EXPECT_NEAR(banc.mas.omega, -2 * p.torque / 200000, 1e-17) << "brake " << couple;
        EXPECT_LT(banc.mas.omega, 0.0);
    }
}

TEST(MasPas, SwitchingOnAtRestGivesACurrentTransient) {
    Banc banc;
    banc.Tick(kAmplitude, 0.0);
    const tagMas& m = banc.mas;
    // The flux jumps from 0 to its supply value in one step; the current opposes the change.
    const double phase = kPasPhase;
    const double flux[3] = {-kAmplitude * std::sin(phase),
                            -kAmplitude * std::sin(phase + std::numbers::pi / 3),
                            -kAmplitude * std::sin(phase + 2 * std::numbers::pi / 3)};
    const double phi[3] = {m.phi1, m.phi2, m.phi3};
    const double i[3] = {m.i1, m.i2, m.i3};
    const double borne = 0.075 / 0.0002 / 1.01; // about 371
    double plus_fort = 0;
    for (int k = 0; k < 3; k++) {
        EXPECT_NEAR(phi[k], flux[k], 1e-15) << "turn " << k + 1;
        EXPECT_NEAR(i[k], -phi[k] / 0.0002 / 1.01, 1e-9) << "turn " << k + 1;
        EXPECT_LE(std::fabs(i[k]), borne);
        plus_fort = std::fmax(plus_fort, std::fabs(i[k]));
    }
    EXPECT_GT(plus_fort, 300.0);
}

TEST(MasPas, SwitchingOffWhileTurningLetsTheCurrentsDecay) {
    Banc banc;
    for (int n = 0; n < 1500; n++)
        banc.Tick(kAmplitude, 0.0);
    const tagMas avant = banc.mas;
    ASSERT_LT(avant.omega, -0.05);

    // The flux collapses at once; the current takes the whole change.
    Pas p = banc.Tick(0.0, 0.0);
    EXPECT_EQ(banc.mas.phi1, 0.0);
    EXPECT_EQ(banc.mas.phi2, 0.0);
    EXPECT_EQ(banc.mas.phi3, 0.0);
    EXPECT_NEAR(banc.mas.i1, (avant.i1 + avant.phi1 / 0.0002) / 1.01, 1e-9);
    EXPECT_NEAR(banc.mas.i2, (avant.i2 + avant.phi2 / 0.0002) / 1.01, 1e-9);
    EXPECT_NEAR(banc.mas.i3, (avant.i3 + avant.phi3 / 0.0002) / 1.01, 1e-9);
    EXPECT_EQ(p.torque, 10 * avant.omega); // only friction is left

    // Then no force; each current shrinks by 1/1.01 per step; the rotor slows under friction.
    for (int n = 0; n < 50; n++) {
        const tagMas precedent = banc.mas;
        p = banc.Tick(0.0, 0.0);
        EXPECT_EQ(p.forces[0], 0.0);
        EXPECT_EQ(p.forces[1], 0.0);
        EXPECT_EQ(p.forces[2], 0.0);
        EXPECT_EQ(p.torque, 10 * precedent.omega);
        EXPECT_NEAR(banc.mas.i1, precedent.i1 / 1.01, 1e-9);
        EXPECT_NEAR(banc.mas.i3, precedent.i3 / 1.01, 1e-9);
        EXPECT_GT(banc.mas.omega, precedent.omega);
        EXPECT_LT(banc.mas.omega, 0.0);
    }
}

TEST(MasPas, RotorKeepingPaceWithTheSupplySeesNoChangeOfFlux) {
    // Held at the synchronous speed from the supply's own starting flux, the rotor has no slip:
    // no current is induced and only friction is left in the torque.
    Banc banc;
    banc.mas = tagMas(kAmplitude, 0.0);
    for (int n = 0; n < 200; n++) {
        banc.mas.omega = kVitesseSynchrone;
        const Pas p = banc.Tick(kAmplitude, 0.0);
        ASSERT_NEAR(banc.mas.theta, banc.phase, 1e-12) << "tick " << n + 1;
        ASSERT_NEAR(banc.mas.i1, 0.0, 1e-6) << "tick " << n + 1;
        ASSERT_NEAR(banc.mas.i2, 0.0, 1e-6) << "tick " << n + 1;
        ASSERT_NEAR(banc.mas.i3, 0.0, 1e-6) << "tick " << n + 1;
        ASSERT_NEAR(p.torque, 10 * kVitesseSynchrone, 1e-6) << "tick " << n + 1;
    }
}

TEST(MasDemarrage, WithoutBrakeOvershootsThenSettlesJustShortOfSynchronousSpeed) {
    const Trajectoire t = Demarrage(0.0, 6000);

    int passage = -1; // first Tick beyond the synchronous speed
    double plus_vite = 0;
    double couple_max = 0;
    for (int n = 0; n < 6000; n++) {
        if (passage < 0 && t.omega[n] < kVitesseSynchrone) passage = n + 1;
        plus_vite = std::fmin(plus_vite, t.omega[n]);
        if (n > 200) couple_max = std::fmax(couple_max, t.torque[n]);
    }
    EXPECT_GT(passage, 1100);
    EXPECT_LT(passage, 1300);
    EXPECT_NEAR(plus_vite, -0.0649, 0.0002);
    EXPECT_EQ(Colonne(plus_vite), 784);
    EXPECT_NEAR(couple_max, 16.0, 0.5);

    // Settled some two thousand Ticks after switching on.
    const double fin = t.omega.back();
    EXPECT_NEAR(fin, -0.06268, 0.00002);
    EXPECT_GT(fin, kVitesseSynchrone); // slip: a little short of the supply
    EXPECT_NEAR(t.torque.back(), 0.0, 0.001);
    EXPECT_EQ(Colonne(fin), 773);
    for (int n = 2000; n < 6000; n++)
        ASSERT_NEAR(t.omega[n], fin, 1e-4) << "tick " << n + 1;
}

TEST(MasDemarrage, WithBrakeFiveSettlesWhereTheTorqueMeetsTheLoad) {
    const Trajectoire t = Demarrage(5.0, 8000);
    const double fin = t.omega.back();
    EXPECT_NEAR(fin, -0.0615, 0.0001);
    EXPECT_NEAR(t.torque.back(), 5.0, 0.001);
    for (int n = 4000; n < 8000; n++) {
        ASSERT_NEAR(t.omega[n], fin, 1e-5) << "tick " << n + 1;
        // On the plot the point rests on the brake line (row 140), within a pixel.
        ASSERT_NEAR(static_cast<int>(180 - 8 * t.torque[n]), 140, 1) << "tick " << n + 1;
    }
    // Slower than without brake: a few pixels further left on the plot.
    EXPECT_LT(Colonne(fin), 773);
    EXPECT_GT(Colonne(fin), 760);
}

TEST(MasDemarrage, ABrakeOfSevenOrMoreKeepsTheRotorFromRunningUp) {
    for (double couple : {7.0, 10.0}) {
        const Trajectoire t = Demarrage(couple, 6000);
        for (int n = 0; n < 6000; n++)
            ASSERT_LT(std::fabs(t.omega[n]), 0.001) << "brake " << couple << " tick " << n + 1;
    }
    // Just below the starting torque the rotor does run up.
    const Trajectoire t = Demarrage(6.0, 8000);
    EXPECT_LT(t.omega.back(), -0.05);
}

TEST(MasDemarrage, LockedRotorForceSumSettlesAtTheStartingTorque) {
    Banc banc;
    for (int n = 0; n < 3000; n++) {
        banc.mas.theta = 0;
        banc.mas.omega = 0;
        const Pas p = banc.Tick(kAmplitude, 0.0);
        const double somme = p.forces[0] + p.forces[1] + p.forces[2];
        if (n >= 2000) {
            ASSERT_NEAR(somme, 6.48, 0.01) << "tick " << n + 1;
        }
    }
}

} // namespace
