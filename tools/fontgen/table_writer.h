// Writes the glyph cells as the C++ table that platform/font compiles in.
#pragma once

#include "glyph_cell.h"

#include <array>
#include <ostream>
#include <string>

namespace fontgen {

using FontTable = std::array<GlyphCell, 256>;

// The codes with a glyph of their own; the others show the default character.
inline bool printable(unsigned code) {
    return (code >= 0x20 && code <= 0x7E) || code >= 0xA0;
}

// `source` names the font and the FreeType version the table came from.
void write_table(std::ostream& out, const FontTable& table, const std::string& source);

} // namespace fontgen
