#include "tools/instruments/steady_curve_layer.h"

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

} // namespace

void DrawSteadyCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                     LayerPen& pen) {
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
