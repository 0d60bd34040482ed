// The desktop window's laboratory panel: the settings of lab_settings' table as the viewer's
// rows, in the picture's language, and a step of one setting up or down, applied to the running
// model as --lab and the page's Lab panel apply theirs.
#pragma once

#include "model/labo.h"
#include "tools/instruments/lab_settings.h"
#include "viewer/rows_panel.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kv::tools {

// The title and a row a setting (ISO 8859-1): its name, then its value, between "<" and ">"
// where a step down or up is left.
std::string LabPanelTitle(viewer::Lang lang);
std::vector<viewer::BoxRow> LabPanelRows(const tagLabo& labo, viewer::Lang lang);

// Steps row `row`'s setting in `labo` to the next or the previous word, or the next mark of the
// setting's scale (frequency and voltage by tens, the resistance doubled or halved), a value
// between marks going to the nearest one that way; false, `labo` untouched, at the range's end.
bool StepLabRow(std::size_t row, int step, tagLabo& labo);

// The panel over the program's own settings (the global `labo`): the rows of the settings that
// apply (a start's parameters for that start, the real motor's values for the real motor).
viewer::PanelRows LabPanelOfTheProgram();

} // namespace kv::tools
