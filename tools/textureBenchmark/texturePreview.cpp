// Writes the painted label and lettering as PNG files, top row first, and
// tells which faces the font mapper picked for the painters' fonts.
//   rezuro-texture-preview [output directory]   (default: /tmp)
#include "gdi_fonts.h"
#include "textures/labelTexture.h"
#include "textures/letteringTexture.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int side = 1024;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// GDI's bytes are blue, green, red with the bottom row first; PNG wants
// red, green, blue with the top row first.
bool writePng(const std::filesystem::path& path, const std::vector<std::uint8_t>& rgb)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::cerr << "PNG encoding failed for " << path << "\n";
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < side; ++y)
        png_write_row(png, rgb.data() + static_cast<std::size_t>(y) * side * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

std::vector<std::uint8_t> asPicture(const void* bits)
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(side) * side * 3);
    const auto* bytes = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::uint8_t* p = bytes + ((static_cast<std::size_t>(side - 1 - y)) * side + x) * 4;
            std::uint8_t* out = rgb.data() + (static_cast<std::size_t>(y) * side + x) * 3;
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
        }
    return rgb;
}

// The first byte alone, as grey: what the lettering slab reads.
std::vector<std::uint8_t> firstByteAsGrey(const void* bits)
{
    std::vector<std::uint8_t> rgb = asPicture(bits);
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        rgb[i] = rgb[i + 1] = rgb[i + 2];
    return rgb;
}

void reportFace(const char* asked, int height, int weight, bool italic, DWORD charset)
{
    HFONT font = CreateFontA(height, 0, 0, 0, weight, italic, 0, 0, charset, 0, 0, ANTIALIASED_QUALITY, 0, asked);
    const FontFace* face = fontFaceOf(font);
    std::cout << "  \"" << asked << "\" " << height << (weight >= 600 ? " bold" : "") << (italic ? " italic" : "")
              << (charset == SYMBOL_CHARSET ? " symbol" : "") << " -> ";
    if (face == nullptr) {
        std::cout << "no usable font\n";
        return;
    }
    std::cout << face->family << " (" << face->file << ")" << (face->emboldened ? ", bold synthesised" : "")
              << (face->obliqued ? ", italic synthesised" : "") << (face->symbolCodes ? ", symbol codes" : "")
              << ", cell " << face->cellHeight << ", ascent " << face->ascent << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path directory = argc > 1 ? argv[1] : "/tmp";
    std::cout << "Faces picked:\n";
    reportFace("Gabriola", 380, FW_BOLD, true, ANSI_CHARSET);
    reportFace("Gabriola", 95, FW_BOLD, false, ANSI_CHARSET);
    reportFace("Webdings", 400, FW_NORMAL, false, SYMBOL_CHARSET);
    reportFace("Wingdings", 340, FW_NORMAL, false, SYMBOL_CHARSET);
    reportFace("Carlito", 60, FW_NORMAL, false, ANSI_CHARSET);
    reportFace("Tahoma", 256, FW_BOLD, false, ANSI_CHARSET);

    const void* label = paintLabelTexture();
    const void* lettering = paintLetteringTexture();
    if (label == nullptr || lettering == nullptr) {
        std::cerr << "a painter returned no pixels\n";
        return 1;
    }
    bool ok = writePng(directory / "rezuro-label.png", asPicture(label));
    ok = writePng(directory / "rezuro-lettering.png", asPicture(lettering)) && ok;
    ok = writePng(directory / "rezuro-lettering-field.png", firstByteAsGrey(lettering)) && ok;
    if (ok)
        std::cout << "Wrote rezuro-label.png, rezuro-lettering.png and rezuro-lettering-field.png to " << directory
                  << "\n";
    return ok ? 0 : 1;
}
