#include "tools/instruments/steady_curve_layer.h"

#include "model/unites.h"
#include "panels/courbe.h"
#include "shell/suivi_reglages.h"
#include "viewer/actions.h"

#include <cmath>
#include <string>
#include <vector>

namespace kv::tools {

namespace {

// The plot's pixel of a point of the curve, as the Tick would put the operating point there on
// the plot's scale for these settings.
Point PlotPixel(const tagLabo& settings, const tagPointPermanent& point) {
    const int k = settings.SensDuTrace(point.omega);
    return Point{ColonneDuTrace(k * point.omega, EchelleDuTrace(settings)),
                 LigneDuTrace(k * point.couple)};
}

struct Branch {
    bool stable = false;
    std::vector<Point> points;
};

// The curve by slip cut into branches where the stability margin changes sign; two branches
// share the point where it is zero, found between their points by a straight line (the pull-out
// itself under a constant load).
std::vector<Branch> Branches(const tagCaracteristique& curve, const tagLabo& settings) {
    std::vector<tagPointPermanent> points;
    bool pull_out = curve.decrochage_trouve;
    for (const tagPointPermanent& p : curve.points) {
        if (pull_out && p.glissement > curve.decrochage.glissement) {
            points.push_back(curve.decrochage);
            pull_out = false;
        }
        points.push_back(p);
    }
    std::vector<Branch> branches;
    double last_margin = 0;
    Point last{};
    for (const tagPointPermanent& p : points) {
        const double margin = MargeDeStabilite(p, curve.omega_synchrone, settings.loi_charge);
        const Point at = PlotPixel(settings, p);
        const bool stable = margin > 0;
        if (branches.empty()) {
            branches.push_back({stable, {at}});
        } else if (branches.back().stable != stable) {
            const double t = last_margin / (last_margin - margin);
            const Point edge{last.x + std::llround(static_cast<double>(at.x - last.x) * t),
                             last.y + std::llround(static_cast<double>(at.y - last.y) * t)};
            branches.back().points.push_back(edge);
            branches.push_back({stable, {edge, at}});
        } else {
            branches.back().points.push_back(at);
        }
        last_margin = margin;
        last = at;
    }
    return branches;
}

// The line current's scale: 3 pixels per ampere up from the torque's zero, so that the real
// motor's starting current, some 55 A, stays inside the frame.
constexpr double kPixelsPerAmpere = 3;

// The real motor's line current against the speed, with its scale's marks every 10 A on the
// frame's right side and its value at standstill named.
void DrawCurrentCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                      LayerPen& pen) {
    const int zero = LigneDuTrace(0);
    const auto row = [&](double amperes) {
        return zero - static_cast<int>(std::lround(kPixelsPerAmpere * amperes));
    };
    std::vector<Point> points;
    for (const tagPointPermanent& p : curve.points) {
        const int k = settings.SensDuTrace(p.omega);
        points.push_back(Point{ColonneDuTrace(k * p.omega, EchelleDuTrace(settings)),
                               row(p.courant_ligne * AMPERES_PAR_UNITE)});
    }
    pen.line(points, 2, kCurveColor);
    const int h = LayerPen::text_height();
    for (int amperes = 10; row(amperes) > COURBE_HAUT + h; amperes += 10) {
        const int y = row(amperes);
        const Point mark_line[] = {Point{COURBE_DROITE - 12, y}, Point{COURBE_DROITE - 2, y}};
        pen.line(mark_line, 1, kCurveColor);
        const std::string mark = std::to_string(amperes) + " A";
        pen.text(COURBE_DROITE - 16 - LayerPen::text_width(mark), y - h / 2, mark, kCurveColor);
    }
    // The point at standstill is the grid's last.
    if (curve.points.empty()) return;
    const tagPointPermanent& arret = curve.points.back();
    const std::string name =
        viewer::latin1(french ? "courant de ligne, au démarrage : " : "line current, starting: ") +
        number_text(arret.courant_ligne * AMPERES_PAR_UNITE, 1, french) + " A";
    const Point at = points.back();
    for (const int dy : {-h - 6, 8, -2 * h - 10}) {
        if (pen.text(at.x + 8, at.y + dy, name, kCurveColor)) break;
    }
}

} // namespace

void DrawSteadyCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                     LayerPen& pen) {
    if (settings.moteur_reel && settings.courbe_courant) {
        DrawCurrentCurve(curve, settings, french, pen);
        return;
    }
    const std::vector<Branch> branches = Branches(curve, settings);
    const Branch* longest[2] = {nullptr, nullptr}; // unstable, stable
    for (const Branch& b : branches) {
        if (b.stable) {
            pen.line(b.points, 2, kCurveColor);
        } else {
            pen.dashed(b.points, 2, kCurveColor, 7, 5);
        }
        const Branch*& kept = longest[b.stable ? 1 : 0];
        if (kept == nullptr || b.points.size() > kept->points.size()) kept = &b;
    }

    const int h = LayerPen::text_height();
    if (curve.decrochage_trouve) {
        const Point pull_out = PlotPixel(settings, curve.decrochage);
        pen.dot(pull_out, 4, kCurveColor);
        const std::string name =
            viewer::latin1(french ? "décrochage : " : "pull-out: ") +
            number_text(curve.decrochage.couple * settings.SensDuTrace(curve.decrochage.omega), 1,
                        french);
        // Above the point, or else beside it, or below.
        const int w = LayerPen::text_width(name);
        const Point places[] = {{pull_out.x - w / 2, pull_out.y - h - 6},
                                {pull_out.x - w - 8, pull_out.y - h / 2},
                                {pull_out.x + 8, pull_out.y - h / 2},
                                {pull_out.x - w / 2, pull_out.y + 8},
                                {pull_out.x - w / 2, pull_out.y + h + 10}};
        for (const Point& at : places) {
            if (pen.text(at.x, at.y, name, kCurveColor)) break;
        }
    }
    // Each kind of branch named beside its longest, at the first of its points from its middle
    // that leaves room.
    const auto beside = [&](const Branch* branch, const char* text, bool left) {
        if (branch == nullptr) return;
        const std::vector<Point>& points = branch->points;
        const int width = LayerPen::text_width(text);
        const std::size_t middle = points.size() / 2;
        for (std::size_t k = 0; k <= middle; ++k) {
            for (const std::size_t at : {middle - k, middle + k}) {
                if (at >= points.size()) continue;
                const Point p = points[at];
                if (pen.text(left ? p.x - width - 6 : p.x + 6, p.y + 4, text, kCurveColor)) return;
            }
        }
    };
    beside(longest[0], french ? "branche instable" : "unstable branch", false);
    beside(longest[1], french ? "branche stable" : "stable branch", true);
}

} // namespace kv::tools
