// Evaluates pieces of the path tracer on the GPU: the library text (everything
// but its main) plus a small test main, drawn into a float target with one
// pixel per case and read back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace probe {

using Vec3 = std::array<float, 3>;
using Vec4 = std::array<float, 4>;

// Makes the GL context on first use; false when there is none.
bool ready();

// Values of the uniform u, (target width, target height, sample count).
struct Uniforms {
    float width = 1920.0f;
    float height = 1080.0f;
    float samples = 1.0f;
};

// What fr (unit 0) holds under pixel k of a probe; without it fr reads as zero.
using EarlierSum = std::vector<Vec4>;

// Runs `testMain` once per case. The text is appended to the library and must
// define main(); case k is drawn at pixel (k, 0), so gl_FragCoord is
// (k + 0.5, 0.5), and its inputs are read with `arg(j)` (the j-th vec4 of the
// case). Whatever main writes to c comes back. Throws std::runtime_error with
// the compile log if the text does not build.
std::vector<Vec3> run(const std::string& testMain, const std::vector<std::vector<Vec4>>& cases,
                      const Uniforms& uniforms = {}, const EarlierSum& earlier = {});

// The path tracer's own main, as the program runs it (the text after the
// library). A probe may put a macro before it to look inside: with
// "#define pt(o,d) d\n" in front, main writes its camera ray's direction
// (plus the earlier sum).
std::string entryText();

// Replaces the texture that the probes see as lb (unit 1) or st (unit 2):
// size x size RGBA bytes, rows bottom-up, linear filtering, repeat wrapping.
// By default every texel of both is 255 (the lettering field is open
// everywhere, the label white).
void setLabel(const std::vector<std::uint8_t>& rgba, int size);
void setLettering(const std::vector<std::uint8_t>& rgba, int size);
void resetTextures();

// Compiles a whole fragment shader text with the driver; false with the
// log in *log when it does not compile.
bool compiles(const std::string& text, std::string* log);

// A texture of one grey value, size x size.
std::vector<std::uint8_t> uniformTexture(int size, std::uint8_t value);

// Where the text places a name of one of the library's function-like macros
// (x, q) right before ')' once they are defined, the first such place (an
// excerpt); empty if none. Mesa's preprocessor can fail on such text.
std::string macroBeforeCloseParen(const std::string& text);

} // namespace probe
