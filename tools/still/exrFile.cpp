#include "tools/still/exrFile.h"

#include "tools/still/errors.h"
#include "tools/still/options.h"

#include <bit>
#include <cstring>
#include <map>
#include <optional>
#include <string>

namespace still {
namespace {

static_assert(std::endian::native == std::endian::little, "the EXR code reads and writes little-endian memory");

constexpr std::uint32_t exrMagic = 20000630;
constexpr std::uint32_t exrVersion = 2;
constexpr std::int32_t pixelTypeFloat = 2;
constexpr const char* channelNames[] = {"B", "G", "R"}; // a channel list is sorted by name

class Writer {
public:
    std::vector<std::uint8_t> bytes;

    template <typename T>
    void put(T value)
    {
        const auto at = bytes.size();
        bytes.resize(at + sizeof(T));
        std::memcpy(bytes.data() + at, &value, sizeof(T));
    }
    void text(std::string_view s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
    }
    void attribute(std::string_view name, std::string_view type, const Writer& value)
    {
        text(name);
        text(type);
        put(static_cast<std::int32_t>(value.bytes.size()));
        bytes.insert(bytes.end(), value.bytes.begin(), value.bytes.end());
    }
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}

    template <typename T>
    T get()
    {
        need(sizeof(T));
        T value;
        std::memcpy(&value, bytes_.data() + at_, sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    std::string text()
    {
        const auto* start = bytes_.data() + at_;
        const auto* end = static_cast<const std::uint8_t*>(std::memchr(start, 0, bytes_.size() - at_));
        if (end == nullptr) {
            fail("a name runs past the end of the file");
        }
        std::string s(reinterpret_cast<const char*>(start), static_cast<std::size_t>(end - start));
        at_ += s.size() + 1;
        return s;
    }
    std::span<const std::uint8_t> take(std::size_t size)
    {
        need(size);
        const auto part = bytes_.subspan(at_, size);
        at_ += size;
        return part;
    }
    std::size_t at() const { return at_; }

    [[noreturn]] static void fail(const std::string& why) { throw StillError(why); }

private:
    void need(std::size_t size) const
    {
        if (size > bytes_.size() - at_) {
            fail("the file ends too early");
        }
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_;
};

struct Box {
    std::int32_t xMin, yMin, xMax, yMax;
    bool operator==(const Box&) const = default;
};

Writer box(const Box& b)
{
    Writer w;
    w.put(b.xMin);
    w.put(b.yMin);
    w.put(b.xMax);
    w.put(b.yMax);
    return w;
}

Box readBox(std::span<const std::uint8_t> value)
{
    if (value.size() != 16) {
        Reader::fail("a window attribute has the wrong size");
    }
    Reader r(value);
    Box b;
    b.xMin = r.get<std::int32_t>();
    b.yMin = r.get<std::int32_t>();
    b.xMax = r.get<std::int32_t>();
    b.yMax = r.get<std::int32_t>();
    return b;
}

void checkChannels(std::span<const std::uint8_t> value)
{
    Reader r(value);
    for (const char* expected : channelNames) {
        const std::string name = r.text();
        if (name != expected) {
            Reader::fail(name.empty() ? "it lacks a channel of R, G, B"
                                      : "its channels are not exactly R, G, B (found \"" + name + "\")");
        }
        const auto type = r.get<std::int32_t>();
        r.take(4); // pLinear and three reserved bytes
        const auto xSampling = r.get<std::int32_t>();
        const auto ySampling = r.get<std::int32_t>();
        if (type != pixelTypeFloat) {
            Reader::fail(std::string("channel ") + expected + " is not 32-bit float");
        }
        if (xSampling != 1 || ySampling != 1) {
            Reader::fail(std::string("channel ") + expected + " is subsampled");
        }
    }
    if (!r.text().empty()) {
        Reader::fail("it has channels besides R, G, B");
    }
}

} // namespace

std::vector<std::uint8_t> encodeExr(const SumImage& image)
{
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    if (image.width < 1 || image.height < 1 || image.rgb.size() != pixels * 3) {
        throw StillError("cannot encode an EXR of " + std::to_string(image.width) + "x" +
                         std::to_string(image.height) + " from " + std::to_string(image.rgb.size()) + " values");
    }
    Writer out;
    out.put(exrMagic);
    out.put(exrVersion); // single part, scanlines, short names

    Writer channels;
    for (const char* name : channelNames) {
        channels.text(name);
        channels.put(pixelTypeFloat);
        channels.put(std::uint32_t{0}); // pLinear 0, reserved
        channels.put(std::int32_t{1});
        channels.put(std::int32_t{1});
    }
    channels.put(std::uint8_t{0});
    out.attribute("channels", "chlist", channels);

    Writer compression;
    compression.put(std::uint8_t{0}); // NO_COMPRESSION
    out.attribute("compression", "compression", compression);

    const Box window{0, 0, image.width - 1, image.height - 1};
    out.attribute("dataWindow", "box2i", box(window));
    out.attribute("displayWindow", "box2i", box(window));

    Writer lineOrder;
    lineOrder.put(std::uint8_t{0}); // INCREASING_Y: the top row first
    out.attribute("lineOrder", "lineOrder", lineOrder);

    Writer aspect;
    aspect.put(1.0f);
    out.attribute("pixelAspectRatio", "float", aspect);

    Writer centre;
    centre.put(0.0f);
    centre.put(0.0f);
    out.attribute("screenWindowCenter", "v2f", centre);

    Writer windowWidth;
    windowWidth.put(1.0f);
    out.attribute("screenWindowWidth", "float", windowWidth);

    Writer range;
    range.put(static_cast<std::int32_t>(image.firstSample));
    range.put(static_cast<std::int32_t>(image.lastSample));
    out.attribute(sampleRangeAttribute, "v2i", range);

    Writer count;
    count.put(static_cast<std::int32_t>(image.sampleCount));
    out.attribute(sampleCountAttribute, "int", count);

    out.put(std::uint8_t{0}); // end of header

    // One scanline per chunk; the offset table comes first.
    const std::size_t lineBytes = static_cast<std::size_t>(image.width) * 3 * sizeof(float);
    const std::size_t chunkBytes = 8 + lineBytes;
    const std::size_t firstChunk = out.bytes.size() + static_cast<std::size_t>(image.height) * 8;
    for (int y = 0; y < image.height; ++y) {
        out.put(static_cast<std::uint64_t>(firstChunk + static_cast<std::size_t>(y) * chunkBytes));
    }
    out.bytes.reserve(firstChunk + static_cast<std::size_t>(image.height) * chunkBytes);
    for (int y = 0; y < image.height; ++y) {
        out.put(static_cast<std::int32_t>(y));
        out.put(static_cast<std::int32_t>(lineBytes));
        const float* row = image.rgb.data() + static_cast<std::size_t>(y) * image.width * 3;
        for (int channel = 2; channel >= 0; --channel) { // B, G, R
            for (int x = 0; x < image.width; ++x) {
                out.put(row[x * 3 + channel]);
            }
        }
    }
    return std::move(out.bytes);
}

SumImage decodeExr(std::span<const std::uint8_t> bytes)
{
    Reader r(bytes);
    if (bytes.size() < 8 || r.get<std::uint32_t>() != exrMagic) {
        Reader::fail("it is not an OpenEXR file");
    }
    const auto version = r.get<std::uint32_t>();
    if ((version & 0xFF) != exrVersion) {
        Reader::fail("its OpenEXR version is " + std::to_string(version & 0xFF));
    }
    if ((version & ~0xFFu & ~0x400u) != 0) { // 0x400 only allows long names
        Reader::fail("it is tiled, deep or multi-part");
    }

    std::map<std::string, std::pair<std::string, std::span<const std::uint8_t>>> attributes;
    for (;;) {
        std::string name = r.text();
        if (name.empty()) {
            break;
        }
        std::string type = r.text();
        const auto size = r.get<std::int32_t>();
        if (size < 0) {
            Reader::fail("attribute \"" + name + "\" has a negative size");
        }
        const auto value = r.take(static_cast<std::size_t>(size));
        attributes[std::move(name)] = {std::move(type), value};
    }
    const auto attribute = [&](std::string_view name, std::string_view type) {
        const auto found = attributes.find(std::string(name));
        if (found == attributes.end()) {
            Reader::fail("it has no attribute \"" + std::string(name) + "\"");
        }
        if (found->second.first != type) {
            Reader::fail("its attribute \"" + std::string(name) + "\" is not of type " + std::string(type));
        }
        return found->second.second;
    };

    // Ours before the standard ones, so that a file from elsewhere is named as such.
    const auto range = attribute(sampleRangeAttribute, "v2i");
    const auto countValue = attribute(sampleCountAttribute, "int");
    checkChannels(attribute("channels", "chlist"));
    const auto compression = attribute("compression", "compression");
    if (compression.size() != 1 || compression[0] != 0) {
        Reader::fail("it is compressed");
    }
    const auto lineOrder = attribute("lineOrder", "lineOrder");
    if (lineOrder.size() != 1 || lineOrder[0] != 0) {
        Reader::fail("its scanlines are not stored top to bottom");
    }
    const Box data = readBox(attribute("dataWindow", "box2i"));
    if (data.xMin != 0 || data.yMin != 0 || data.xMax < data.xMin || data.yMax < data.yMin ||
        data.xMax >= largestSide || data.yMax >= largestSide) {
        Reader::fail("its data window is not a picture of ours");
    }
    if (readBox(attribute("displayWindow", "box2i")) != data) {
        Reader::fail("its display window differs from its data window");
    }

    SumImage image;
    image.width = data.xMax + 1;
    image.height = data.yMax + 1;
    if (range.size() != 8 || countValue.size() != 4) {
        Reader::fail("its sample attributes have the wrong size");
    }
    Reader rangeReader(range);
    image.firstSample = rangeReader.get<std::int32_t>();
    image.lastSample = rangeReader.get<std::int32_t>();
    image.sampleCount = Reader(countValue).get<std::int32_t>();
    if (image.firstSample < 1 || image.lastSample < image.firstSample || image.lastSample > lastDistinctSample ||
        image.sampleCount < 1 || image.sampleCount > image.lastSample - image.firstSample + 1) {
        Reader::fail("its sample range " + std::to_string(image.firstSample) + "-" +
                     std::to_string(image.lastSample) + " with " + std::to_string(image.sampleCount) +
                     " samples does not hold together");
    }

    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t lineBytes = width * 3 * sizeof(float);
    // The offsets and the lines must be there before the picture is allocated.
    if ((bytes.size() - r.at()) / (8 + 8 + lineBytes) < static_cast<std::size_t>(image.height)) {
        Reader::fail("the file ends too early");
    }
    image.rgb.resize(width * static_cast<std::size_t>(image.height) * 3);
    std::vector<bool> seen(static_cast<std::size_t>(image.height), false);
    for (int line = 0; line < image.height; ++line) {
        const auto offset = r.get<std::uint64_t>();
        if (offset > bytes.size()) {
            Reader::fail("a scanline offset points past the end of the file");
        }
        Reader chunk(bytes, static_cast<std::size_t>(offset));
        const auto y = chunk.get<std::int32_t>();
        const auto size = chunk.get<std::int32_t>();
        if (y < 0 || y >= image.height || seen[static_cast<std::size_t>(y)]) {
            Reader::fail("a scanline has a bad or repeated row number");
        }
        if (size < 0 || static_cast<std::size_t>(size) != lineBytes) {
            Reader::fail("a scanline has the wrong size");
        }
        seen[static_cast<std::size_t>(y)] = true;
        const auto pixels = chunk.take(lineBytes);
        float* row = image.rgb.data() + static_cast<std::size_t>(y) * width * 3;
        for (int channel = 0; channel < 3; ++channel) { // B, G, R
            const auto plane = pixels.subspan(static_cast<std::size_t>(channel) * width * sizeof(float));
            for (std::size_t x = 0; x < width; ++x) {
                std::memcpy(&row[x * 3 + static_cast<std::size_t>(2 - channel)], plane.data() + x * sizeof(float),
                            sizeof(float));
            }
        }
    }
    return image;
}

} // namespace still
