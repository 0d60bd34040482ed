#include "tools/common/plot_layer.h"

#include "shell/scene.h"
#include "shell/textes.h"
#include "tools/common/lab_settings.h"
#include "tools/common/plot_scales.h"
#include "tools/common/steady_curve_layer.h"

#include <windows.h>

namespace kv::tools {

namespace {

int ClientWidth() {
    const HWND hwnd = FindWindow(g_szClassName, nullptr);
    RECT r{};
    if (hwnd == nullptr || !GetClientRect(hwnd, &r)) return 780;
    return static_cast<int>(r.right - r.left);
}

} // namespace

std::optional<viewer::Layer> PlotLayer::layer(const viewer::LayerWanted& wanted) {
    wanted_ = wanted;
    // Asked after every Tick: with nothing wanted, nothing to work out.
    std::string from;
    std::string settings;
    bool curve = false;
    if (wanted.scales || wanted.steady_curve) {
        settings = LabSettingsText(labo);
        curve = wanted.steady_curve && curve_ && curve_for_ == settings;
    }
    if (wanted.scales || curve) {
        from = settings + ' ' + std::to_string(frein.couple) + ' ' +
               (textes == &textes_en ? "en" : "fr") + ' ' + std::to_string(ClientWidth()) +
               (wanted.scales ? " scales" : "") + (curve ? " curve" : "");
    }
    if (from == shown_) return std::nullopt;
    shown_ = from;
    if (from.empty()) return viewer::Layer{};
    const bool french = textes != &textes_en;
    const int width = ClientWidth();
    LayerPen pen(PlotLayerPlace(width));
    if (wanted.scales) DrawPlotScales(PlotView{labo, frein.couple, french, width}, pen);
    if (curve) DrawSteadyCurve(*curve_, labo, french, pen);
    return pen.take();
}

bool PlotLayer::work(const std::function<bool()>& time_left) {
    if (!wanted_.steady_curve) return false;
    const std::string settings = LabSettingsText(labo);
    if (curve_ && curve_for_ == settings) return false;
    if (!measuring_ || measuring_for_ != settings) {
        measuring_ = std::make_unique<SteadyCurveMeasurement>(labo);
        measuring_for_ = settings;
    }
    while (time_left()) {
        if (measuring_->Step()) continue;
        curve_ = measuring_->Curve();
        curve_for_ = settings;
        measuring_.reset();
        return false;
    }
    return true;
}

} // namespace kv::tools
