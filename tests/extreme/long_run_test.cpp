// The supply on for 10^7 Ticks: theta and the phase grow to about -6 * 10^5 rad, every state value
// stays finite, and the Tick's pictures drawn at that state stay in bounds and are the pictures of
// the same angles taken modulo a turn.
//
// A whole-program run of 10^7 Ticks takes some 20 minutes, so the model is stepped here exactly as
// the Tick steps it (supply phase first, then tagMas::CalculMas), 10^7 times, and the Tick's
// drawing is then done once at the state reached, through our GDI into a framebuffer (under the
// sanitizers every write is checked). A scripted run of the whole program for as many Ticks as fit
// in about 30 seconds comes last.
#include "drawing/masdessin.h"
#include "model/alim.h"
#include "model/mas.h"
#include "panels/central.h"
#include "panels/courbe.h"

#include "app/ecran.h"
#include "image/png_reader.h"
#include "extreme/slow_build.h"
#include "script/run_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using namespace ecran;

constexpr double kPi = 3.141592653589793;

// What one Tick computes and draws with.
struct Etat {
    double phase = 0;
    double amplitude = 0;
    double theta = 0;
    double omega = 0;
    double forces[3] = {0, 0, 0};
    double torque = 0;
};

bool Fini(const tagMas& m) {
    for (const double v : {m.phi1, m.i1, m.phi2, m.i2, m.phi3, m.i3, m.theta, m.omega}) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

// The Tick's picture of the moving parts, in the Tick's order, every view shown.
kv::Framebuffer Image(const Etat& e, int largeur, int hauteur) {
    kv::Framebuffer fb(largeur, hauteur, kVide);
    tagMasDessin dessin;
    dessin.show_field1 = true;
    dessin.show_field2 = true;
    dessin.show_field3 = true;
    dessin.show_resultant = true;
    tagCourbe courbe;
    courbe.last_omega = e.omega;
    courbe.last_torque = e.torque;
    Sur(fb, [&](HDC hdc) {
        CentralPaint(hdc, 107);
        dessin.RotorTourneTotal(hdc, e.theta);
        dessin.ChampsTotal(hdc, e.phase, e.amplitude / 0.015);
        dessin.ForceLaplaceTotal(hdc, e.theta, e.forces[0], e.forces[1], e.forces[2]);
        courbe.TraceCourbe(hdc, e.omega, e.torque);
    });
    return fb;
}

TEST(LongRun, TenMillionTicksOfTheModelStayFiniteAndDrawInBounds) {
    tagAlim alim;
    tagMas mas(0.0, 0.0);
    alim.amplitude = 0.075; // the supply switched on, as a left click on ALIM does
    Etat e;
    long non_finis = 0;
    for (long t = 0; t < 10'000'000; ++t) {
        alim.phase = alim.phase + alim.phase_step;
        mas.CalculMas(alim.amplitude, alim.phase, 0.0, e.forces, &e.torque);
        if (!Fini(mas) || !std::isfinite(e.torque) || !std::isfinite(e.forces[0]) ||
            !std::isfinite(e.forces[1]) || !std::isfinite(e.forces[2]))
            ++non_finis;
    }
    ASSERT_EQ(non_finis, 0);
    e.phase = alim.phase;
    e.amplitude = alim.amplitude;
    e.theta = mas.theta;
    e.omega = mas.omega;

    // Ten million supply steps of -2pi/100; the rotor just behind at its steady slip.
    EXPECT_NEAR(e.phase, -2e5 * kPi, 1.0);
    EXPECT_LT(e.theta, -6.2e5);
    EXPECT_GT(e.theta, e.phase);
    EXPECT_NEAR(e.omega, -0.06268, 0.00005) << "still running just below synchronous speed";
    EXPECT_NEAR(e.torque, 0.0, 0.1);

    // The same picture as at the angles reduced to one turn, but where the last bits of the sines
    // and cosines of angles this large tip a truncation over: a few pixels at most.
    Etat reduit = e;
    reduit.phase = std::remainder(e.phase, 2 * kPi);
    reduit.theta = std::remainder(e.theta, 2 * kPi);
    const kv::Framebuffer grand = Image(e, 780, 557);
    const kv::Framebuffer petit = Image(reduit, 780, 557);
    int differents = 0;
    for (int y = 0; y < 557; ++y)
        for (int x = 0; x < 780; ++x)
            differents += grand.get(x, y) != petit.get(x, y);
    EXPECT_LE(differents, 24) << Difference(grand, petit);
    EXPECT_GT(Compte(grand, kCuivre), 500) << "the rotor";
    EXPECT_GT(Compte(grand, kNoir), 100) << "the resultant field and the operating point";
    EXPECT_GT(Compte(grand, RGB(0, 0, 255)), 100) << "the left coil's field";

    // Nothing of the motor outside the central disc (its 4-pixel outline reaches 110); only the
    // operating point out on the plot.
    for (int y = 0; y < 557; ++y)
        for (int x = 0; x < 450; ++x) {
            const int dx = x - 260;
            const int dy = y - 290;
            if (dx * dx + dy * dy > 110 * 110) {
                ASSERT_EQ(grand.get(x, y), kVide) << "(" << x << ", " << y << ")";
            }
        }
    const int colonne = static_cast<int>(460 - 5000 * e.omega);
    EXPECT_EQ(grand.get(colonne, 180), kNoir) << "the operating point on the speed axis";

    // The same drawing into windows too small for it, down to nothing: clipped, never outside.
    for (const auto& [w, h] : {std::pair{0, 0}, {1, 1}, {0, 557}, {780, 0}, {261, 291}}) {
        const kv::Framebuffer fb = Image(e, w, h);
        EXPECT_EQ(fb.width(), w);
        EXPECT_EQ(fb.height(), h);
    }
}

// Ticks for about 30 seconds of the release build; about as long again under the sanitizers or
// without optimisation, which are some ten times slower.
constexpr long kTicksDuProgramme = kvtest::kSlowBuild ? 20'000 : 200'000;

TEST(LongRun, TheWholeProgramRunsHalfAMinuteOfTicksWithEveryViewShown) {
    const std::string dir = kvtest::scratch_dir("long");
    const std::string vues = "click left 25 25\nclick left 100 300\nclick left 300 100\n"
                             "click left 300 375\nclick left 260 290\n";
    const auto run = kvtest::run_script(vues + "tick " + std::to_string(kTicksDuProgramme) +
                                        "\nstate\nsnapshot " + dir + "/long.png\n");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    const auto lines = run.out_lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("null"), std::string::npos) << "a value that is not finite";
    EXPECT_NE(lines[0].find("\"tick\":" + std::to_string(kTicksDuProgramme + 1)),
              std::string::npos);
    EXPECT_NE(lines[0].find("\"omega\":-0.0626"), std::string::npos) << lines[0];

    // Outside the disc and the plot, the picture is the one a short run shows.
    const auto court = kvtest::run_script(vues + "tick 100\nsnapshot " + dir + "/short.png\n");
    ASSERT_EQ(court.exit_code, 0) << court.err;
    const kv::Framebuffer longue = kv::image::read_png(dir + "/long.png");
    const kv::Framebuffer breve = kv::image::read_png(dir + "/short.png");
    int differents = 0;
    for (int y = 0; y < 557; ++y)
        for (int x = 0; x < 780; ++x) {
            const int dx = x - 260;
            const int dy = y - 290;
            const bool disque = dx * dx + dy * dy <= 110 * 110;
            const bool courbe = x >= 450 && y <= 360;
            if (!disque && !courbe) differents += longue.get(x, y) != breve.get(x, y);
        }
    EXPECT_EQ(differents, 0);
}

} // namespace
