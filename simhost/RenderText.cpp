// Text for the screen renderer: a TrueType font through FreeType, one character cell of the
// simulator's reported width each, so that the plug-in's layout (XPLMMeasureString) holds in the picture.
#include <cstdlib>
#include <map>
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "Render.h"

namespace simhost {
namespace detail {

namespace {

// Debian's fonts-dejavu-core: monospaced faces whose glyphs fit the 8-pixel cell at 12 pixels, and a
// proportional bold one for window titles, which the plug-in never measures.
const char *const kFontFiles[kFontStyles] = {"/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                             "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
                                             "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"};
const int kPixelSize = 12;

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0;
    int advance = 0; ///< pixels to the next glyph of a proportional text
    std::vector<unsigned char> coverage;
};

struct Fonts {
    FT_Library library = nullptr;
    FT_Face faces[kFontStyles] = {};
    std::string error;
    std::map<std::pair<unsigned, int>, Glyph> glyphs;

    Fonts()
    {
        if (FT_Init_FreeType(&library) != 0) {
            error = "FreeType cannot start";
            return;
        }
        const char *chosen = getenv("SIMHOST_FONT");
        for (int i = 0; i < kFontStyles; i++) {
            const char *path = chosen != nullptr && *chosen ? chosen : kFontFiles[i];
            if (FT_New_Face(library, path, 0, &faces[i]) != 0 ||
                FT_Set_Pixel_Sizes(faces[i], 0, kPixelSize) != 0) {
                faces[i] = nullptr;
                error = std::string("cannot open the font ") + path +
                        " (Debian package fonts-dejavu-core; SIMHOST_FONT names another TrueType file)";
                return;
            }
        }
    }
    ~Fonts()
    {
        for (FT_Face face : faces)
            if (face != nullptr)
                FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }

    const Glyph &Get(unsigned codepoint, FontStyle style)
    {
        auto key = std::make_pair(codepoint, (int)style);
        auto found = glyphs.find(key);
        if (found != glyphs.end())
            return found->second;
        Glyph &glyph = glyphs[key];
        FT_Face face = faces[style];
        if (FT_Load_Char(face, codepoint, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
            return glyph;
        const FT_Bitmap &bitmap = face->glyph->bitmap;
        glyph.left = face->glyph->bitmap_left;
        glyph.top = face->glyph->bitmap_top;
        glyph.width = (int)bitmap.width;
        glyph.rows = (int)bitmap.rows;
        glyph.advance = (int)((face->glyph->advance.x + 32) >> 6);
        glyph.coverage.resize((size_t)glyph.width * (size_t)glyph.rows);
        for (int row = 0; row < glyph.rows; row++)
            for (int col = 0; col < glyph.width; col++)
                glyph.coverage[(size_t)(row * glyph.width + col)] = bitmap.buffer[row * bitmap.pitch + col];
        return glyph;
    }
};

Fonts &TheFonts()
{
    static Fonts fonts;
    return fonts;
}

/// The next code point of a UTF-8 text; a stray byte stands for itself.
unsigned NextCodepoint(const std::string &text, size_t &i)
{
    unsigned char c = (unsigned char)text[i++];
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + (size_t)extra > text.size())
        return c;
    unsigned codepoint = c & (0x3Fu >> extra);
    for (int k = 0; k < extra; k++) {
        unsigned char next = (unsigned char)text[i + (size_t)k];
        if ((next & 0xC0) != 0x80)
            return c;
        codepoint = (codepoint << 6) | (next & 0x3Fu);
    }
    i += (size_t)extra;
    return codepoint;
}

} // namespace

bool FontReady(std::string &error)
{
    error = TheFonts().error;
    return error.empty();
}

int TextCells(const std::string &text)
{
    int cells = 0;
    for (size_t i = 0; i < text.size(); cells++)
        NextCodepoint(text, i);
    return cells;
}

int TitleWidth(const std::string &text)
{
    Fonts &fonts = TheFonts();
    int width = 0;
    for (size_t i = 0; fonts.error.empty() && i < text.size();)
        width += fonts.Get(NextCodepoint(text, i), kTitleFont).advance;
    return width;
}

bool DrawText(Canvas &canvas, int x, int y, const std::string &text, Rgb colour, FontStyle style, int maxChars)
{
    Fonts &fonts = TheFonts();
    if (!fonts.error.empty())
        return false;
    int cell = 0, penX = x;
    for (size_t i = 0; i < text.size() && (maxChars < 0 || cell < maxChars); cell++) {
        unsigned codepoint = NextCodepoint(text, i);
        const Glyph &glyph = fonts.Get(codepoint, style);
        int originX = (style == kTitleFont ? penX : x + cell * kCharWidth) + glyph.left;
        penX += glyph.advance;
        for (int row = 0; row < glyph.rows; row++)
            for (int col = 0; col < glyph.width; col++) {
                unsigned char coverage = glyph.coverage[(size_t)(row * glyph.width + col)];
                if (coverage != 0)
                    canvas.Blend(originX + col, y + glyph.top - 1 - row, colour, coverage / 255.0f);
            }
    }
    return true;
}

} // namespace detail
} // namespace simhost
