// Writes the glyph cells as the C++ table that platform/font compiles in.
#pragma once

#include "glyph_cell.h"

#include <array>
#include <ostream>
#include <string>

namespace fontgen {

using FontTable = std::array<GlyphCell, 256>;

// `source` names the font and the FreeType version the table came from.
void write_table(std::ostream& out, const FontTable& table, const std::string& source);

} // namespace fontgen
