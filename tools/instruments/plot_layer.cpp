#include "tools/instruments/plot_layer.h"

#include "shell/scene.h"
#include "base/textes.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/plot_scales.h"
#include "tools/instruments/steady_curve_layer.h"

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
    // Asked after every Tick: with nothing wanted, nothing to work out. The scales show every
    // setting and the brake; the curve only the settings it was measured for.
    const bool scales = wanted.with_readout;
    const bool curve = wanted.on && curve_ && MemeCaracteristique(curve_for_, labo);
    // The load law of the moment sorts the curve's points into branches.
    tagLabo drawn_for = curve_for_;
    drawn_for.loi_charge = labo.loi_charge;
    drawn_for.courbe_courant = labo.courbe_courant;
    std::string from;
    if (scales || curve) {
        from.append(textes == &textes_en ? "en " : "fr ").append(std::to_string(ClientWidth()));
        if (scales) {
            from.append(" scales ").append(LabSettingsText(labo));
            from.append(" ").append(std::to_string(frein.couple));
        }
        if (curve) from.append(" curve ").append(LabSettingsText(drawn_for));
    }
    if (from == shown_) return std::nullopt;
    shown_ = from;
    if (from.empty()) return viewer::Layer{};
    const bool french = textes != &textes_en;
    const int width = ClientWidth();
    LayerPen pen(PlotLayerPlace(width));
    if (scales) DrawPlotScales(PlotView{labo, frein.couple, french, width}, pen);
    if (curve) DrawSteadyCurve(*curve_, drawn_for, french, pen);
    return pen.take();
}

bool PlotLayer::work(const std::function<bool()>& time_left) {
    if (!wanted_.on) return false;
    if (curve_ && MemeCaracteristique(curve_for_, labo)) return false;
    if (!measuring_ || !MemeCaracteristique(measuring_->labo, labo))
        measuring_ = std::make_unique<tagMesureCaracteristique>(labo);
    while (time_left()) {
        if (measuring_->Pas()) continue;
        curve_ = measuring_->courbe;
        curve_for_ = measuring_->labo;
        measuring_.reset();
        return false;
    }
    return true;
}

} // namespace kv::tools
