#include "tools/still/pngWriter.h"

#include "tools/still/errors.h"

#include <array>
#include <string_view>

namespace still {
namespace {

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::uint8_t b : bytes) {
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

class ByteWriter {
public:
    std::vector<std::uint8_t> bytes;

    void u8(std::uint8_t v) { bytes.push_back(v); }
    void u16le(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32be(std::uint32_t v)
    {
        for (int shift = 24; shift >= 0; shift -= 8) {
            u8(static_cast<std::uint8_t>(v >> shift));
        }
    }
    void append(std::span<const std::uint8_t> more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
};

void chunk(ByteWriter& out, std::string_view type, std::span<const std::uint8_t> data)
{
    out.u32be(static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.bytes.size();
    for (char c : type) {
        out.u8(static_cast<std::uint8_t>(c));
    }
    out.append(data);
    out.u32be(crc32(std::span(out.bytes).subspan(typeAt)));
}

// A zlib stream of stored deflate blocks holding the rows, each behind filter 0.
std::vector<std::uint8_t> zlibStored(int width, int height, std::span<const std::uint8_t> rgb)
{
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgb.subspan(static_cast<std::size_t>(y) * rowBytes, rowBytes);
        raw.insert(raw.end(), row.begin(), row.end());
    }

    ByteWriter z;
    z.u8(0x78); // deflate, 32 KiB window
    z.u8(0x01); // no dictionary, fastest; 0x7801 is a multiple of 31
    constexpr std::size_t blockMost = 65535;
    std::size_t at = 0;
    do {
        const std::size_t length = std::min(blockMost, raw.size() - at);
        const bool last = at + length == raw.size();
        z.u8(last ? 1 : 0); // BFINAL, BTYPE 00 (stored)
        z.u16le(static_cast<std::uint16_t>(length));
        z.u16le(static_cast<std::uint16_t>(~length));
        z.append(std::span(raw).subspan(at, length));
        at += length;
    } while (at < raw.size());

    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    z.u32be((b << 16) | a);
    return std::move(z.bytes);
}

} // namespace

std::vector<std::uint8_t> encodePng(int width, int height, std::span<const std::uint8_t> rgb)
{
    if (width < 1 || height < 1 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        throw StillError("cannot encode a PNG of " + std::to_string(width) + "x" + std::to_string(height) +
                         " from " + std::to_string(rgb.size()) + " bytes");
    }
    ByteWriter out;
    const std::array<std::uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    out.append(signature);

    ByteWriter header;
    header.u32be(static_cast<std::uint32_t>(width));
    header.u32be(static_cast<std::uint32_t>(height));
    header.u8(8); // bits per channel
    header.u8(2); // colour type: RGB
    header.u8(0); // compression: deflate
    header.u8(0); // filter method 0
    header.u8(0); // no interlace
    chunk(out, "IHDR", header.bytes);
    chunk(out, "IDAT", zlibStored(width, height, rgb));
    chunk(out, "IEND", {});
    return std::move(out.bytes);
}

} // namespace still
