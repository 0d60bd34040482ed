#include "tools/instruments/steady_curve_layer.h"

#include "panels/courbe.h"
#include "viewer/actions.h"

#include <string>
#include <vector>

namespace kv::tools {

namespace {

// The plot's pixel of a point of the curve, as the Tick would put the operating point there.
Point PlotPixel(const tagLabo& settings, const tagPointPermanent& point) {
    const int k = settings.SensDuTrace(point.omega);
    return Point{ColonneDuTrace(k * point.omega), LigneDuTrace(k * point.couple)};
}

} // namespace

void DrawSteadyCurve(const tagCaracteristique& curve, const tagLabo& settings, bool french,
                     LayerPen& pen) {
    // The branches meet at the pull-out point, which lies between two points of the grid.
    const Point pull_out = PlotPixel(settings, curve.decrochage);
    std::vector<Point> stable, unstable;
    for (const tagPointPermanent& p : curve.points) {
        if (p.stable) stable.push_back(PlotPixel(settings, p));
    }
    stable.push_back(pull_out);
    unstable.push_back(pull_out);
    for (const tagPointPermanent& p : curve.points) {
        if (!p.stable) unstable.push_back(PlotPixel(settings, p));
    }
    pen.line(stable, 2, kCurveColor);
    pen.dashed(unstable, 2, kCurveColor, 7, 5);
    pen.dot(pull_out, 4, kCurveColor);

    const int h = LayerPen::text_height();
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
    // Each branch named beside it, at the first of its points from its middle that leaves room.
    const auto beside = [&](const std::vector<Point>& branch, const char* text, bool left) {
        const int width = LayerPen::text_width(text);
        const std::size_t middle = branch.size() / 2;
        for (std::size_t k = 0; k < middle; ++k) {
            for (const std::size_t at : {middle - k, middle + k}) {
                const Point p = branch[at];
                if (pen.text(left ? p.x - width - 6 : p.x + 6, p.y + 4, text, kCurveColor)) return;
            }
        }
    };
    beside(unstable, french ? "branche instable" : "unstable branch", false);
    beside(stable, french ? "branche stable" : "stable branch", true);
}

} // namespace kv::tools
