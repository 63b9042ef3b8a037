// GDI32 CreateFontA on fontconfig and FreeType.
#include "gdi_fonts.h"
#include "gdi_objects.h"

#include FT_SFNT_NAMES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// GDI's default font is about this tall; used for height 0 and for the stock font.
constexpr int defaultCellHeight = 16;
// Larger sizes make no sense on a bitmap of any size we draw; FreeType also
// refuses sizes beyond 16 bits of pixels.
constexpr double maxPixelsPerEm = 16384.0;

class FreeTypeLibrary {
public:
    FreeTypeLibrary()
    {
        if (FT_Init_FreeType(&library_) != 0) {
            std::fprintf(stderr, "rezuro: FreeType could not start; text will not be drawn\n");
            library_ = nullptr;
        }
    }
    ~FreeTypeLibrary()
    {
        if (library_ != nullptr)
            FT_Done_FreeType(library_);
    }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library get() const { return library_; }

private:
    FT_Library library_ = nullptr;
};

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSet = std::unique_ptr<FcFontSet, FontSetDeleter>;

// Windows-1252 code points for bytes 0x80 to 0x9F; the rest of the code page
// equals Latin-1. Unassigned bytes stay as they are.
constexpr char32_t windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t windows1252ToUnicode(unsigned char code)
{
    return code >= 0x80 && code < 0xA0 ? windows1252High[code - 0x80] : code;
}

// The candidates fontconfig ranks for the request, best first.
FontSet candidateFonts(const FontRequest& request)
{
    if (!FcInit())
        return nullptr;
    Pattern pattern(FcPatternCreate());
    if (!pattern)
        return nullptr;
    if (!request.faceName.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(request.faceName.c_str()));
    const int weight = request.weight <= 0 ? FW_NORMAL : std::min(request.weight, 1000);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    return FontSet(FcFontSort(nullptr, pattern.get(), FcTrue, nullptr, &result));
}

struct FaceMetrics {
    double ascent;  // font units
    double descent; // font units, positive below the baseline
};

// GDI sizes a TrueType cell by the OS/2 table's Windows ascent and descent;
// other faces fall back to the horizontal header, then to the bounding box.
FaceMetrics cellMetrics(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
        return {static_cast<double>(os2->usWinAscent), static_cast<double>(os2->usWinDescent)};
    if (face->ascender - face->descender > 0)
        return {static_cast<double>(face->ascender), static_cast<double>(-face->descender)};
    if (face->bbox.yMax - face->bbox.yMin > 0)
        return {static_cast<double>(face->bbox.yMax), static_cast<double>(-face->bbox.yMin)};
    const double em = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
    return {em * 0.8, em * 0.2};
}

bool faceIsBold(FT_Face face)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 600)
        return true;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

// Picks the charmap: a symbol request, or a face that has nothing but a
// symbol cmap, takes its codes through the MS symbol encoding.
bool selectCharmap(FT_Face face, unsigned charset)
{
    const bool hasUnicode = FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0;
    if ((charset == SYMBOL_CHARSET || !hasUnicode) && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0)
        return true;
    return false;
}

// Opens one candidate and sizes it; false when the file is unusable.
bool openFace(FontFace& font, const char* file, int index, const FontRequest& request)
{
    FT_Library library = freetypeLibrary();
    if (library == nullptr || FT_New_Face(library, file, index, &font.face) != 0) {
        font.face = nullptr;
        return false;
    }
    FT_Face face = font.face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
        return false;

    const FaceMetrics metrics = cellMetrics(face);
    const double unitsPerEm = face->units_per_EM;
    double pixelsPerEm = 0.0;
    if (request.height < 0) {
        pixelsPerEm = -static_cast<double>(request.height);
    } else {
        const int cell = request.height > 0 ? request.height : defaultCellHeight;
        pixelsPerEm = cell * unitsPerEm / (metrics.ascent + metrics.descent);
    }
    pixelsPerEm = std::clamp(pixelsPerEm, 1.0 / 64.0, maxPixelsPerEm);
    const double scale = pixelsPerEm / unitsPerEm;

    font.ascent = static_cast<int>(std::lround(metrics.ascent * scale));
    if (request.height > 0)
        font.cellHeight = request.height;
    else if (request.height == 0)
        font.cellHeight = defaultCellHeight;
    else
        font.cellHeight = font.ascent + static_cast<int>(std::lround(metrics.descent * scale));

    const auto size = static_cast<FT_F26Dot6>(std::lround(pixelsPerEm * 64.0));
    if (FT_Set_Char_Size(face, 0, std::max<FT_F26Dot6>(size, 1), 72, 72) != 0)
        return false;

    font.symbolCodes = selectCharmap(face, request.charset);
    font.emboldened = request.weight >= 600 && !faceIsBold(face);
    font.obliqued = request.italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
    font.antialiased = request.quality != NONANTIALIASED_QUALITY;
    return true;
}

} // namespace

FontFace::~FontFace()
{
    if (face != nullptr)
        FT_Done_Face(face);
}

FT_Library freetypeLibrary()
{
    static FreeTypeLibrary library;
    return library.get();
}

std::unique_ptr<FontFace> realizeFont(const FontRequest& request)
{
    FontSet candidates = candidateFonts(request);
    if (!candidates)
        return nullptr;
    for (int i = 0; i < candidates->nfont; ++i) {
        FcPattern* candidate = candidates->fonts[i];
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(candidate, FC_FILE, 0, &file) != FcResultMatch)
            continue;
        FcPatternGetInteger(candidate, FC_INDEX, 0, &index);

        auto font = std::make_unique<FontFace>();
        if (!openFace(*font, reinterpret_cast<const char*>(file), index, request))
            continue;
        FcChar8* family = nullptr;
        if (FcPatternGetString(candidate, FC_FAMILY, 0, &family) == FcResultMatch)
            font->family = reinterpret_cast<const char*>(family);
        font->file = reinterpret_cast<const char*>(file);
        return font;
    }
    return nullptr;
}

int fallbackCellHeight(const FontRequest& request)
{
    if (request.height == 0)
        return defaultCellHeight;
    return static_cast<int>(std::min<double>(std::abs(static_cast<double>(request.height)), maxPixelsPerEm));
}

FT_UInt glyphIndex(const FontFace& font, unsigned char code)
{
    if (font.symbolCodes) {
        // Symbol fonts put their codes in the private-use page at 0xF000;
        // a few use the plain code.
        const FT_UInt glyph = FT_Get_Char_Index(font.face, 0xF000u + code);
        return glyph != 0 ? glyph : FT_Get_Char_Index(font.face, code);
    }
    return FT_Get_Char_Index(font.face, windows1252ToUnicode(code));
}

int loadGlyph(const FontFace& font, FT_UInt glyph)
{
    // Unhinted outlines keep the shapes the same at every size; advances are
    // rounded to whole pixels, as GDI's are.
    if (FT_Load_Glyph(font.face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0)
        return 0;
    FT_GlyphSlot slot = font.face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (font.obliqued)
            FT_GlyphSlot_Oblique(slot);
        if (font.emboldened)
            FT_GlyphSlot_Embolden(slot);
    }
    return static_cast<int>((slot->advance.x + 32) >> 6);
}

const FontFace* fontFaceOf(HFONT font)
{
    const GdiTag* tag = gdiTagOf(font);
    if (tag == nullptr || tag->kind != GdiKind::font)
        return nullptr;
    return font->face;
}

HFONT WINAPI CreateFontA(int height, int, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD charSet, DWORD,
                         DWORD, DWORD quality, DWORD, LPCSTR faceName)
{
    // Width, escapement, orientation, underline, strike-out and the precision
    // and pitch hints are accepted and not used: text is drawn upright at the
    // face's own aspect, without lines.
    FontRequest request;
    request.height = height;
    request.weight = weight;
    request.italic = italic != 0;
    request.charset = charSet;
    request.quality = quality;
    if (faceName != nullptr)
        request.faceName.assign(faceName, strnlen(faceName, 32)); // LF_FACESIZE

    auto* font = new (std::nothrow) HFONT__{{gdiMagic, GdiKind::font}, nullptr, fallbackCellHeight(request)};
    if (font == nullptr)
        return nullptr;
    // A font without a face still exists, as on Windows, where CreateFontA
    // succeeds and matching happens later; it draws cell backgrounds only.
    font->face = realizeFont(request).release();
    return font;
}

HFONT stockSystemFont()
{
    static HFONT font = CreateFontA(defaultCellHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "");
    return font;
}
