#include "glyph_rasterizer.h"

#include <stdexcept>

#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H

namespace fontgen {

namespace {

// Hinting on, with the TrueType driver's own bytecode hinter (never the auto-hinter), outlines
// only (embedded bitmaps would bypass the hinter). The normal target is deliberate: the mono
// target switches the interpreter to its full horizontal hinting, which rounds 'A' to 8 px and
// makes "ALIM" 28 px instead of 29.
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_NO_AUTOHINT | FT_LOAD_NO_BITMAP;

void check(FT_Error error, const char* what) {
    if (error != 0)
        throw std::runtime_error(std::string(what) + " failed (FreeType error " +
                                 std::to_string(error) + ")");
}

bool mono_bit(const FT_Bitmap& bitmap, unsigned row, unsigned col) {
    const unsigned char byte = bitmap.buffer[static_cast<long>(row) * bitmap.pitch + col / 8];
    return ((byte >> (7 - col % 8)) & 1u) != 0;
}

std::string hex(unsigned code) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[(code >> 4) & 15u] + digits[code & 15u];
}

} // namespace

GlyphRasterizer::GlyphRasterizer(const std::string& font_path, int pixel_size) {
    check(FT_Init_FreeType(&library_), "FT_Init_FreeType");
    // Pinned so that FREETYPE_PROPERTIES in the environment cannot change the output.
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    check(FT_Property_Set(library_, "truetype", "interpreter-version", &interpreter),
          "setting the TrueType interpreter version");
    check(FT_New_Face(library_, font_path.c_str(), 0, &face_), ("opening " + font_path).c_str());
    check(FT_Select_Charmap(face_, FT_ENCODING_UNICODE), "selecting the Unicode charmap");
    check(FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixel_size)), "FT_Set_Pixel_Sizes");
}

GlyphRasterizer::~GlyphRasterizer() {
    if (face_ != nullptr) FT_Done_Face(face_);
    if (library_ != nullptr) FT_Done_FreeType(library_);
}

GlyphCell GlyphRasterizer::render(unsigned code, std::string& notes) {
    if (FT_Get_Char_Index(face_, code) == 0)
        throw std::runtime_error("the font has no glyph for " + hex(code));
    check(FT_Load_Char(face_, code, kLoadFlags), "FT_Load_Char");
    const FT_GlyphSlot slot = face_->glyph;
    check(FT_Render_Glyph(slot, FT_RENDER_MODE_MONO), "FT_Render_Glyph");
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.width > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        throw std::runtime_error("FreeType did not give a 1-bit bitmap for " + hex(code));

    GlyphCell cell;
    cell.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (cell.advance <= 0 || cell.advance > kMaxAdvance)
        throw std::runtime_error("advance of " + hex(code) + " is out of range");

    // Every glyph's ink stays inside its cell, as in a Windows bitmap font. Overhanging ink is
    // cut rather than moved, so that stems stay where the hinter put them and line up in a word.
    int cut = 0;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            if (!mono_bit(bitmap, row, col)) continue;
            const int x = slot->bitmap_left + static_cast<int>(col);
            const int y = kAscent - slot->bitmap_top + static_cast<int>(row);
            if (x < 0 || x >= cell.advance || y < 0 || y >= kCellHeight) {
                ++cut;
                continue;
            }
            cell.set(x, y);
        }
    if (cut > 0)
        notes += hex(code) + ": ink outside the cell cut (" + std::to_string(cut) + " px)\n";
    return cell;
}

std::string GlyphRasterizer::source_description() const {
    std::string version;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face_);
    for (FT_UInt i = 0; i < count && version.empty(); ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face_, i, &name) != 0 || name.name_id != TT_NAME_ID_VERSION_STRING)
            continue;
        // Windows and Unicode names are UTF-16BE; a version string is plain ASCII in either.
        const bool utf16 = name.platform_id == TT_PLATFORM_MICROSOFT ||
                           name.platform_id == TT_PLATFORM_APPLE_UNICODE;
        for (FT_UInt k = utf16 ? 1 : 0; k < name.string_len; k += utf16 ? 2 : 1)
            version += static_cast<char>(name.string[k]);
    }
    FT_Int major = 0;
    FT_Int minor = 0;
    FT_Int patch = 0;
    FT_Library_Version(library_, &major, &minor, &patch);
    return std::string(face_->family_name) + " " + face_->style_name + ", " + version +
           "; FreeType " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(patch);
}

} // namespace fontgen
