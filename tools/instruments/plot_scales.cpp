#include "tools/instruments/plot_scales.h"

#include "panels/courbe.h"
#include "viewer/actions.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kv::tools {

namespace {

constexpr int kBorder = 5;      // half the white border of the plot's frame
constexpr int kMinTickGap = 60; // pixels between two speed graduations, for their numbers

std::string Format(const std::string& format, const std::string& a, const std::string& b = {}) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format.c_str(), a.c_str(), b.c_str());
    return buffer;
}

// The plot's speed for a share of the synchronous speed, in the direction it shows.
double PlotOmega(const tagLabo& settings, double share) {
    const double sync = settings.OmegaSynchrone();
    return share * settings.SensDuTrace(sync) * sync;
}

} // namespace

Rect PlotLayerPlace(int client_width) {
    return Rect{COURBE_GAUCHE - kBorder, 0, std::min(COURBE_DROITE + kBorder, client_width),
                COURBE_BAS + kBorder};
}

void DrawPlotScales(const PlotView& view, LayerPen& pen) {
    // In ISO 8859-1, as the pen writes.
    const auto say = [&](viewer::Text text) {
        return viewer::latin1(view.french ? text.fr : text.en);
    };
    const Rect place = PlotLayerPlace(view.client_width);
    const std::int64_t right = place.right - 2; // the texts' last column, a pixel in
    const int axis = LigneDuTrace(0);
    const int h = LayerPen::text_height();
    const auto number = [&](double v, int decimals) {
        return number_text(v, decimals, view.french);
    };

    // The brake's value by its line: above it, or below near the top; first, as it matters most.
    const int brake_row = LigneDuTrace(view.brake);
    const char* const laws[3] = {"", " x n/n_s", " x (n/n_s)²"};
    std::string brake =
        Format(say({"couple résistant : %s (%s %% de T_N)", "brake torque: %s (%s %% of T_N)"}),
               number(view.brake, 1), number(100 * view.brake / kRatedTorque, 0)) +
        viewer::latin1(laws[view.settings.loi_charge]);
    const std::int64_t brake_x = COURBE_GAUCHE + 40;
    if (brake_row < 0) {
        pen.text(brake_x, 2 * h + 4, brake + say({" (au-dessus du tracé)", " (above the plot)"}),
                 kScaleColor);
    } else {
        pen.text(brake_x, brake_row - h - 1 >= 0 ? brake_row - h - 1 : brake_row + 2, brake,
                 kScaleColor);
    }

    // The torque axis' legend, after the program's "Tu".
    pen.text(COURBE_GAUCHE + 30, COURBE_HAUT,
             say({"(unités du tracé ; % de T_N, T_N = 10)", "(plot units; % of T_N, T_N = 10)"}),
             kScaleColor);

    // Synchronous speed: a dashed line across the plot, named at its top; or, beyond the client
    // area, its value at the right edge.
    const double sync_rpm = view.settings.VitesseSynchroneTrMin();
    const int sync_column = ColonneDuTrace(PlotOmega(view.settings, 1));
    const int top = static_cast<int>(place.top), bottom = static_cast<int>(place.bottom) - 1;
    if (sync_column < right) {
        const Point mark[2] = {Point{sync_column, top}, Point{sync_column, bottom}};
        pen.dashed(mark, 1, kScaleColor, 4, 3);
        const std::string sync = say({"vitesse de synchronisme n_s", "synchronous speed n_s"});
        pen.text(sync_column - 3 - LayerPen::text_width(sync), COURBE_HAUT + h + 2, sync,
                 kScaleColor);
    } else {
        const std::string beyond =
            Format(say({"n_s = %s tr/min »", "n_s = %s rpm »"}), number(sync_rpm, 0));
        pen.text(right - LayerPen::text_width(beyond), COURBE_HAUT + h + 2, beyond, kScaleColor);
    }

    // The speed axis: its legends at its start, under it; graduations every 10, 25, 50 ... % of
    // the synchronous speed, the first that leaves room for their numbers.
    const std::int64_t under = axis + 5;
    pen.text(COURBE_GAUCHE + 4, under, say({"% de n_s", "% of n_s"}), kScaleColor);
    pen.text(COURBE_GAUCHE + 4, under + h, say({"tr/min", "rpm"}), kScaleColor);
    const int sync_pixels = sync_column - COURBE_GAUCHE;
    int step = 10;
    for (const int s : {10, 25, 50, 100, 200, 500, 1000}) {
        step = s;
        if (sync_pixels * s / 100 >= kMinTickGap) break;
    }
    for (int share = step;; share += step) {
        const int column = ColonneDuTrace(PlotOmega(view.settings, share / 100.0));
        if (column >= right || column <= COURBE_GAUCHE) break;
        const Point tick[2] = {Point{column, axis - 4}, Point{column, axis + 5}};
        pen.line(tick, 1, kScaleColor);
        const std::string texts[2] = {std::to_string(share), number(sync_rpm * share / 100, 0)};
        for (int row = 0; row < 2; ++row) {
            const int w = LayerPen::text_width(texts[row]);
            const std::int64_t x = std::min<std::int64_t>(column - w / 2, right - w);
            pen.text(x, under + std::int64_t{row} * h, texts[row], kScaleColor);
        }
    }

    // The torque axis: every 5 units, in units and in % of the rated torque.
    for (int torque = -20; torque <= 20; torque += 5) {
        if (torque == 0) continue;
        const int row = LigneDuTrace(torque);
        const Point tick[2] = {Point{COURBE_GAUCHE - 4, row}, Point{COURBE_GAUCHE + 5, row}};
        pen.line(tick, 1, kScaleColor);
        const std::string value = std::to_string(torque);
        const std::string share = number(100 * torque / kRatedTorque, 0) + " %";
        if (pen.text(COURBE_GAUCHE + 8, row - h / 2, value, kScaleColor))
            pen.text(COURBE_GAUCHE + 34, row - h / 2, share, kScaleColor);
    }
}

} // namespace kv::tools
