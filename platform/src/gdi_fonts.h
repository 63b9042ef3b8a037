// Fonts for the GDI layer: CreateFontA's logical font matched by fontconfig,
// opened with FreeType and sized the way GDI sizes a character cell.
#pragma once

#include <windows.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <string>

// What CreateFontA was asked for, in the terms that matter here.
struct FontRequest {
    int height = 0;      // > 0: cell height, < 0: em height, 0: the default size
    int weight = 0;      // 0 stands for FW_NORMAL
    bool italic = false;
    unsigned charset = 0;
    unsigned quality = 0;
    std::string faceName;
};

// A realised font: one face at one pixel size, with what GDI would synthesise.
struct FontFace {
    FontFace() = default;
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;
    ~FontFace();

    FT_Face face = nullptr;
    std::string family;       // the family fontconfig picked
    std::string file;
    int cellHeight = 0;       // ascent + descent, in pixels
    int ascent = 0;           // baseline offset from the top of the cell
    bool emboldened = false;  // bold asked for, face is not bold
    bool obliqued = false;    // italic asked for, face is upright
    bool symbolCodes = false; // character codes go through the MS symbol cmap
    bool antialiased = true;
};

// Finds and opens the face that best fits the request; null when no usable
// font file exists at all.
std::unique_ptr<FontFace> realizeFont(const FontRequest& request);

// Cell height GDI would use for a request when no face could be opened.
int fallbackCellHeight(const FontRequest& request);

// The glyph a one-byte character code (Windows-1252, or a symbol code) maps to.
FT_UInt glyphIndex(const FontFace& font, unsigned char code);

// Loads the glyph's outline into font.face->glyph with bold and italic
// synthesised; returns its advance width in whole pixels.
int loadGlyph(const FontFace& font, FT_UInt glyph);

// The FreeType library all faces share.
FT_Library freetypeLibrary();

// The font of a handle, for tools and tests that report what was picked.
const FontFace* fontFaceOf(HFONT font);
