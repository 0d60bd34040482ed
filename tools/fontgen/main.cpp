// korveline-fontgen FONT OUTPUT: renders the system font from a TrueType font into the table
// platform/font compiles in. Run once by hand when the font changes; nothing runs it at build time.
#include "glyph_rasterizer.h"
#include "table_writer.h"

#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string_view>

namespace {

constexpr int kPixelSize = 12;

// Windows draws the font's default character for codes without a glyph; ours is a hollow box as
// wide as 'n' and as tall as 'H', sitting on the baseline.
fontgen::GlyphCell default_character(const fontgen::FontTable& table) {
    fontgen::GlyphCell box;
    box.advance = table['n'].advance;
    int top = 0;
    while (top < fontgen::kAscent && table['H'].rows[top] == 0)
        ++top;
    const int left = 1;
    const int right = box.advance - 2;
    const int bottom = fontgen::kAscent - 1;
    for (int x = left; x <= right; ++x) {
        box.set(x, top);
        box.set(x, bottom);
    }
    for (int y = top; y <= bottom; ++y) {
        box.set(left, y);
        box.set(right, y);
    }
    return box;
}

int extent(const fontgen::FontTable& table, std::string_view text) {
    int width = 0;
    for (const char c : text)
        width += table[static_cast<unsigned char>(c)].advance;
    return width;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: korveline-fontgen FONT.ttf OUTPUT.inc\n";
        return 2;
    }
    try {
        fontgen::GlyphRasterizer rasterizer(argv[1], kPixelSize);
        fontgen::FontTable table{};
        std::string notes;
        for (unsigned code = 0; code < table.size(); ++code)
            if (fontgen::printable(code)) table[code] = rasterizer.render(code, notes);
        const fontgen::GlyphCell box = default_character(table);
        for (unsigned code = 0; code < table.size(); ++code)
            if (!fontgen::printable(code)) table[code] = box;

        std::ostringstream text;
        fontgen::write_table(text, table, rasterizer.source_description());
        std::ofstream out(argv[2], std::ios::binary);
        out << text.str();
        if (!out.flush()) {
            std::cerr << "korveline-fontgen: cannot write " << argv[2] << "\n";
            return 1;
        }
        std::cerr << notes << "\"ALIM\" is " << extent(table, "ALIM") << " px wide\n";
    } catch (const std::exception& e) {
        std::cerr << "korveline-fontgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
