// Renders characters of a TrueType face into 1-bit glyph cells with FreeType.
#pragma once

#include "glyph_cell.h"

#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace fontgen {

class GlyphRasterizer {
  public:
    // Throws std::runtime_error when the font cannot be opened.
    GlyphRasterizer(const std::string& font_path, int pixel_size);
    ~GlyphRasterizer();
    GlyphRasterizer(const GlyphRasterizer&) = delete;
    GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

    // `code` is an ISO 8859-1 code, which is also its Unicode code point. Ink that would fall
    // outside the cell is cut; a note goes to `notes` when that happens.
    GlyphCell render(unsigned code, std::string& notes);

    // "Liberation Sans Bold, Version 2.1.5; FreeType 2.12.1": what the output depends on.
    std::string source_description() const;

  private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

} // namespace fontgen
