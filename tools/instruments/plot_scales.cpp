#include "tools/instruments/plot_scales.h"

#include "panels/courbe.h"
#include "panels/frein.h"
#include "shell/suivi_reglages.h"
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
    // The plot's scale for these settings (the application's once its next Tick has seen them),
    // and the torque axis, at speed zero.
    const tagEchelleTrace scale = EchelleDuTrace(view.settings);
    const auto column_of = [&](double share) {
        return ColonneDuTrace(PlotOmega(view.settings, share), scale);
    };
    const int zero = column_of(0);
    const int sync_column = column_of(1);

    // The brake's value by its line: above it, or below near the top; first, as it matters most.
    // A load whose torque follows the speed reaches the brake's value at synchronous speed.
    const int form = FormeDeLaCharge(view.settings);
    const double shown = SigneDeLaCharge(view.settings) * view.brake;
    const int brake_row = LigneDuTrace(shown);
    const char* const laws[4] = {"", " x n/n_s", " x (n/n_s)²", ""};
    const bool driving = view.settings.loi_charge == CHARGE_ENTRAINANTE;
    std::string brake =
        Format(
            driving
                ? say({"charge entraînante : %s (%s %% de T_N)", "driving load: %s (%s %% of T_N)"})
                : say({"couple résistant : %s (%s %% de T_N)", "brake torque: %s (%s %% of T_N)"}),
            number(shown, 1), number(100 * shown / kRatedTorque, 0)) +
        viewer::latin1(laws[view.settings.loi_charge]);
    const bool curved = form == FORME_DROITE || form == FORME_PARABOLE;
    const int brake_width = LayerPen::text_width(brake);
    std::int64_t brake_x = curved ? sync_column - 6 - brake_width
                                  : std::min<std::int64_t>(zero + 40, right - brake_width);
    brake_x = std::max<std::int64_t>(brake_x, place.left + 2);
    if (brake_row < 0) {
        pen.text(brake_x, 2 * h + 4, brake + say({" (au-dessus du tracé)", " (above the plot)"}),
                 kScaleColor);
    } else {
        // Under a line below the speed axis, clear of the axis' numbers.
        const bool above = shown >= 0 && brake_row - h - 1 >= 0;
        pen.text(brake_x, above ? brake_row - h - 1 : brake_row + 2, brake, kScaleColor);
    }

    // The torque axis' legend, after the program's "Tu"; on the four-quadrant plot, where no
    // curve goes: under the speed axis, left of the torque axis, in two lines.
    const std::string units[2] = {say({"unités du tracé ;", "plot units;"}),
                                  say({"% de T_N, T_N = 10", "% of T_N, T_N = 10"})};
    if (scale.quatre_quadrants) {
        for (int line = 0; line < 2; ++line) {
            const int w = LayerPen::text_width(units[line]);
            pen.text(std::max<std::int64_t>(zero - 6 - w, place.left + 2),
                     COURBE_BAS - (2 - line) * h - 4, units[line], kScaleColor);
        }
    } else {
        pen.text(zero + 30, COURBE_HAUT, "(" + units[0] + " " + units[1] + ")", kScaleColor);
    }

    // Synchronous speed: a dashed line across the plot, named at its top (on the four-quadrant
    // plot, too narrow for it, by its graduation, 100 %); or, beyond the client area, its value
    // at the right edge.
    const double sync_rpm = view.settings.VitesseSynchroneTrMin();
    const int top = static_cast<int>(place.top), bottom = static_cast<int>(place.bottom) - 1;
    if (sync_column < right) {
        const Point mark[2] = {Point{sync_column, top}, Point{sync_column, bottom}};
        pen.dashed(mark, 1, kScaleColor, 4, 3);
        const std::string sync = say({"vitesse de synchronisme n_s", "synchronous speed n_s"});
        if (!scale.quatre_quadrants) {
            pen.text(sync_column - 3 - LayerPen::text_width(sync), COURBE_HAUT + h + 2, sync,
                     kScaleColor);
        }
    } else {
        const std::string beyond =
            Format(say({"n_s = %s tr/min »", "n_s = %s rpm »"}), number(sync_rpm, 0));
        pen.text(right - LayerPen::text_width(beyond), COURBE_HAUT + h + 2, beyond, kScaleColor);
    }

    // The speed axis: its legends at its start, under it; graduations every 10, 25, 50 ... % of
    // the synchronous speed, the first that leaves room for their numbers, both ways from zero.
    const std::int64_t under = axis + 5;
    pen.text(zero + 4, under, say({"% de n_s", "% of n_s"}), kScaleColor);
    pen.text(zero + 4, under + h, say({"tr/min", "rpm"}), kScaleColor);
    const int sync_pixels = sync_column - zero;
    int step = 10;
    for (const int s : {10, 25, 50, 100, 200, 500, 1000}) {
        step = s;
        if (sync_pixels * s / 100 >= kMinTickGap) break;
    }
    for (const int way : {1, -1}) {
        for (int share = way * step;; share += way * step) {
            const int column = column_of(share / 100.0);
            if (column >= right || column <= COURBE_GAUCHE) break;
            const Point tick[2] = {Point{column, axis - 4}, Point{column, axis + 5}};
            pen.line(tick, 1, kScaleColor);
            const std::string texts[2] = {std::to_string(share), number(sync_rpm * share / 100, 0)};
            for (int row = 0; row < 2; ++row) {
                const int w = LayerPen::text_width(texts[row]);
                const std::int64_t x = std::max<std::int64_t>(
                    std::min<std::int64_t>(column - w / 2, right - w), place.left + 2);
                pen.text(x, under + std::int64_t{row} * h, texts[row], kScaleColor);
            }
        }
    }

    // The torque axis: every 5 units, in units and in % of the rated torque.
    for (int torque = -20; torque <= 20; torque += 5) {
        if (torque == 0) continue;
        const int row = LigneDuTrace(torque);
        const Point tick[2] = {Point{zero - 4, row}, Point{zero + 5, row}};
        pen.line(tick, 1, kScaleColor);
        const std::string value = std::to_string(torque);
        const std::string share = number(100 * torque / kRatedTorque, 0) + " %";
        if (pen.text(zero + 8, row - h / 2, value, kScaleColor))
            pen.text(zero + 34, row - h / 2, share, kScaleColor);
    }

    // The four-quadrant plot names how the machine works in each part: the torque in the field's
    // direction driving below synchronism, braking above it and against the rotation.
    if (scale.quatre_quadrants) {
        const std::string motor = say({"moteur", "motor"});
        const std::string generator = say({"génératrice", "generator"});
        const std::string plugging = say({"contre-courant", "plugging"});
        pen.text(zero + 8, axis - h - 3, motor, kScaleColor);
        const std::int64_t line = h;
        for (std::int64_t row = under + 2 * line + 2; row < COURBE_BAS - 3 * line; row += line) {
            if (pen.text(sync_column + 4, row, generator, kScaleColor)) break;
        }
        pen.text(zero - 6 - LayerPen::text_width(plugging), axis - h - 3, plugging, kScaleColor);
    }
}

} // namespace kv::tools
