// Paints the label and the lettering bitmaps the way the renderer does at
// start-up and writes them as PAM files, so that the text drawing of two
// platforms (Windows GDI or Wine, our own layer on FreeType) can be compared
// pixel for pixel.
// Usage: rezuro-texture-dump <out dir>   writes label.pam and lettering.pam
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "textures/labelTexture.h"
#include "textures/letteringTexture.h"

namespace {

constexpr int side = 1024;

// The painters' rows run bottom-up with bytes blue, green, red, fourth byte;
// the file holds rows top-down as red, green, blue, fourth byte.
bool writePam(const std::filesystem::path& file, const void* bits)
{
    const auto* bytes = static_cast<const unsigned char*>(bits);
    std::vector<unsigned char> rows(std::size_t(side) * side * 4);
    for (int y = 0; y < side; y++) {
        const unsigned char* in = bytes + std::size_t(side - 1 - y) * side * 4;
        unsigned char* out = rows.data() + std::size_t(y) * side * 4;
        for (int x = 0; x < side; x++) {
            out[4 * x + 0] = in[4 * x + 2];
            out[4 * x + 1] = in[4 * x + 1];
            out[4 * x + 2] = in[4 * x + 0];
            out[4 * x + 3] = in[4 * x + 3];
        }
    }
    std::ofstream stream(file, std::ios::binary);
    stream << "P7\nWIDTH " << side << "\nHEIGHT " << side << "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
    stream.write(reinterpret_cast<const char*>(rows.data()), std::streamsize(rows.size()));
    return bool(stream);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rezuro-texture-dump <out dir>\n");
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    // Same order as at start-up: the lettering reuses the label's bitmap header.
    const void* label = paintLabelTexture();
    if (!writePam(dir / "label.pam", label)) {
        std::fprintf(stderr, "rezuro-texture-dump: cannot write %s\n", (dir / "label.pam").string().c_str());
        return 1;
    }
    const void* lettering = paintLetteringTexture();
    if (!writePam(dir / "lettering.pam", lettering)) {
        std::fprintf(stderr, "rezuro-texture-dump: cannot write %s\n", (dir / "lettering.pam").string().c_str());
        return 1;
    }
    std::printf("wrote label.pam and lettering.pam in %s\n", dir.string().c_str());
    return 0;
}
