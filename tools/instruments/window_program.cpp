#include "tools/instruments/window_program.h"

#include "tools/instruments/action_table.h"
#include "tools/instruments/focus_regions.h"
#include "tools/instruments/lab_panel.h"
#include "tools/instruments/lab_settings.h"
#include "tools/instruments/options.h"
#include "tools/instruments/plot_layer.h"
#include "tools/instruments/readout.h"

#include "shell/changement_langue.h"
#include "shell/scene.h"
#include "base/textes.h"

#include <windows.h>

#include <iterator>
#include <memory>
#include <optional>

namespace {

kv::viewer::Lang LangOf(const tagTextes* table) {
    return table == &textes_en ? kv::viewer::Lang::En : kv::viewer::Lang::Fr;
}

// The language and look last asked of the window. Keys pressed faster than the window takes its
// messages still go one step each: the next one counts from what was asked, not from what shows.
struct Asked {
    std::size_t language = 0;
    int look = apparence_courante;
    Asked() {
        while (language + 1 < std::size(langues) && langues[language].textes != textes)
            ++language;
    }
};

// What the sound plays: the supply's frequency (the field's speed), and the rotor's speed as a
// frequency of the same kind (the supply's frequency times the rotor's share of the synchronous
// speed); they differ by the rotor frequency, slip x supply frequency, which the readout shows.
// Nothing while the supply is off: no field, nothing to hear.
std::optional<kv::viewer::Hum> MotorHum() {
    if (alim.amplitude <= 0) return std::nullopt;
    const double supply_hz = labo.FrequenceHz();
    const double share = Mas.omega / labo.OmegaSynchrone();
    return kv::viewer::Hum{supply_hz, supply_hz * share};
}

} // namespace

kv::viewer::Program WindowProgram(RunData& data) {
    kv::viewer::Program program;
    program.name = "KORVELINE";
    program.actions = kv::tools::ActionTable();
    program.file_stem = "korveline";
    program.ticks.starting = [&data] { data.BeforeTick(); };
    program.ticks.done = [&data] { data.AfterTick(); };
    // In French, as French spreadsheets read it (';', decimal commas); else as `trace` writes it.
    program.write_data = [&data](kv::image::Output& out) {
        data.Write(out,
                   LangOf(textes) == kv::viewer::Lang::Fr ? CsvStyle::French : CsvStyle::Plain);
    };
    program.readout_title = ReadoutTitle;
    program.readout = [&data](double pace) { return ReadoutRows(data.Balance(), pace); };
    program.focus_regions = FocusRegions();
    const auto plot = std::make_shared<kv::tools::PlotLayer>();
    program.layer = [plot](const kv::viewer::LayerWanted& wanted) { return plot->layer(wanted); };
    program.between_ticks = [plot](const std::function<bool()>& time_left) {
        return plot->work(time_left);
    };
    program.panel = kv::tools::LabPanelOfTheProgram();
    program.recording_comment = [] { return kv::tools::LabRecordingComment(labo); };
    program.hum = MotorHum;
    // The viewer's own texts (its keys, its messages) in the picture's language.
    program.language = LangOf(textes);
    const auto asked = std::make_shared<Asked>();
    program.next_language = [asked] {
        const HWND hwnd = FindWindow(g_szClassName, nullptr);
        if (hwnd == nullptr) return LangOf(textes);
        asked->language = (asked->language + 1) % std::size(langues);
        PostMessage(hwnd, WM_LANGUE, static_cast<WPARAM>(asked->language), 0);
        return LangOf(langues[asked->language].textes);
    };
    program.next_look = [asked] {
        asked->look = (asked->look + 1) % NOMBRE_APPARENCES;
        kv::tools::request_look(apparences[asked->look].nom);
    };
    return program;
}
