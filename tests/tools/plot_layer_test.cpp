// The layer over the plot against the application's own drawing: the synchronous speed's mark on
// the column where the Tick draws a rotor turning at synchronous speed, the brake's value by the
// line the brake draws, and the steady curve's pull-out point where the Tick would draw the
// operating point at that speed and torque.
#include "panels/courbe.h"
#include "panels/frein.h"
#include "shell/scene.h"
#include "shell/suivi_reglages.h"
#include "base/textes.h"
#include "tools/instruments/plot_layer.h"
#include "tools/instruments/plot_scales.h"
#include "tools/instruments/steady_curve_layer.h"

#include "app/ecran.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace ecran;

// At constant voltage over frequency (a V/f drive): the same pull-out torque, within the plot.
tagLabo With(bool reversed, double frequency, int poles, double resistance = 1) {
    tagLabo l;
    l.ordre_inverse = reversed;
    l.frequence = frequency;
    l.tension = frequency;
    l.paires_poles = poles;
    l.resistance = resistance;
    return l;
}

// The centre of the black the application drew, as the Tick draws the operating point at
// (omega, torque) for these settings (shell/wndproc.cpp), on the plot's scale for them.
kv::Point ApplicationPoint(const tagLabo& settings, double omega, double torque) {
    const int sens = settings.SensDuTrace(omega);
    echelle_trace = EchelleDuTrace(settings);
    const kv::Framebuffer fb = Apres([&](HDC hdc) {
        tagCourbe courbe;
        courbe.TraceCourbe(hdc, sens * omega, sens * torque);
    });
    echelle_trace = tagEchelleTrace();
    std::int64_t x = 0, y = 0, n = 0;
    for (int row = 0; row < fb.height(); ++row)
        for (int column = 0; column < fb.width(); ++column)
            if (fb.get(column, row) == kNoir && !(column == 0 && row == 0)) {
                x += column;
                y += row;
                ++n;
            }
    EXPECT_GT(n, 0);
    return n == 0 ? kv::Point{} : kv::Point{x / n, y / n};
}

kv::viewer::Layer Scales(const tagLabo& settings, double brake) {
    kv::tools::LayerPen pen(kv::tools::PlotLayerPlace(780));
    kv::tools::DrawPlotScales({settings, brake, true, 780}, pen);
    return pen.take();
}

// Client pixels of `color` in the layer, within [x0, x1) x [y0, y1).
std::vector<kv::Point> Pixels(const kv::viewer::Layer& layer, kv::Color color, std::int64_t x0,
                              std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    std::vector<kv::Point> found;
    for (std::int64_t y = y0; y < y1; ++y)
        for (std::int64_t x = x0; x < x1; ++x)
            if (layer.over(x, y, kv::viewer::kClear) == color) found.push_back({x, y});
    return found;
}

TEST(PlotScales, TheSynchronousMarkIsWhereTheApplicationDrawsSynchronousSpeed) {
    for (const tagLabo& settings :
         {tagLabo(), With(true, 100, 1), With(false, 50, 2), With(true, 80, 4)}) {
        const double sync = settings.OmegaSynchrone();
        const std::int64_t column = ApplicationPoint(settings, sync, 0).x;
        const kv::viewer::Layer layer = Scales(settings, 3);
        // The mark: the one column the scales' colour fills for much of the plot's height.
        std::vector<std::int64_t> marked;
        for (std::int64_t x = layer.place().left; x < layer.place().right; ++x) {
            if (Pixels(layer, kv::tools::kScaleColor, x, 40, x + 1, 170).size() > 40)
                marked.push_back(x);
        }
        EXPECT_EQ(marked, std::vector<std::int64_t>{column}) << "frequency " << settings.frequence;
    }
}

TEST(PlotScales, TheBrakesValueSitsByItsLine) {
    for (const double brake : {0.0, 5.0, 12.5, 17.5}) {
        tagFrein frein;
        frein.couple = brake;
        const kv::Framebuffer fb = Apres([&](HDC hdc) { frein.CreateCourbe(hdc); });
        int line = -1;
        for (int y = 0; y < fb.height(); ++y)
            if (fb.get(600, y) == kNoir) line = y;
        ASSERT_GE(line, 0);
        // The label's start ("couple résistant"), clear of the torque axis' numbers and of the
        // speed axis' graduations (25 and 50 % of synchronous speed: columns 538 and 617).
        const std::vector<kv::Point> ink = Pixels(Scales(tagLabo(), brake), kv::tools::kScaleColor,
                                                  548, line - 20, 610, line + 21);
        ASSERT_GT(ink.size(), 40u) << "brake " << brake;
        const bool above = ink.front().y < line;
        for (const kv::Point& p : ink) {
            EXPECT_TRUE(above ? p.y < line && p.y >= line - 17 : p.y > line && p.y <= line + 18)
                << "brake " << brake << ": ink at row " << p.y << ", line at " << line;
        }
    }
}

TEST(SteadyCurveLayer, ThePullOutPointIsDrawnWhereTheCurvePutsIt) {
    for (const tagLabo& settings : {tagLabo(), With(true, 50, 1, 2)}) {
        const tagCaracteristique curve = MesureCaracteristique(settings);
        kv::tools::LayerPen pen(kv::tools::PlotLayerPlace(780));
        kv::tools::DrawSteadyCurve(curve, settings, false, pen);
        const kv::viewer::Layer layer = pen.take();
        // The mark: the disc of the curve's colour (the lines are 2 wide), where 5 x 5 squares
        // of that colour fit; their middle is its centre.
        std::int64_t x_sum = 0, y_sum = 0, n = 0;
        for (std::int64_t y = 0; y < 360; ++y)
            for (std::int64_t x = 455; x < 780; ++x)
                if (Pixels(layer, kv::tools::kCurveColor, x - 2, y - 2, x + 3, y + 3).size() ==
                    25) {
                    x_sum += x;
                    y_sum += y;
                    ++n;
                }
        ASSERT_GT(n, 0) << "no mark";
        const kv::Point at =
            ApplicationPoint(settings, curve.decrochage.omega, curve.decrochage.couple);
        EXPECT_EQ(x_sum, at.x * n) << "resistance " << settings.resistance;
        EXPECT_EQ(y_sum, at.y * n) << "resistance " << settings.resistance;
    }
}

// The layer over a run of settings: the curve measured once and kept while only the pole pairs and
// the load law change (they change what the scales draw, not the curve), measured again for a
// new frequency; each layer shown as drawn from scratch for the settings of the moment.
TEST(PlotLayer, TheCurveIsMeasuredAgainOnlyForASettingThatChangesIt) {
    labo = tagLabo();
    frein.couple = 5;
    textes = &textes_fr;
    kv::tools::PlotLayer plot;
    int slices = 0;
    const auto work = [&] { return plot.work([&] { return ++slices > 0; }); };
    const auto expected = [](bool scales) {
        kv::tools::LayerPen pen(kv::tools::PlotLayerPlace(780));
        if (scales) kv::tools::DrawPlotScales({labo, frein.couple, true, 780}, pen);
        kv::tools::DrawSteadyCurve(MesureCaracteristique(labo), labo, true, pen);
        return pen.take();
    };
    const auto same = [](const std::optional<kv::viewer::Layer>& shown,
                         const kv::viewer::Layer& drawn) {
        return shown && shown->place() == drawn.place() &&
               std::ranges::equal(shown->image.pixels(), drawn.image.pixels());
    };
    const kv::viewer::LayerWanted both{.with_readout = true, .on = true};
    const kv::viewer::LayerWanted curve_only{.with_readout = false, .on = true};

    ASSERT_TRUE(plot.layer(both)) << "the scales, while the curve is measured";
    EXPECT_FALSE(work()) << "measured whole, given the time";
    const int measured = slices;
    EXPECT_GT(measured, 100) << "a slice a point";
    EXPECT_TRUE(same(plot.layer(both), expected(true)));

    labo.paires_poles = 2;
    labo.loi_charge = CHARGE_QUADRATIQUE;
    EXPECT_FALSE(work());
    EXPECT_EQ(slices, measured) << "no slice measured for the pole pairs or the load law";
    EXPECT_TRUE(same(plot.layer(both), expected(true))) << "the scales in rpm for 2 pole pairs";
    EXPECT_TRUE(same(plot.layer(curve_only), expected(false)));
    labo.paires_poles = 3;
    EXPECT_FALSE(plot.layer(curve_only)) << "the curve alone does not change with the poles";

    labo.frequence = 50;
    const std::optional<kv::viewer::Layer> cleared = plot.layer(curve_only);
    EXPECT_TRUE(cleared && cleared->empty()) << "the old curve taken away";
    EXPECT_FALSE(work());
    EXPECT_GT(slices, measured) << "measured again for the new frequency";
    EXPECT_TRUE(same(plot.layer(both), expected(true)));

    labo = tagLabo();
    frein.couple = 0;
}

} // namespace
