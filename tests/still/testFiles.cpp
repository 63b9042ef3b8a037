#include "testFiles.h"

#include <gtest/gtest.h>

#include <ImfChannelList.h>
#include <ImfCompressionAttribute.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfInputFile.h>
#include <ImfIntAttribute.h>
#include <ImfOutputFile.h>
#include <ImfVecAttribute.h>
#include <half.h>
#include <png.h>

#include <algorithm>
#include <random>

namespace stilltest {

ScratchFolder::ScratchFolder()
{
    std::random_device random;
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "rezuro-still-";
    name += test != nullptr ? test->name() : "test";
    std::replace(name.begin(), name.end(), '/', '_');
    path_ = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::names() const
{
    std::vector<std::string> result;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        result.push_back(entry.path().filename().string());
    }
    std::sort(result.begin(), result.end());
    return result;
}

RgbPicture readPngWithLibpng(const std::filesystem::path& file)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.string().c_str())) {
        ADD_FAILURE() << "libpng cannot open " << file << ": " << image.message;
        return {};
    }
    // The file's own format: 8-bit RGB with no alpha, no palette.
    EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB)) << file;
    image.format = PNG_FORMAT_RGB;
    RgbPicture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        ADD_FAILURE() << "libpng cannot read " << file << ": " << image.message;
        return {};
    }
    EXPECT_EQ(image.warning_or_error, 0u) << file << ": " << image.message;
    return picture;
}

ExrContents readExrWithOpenExr(const std::filesystem::path& file)
{
    Imf::InputFile in(file.string().c_str());
    const Imf::Header& header = in.header();
    const auto window = header.dataWindow();
    ExrContents contents;
    contents.width = window.max.x - window.min.x + 1;
    contents.height = window.max.y - window.min.y + 1;
    contents.compression = header.compression() == Imf::NO_COMPRESSION ? "none" : "compressed";
    contents.rgb.assign(static_cast<std::size_t>(contents.width) * contents.height * 3, -1.0f);

    Imf::FrameBuffer frame;
    const std::size_t xStride = 3 * sizeof(float);
    const std::size_t yStride = xStride * static_cast<std::size_t>(contents.width);
    // Slices are addressed from the data window's origin.
    char* origin = reinterpret_cast<char*>(contents.rgb.data()) - window.min.x * static_cast<std::ptrdiff_t>(xStride) -
                   window.min.y * static_cast<std::ptrdiff_t>(yStride);
    frame.insert("R", Imf::Slice(Imf::FLOAT, origin, xStride, yStride));
    frame.insert("G", Imf::Slice(Imf::FLOAT, origin + sizeof(float), xStride, yStride));
    frame.insert("B", Imf::Slice(Imf::FLOAT, origin + 2 * sizeof(float), xStride, yStride));
    in.setFrameBuffer(frame);
    in.readPixels(window.min.y, window.max.y);

    if (const auto* range = header.findTypedAttribute<Imf::V2iAttribute>("rezuroSampleRange")) {
        contents.sampleRange = std::pair{range->value().x, range->value().y};
    }
    if (const auto* count = header.findTypedAttribute<Imf::IntAttribute>("rezuroSampleCount")) {
        contents.sampleCount = count->value();
    }
    return contents;
}

void writeExrWithOpenExr(const std::filesystem::path& file, int width, int height, const std::vector<float>& rgb,
                         const ExrWriteSettings& settings)
{
    Imf::Header header(width, height);
    header.compression() = settings.zip ? Imf::ZIP_COMPRESSION : Imf::NO_COMPRESSION;
    const Imf::PixelType type = settings.half ? Imf::HALF : Imf::FLOAT;
    for (const char* name : {"R", "G", "B"}) {
        header.channels().insert(name, Imf::Channel(type));
    }
    std::vector<float> alpha(static_cast<std::size_t>(width) * height, 1.0f);
    if (settings.alpha) {
        header.channels().insert("A", Imf::Channel(type));
    }
    if (settings.ourAttributes) {
        header.insert("rezuroSampleRange",
                      Imf::V2iAttribute(IMATH_NAMESPACE::V2i(settings.sampleRange.first, settings.sampleRange.second)));
        header.insert("rezuroSampleCount", Imf::IntAttribute(settings.sampleCount));
    }
    Imf::OutputFile out(file.string().c_str(), header);
    // OpenEXR wants the frame buffer in the file's own pixel type.
    std::vector<half> halves(rgb.begin(), rgb.end());
    std::vector<half> alphaHalves(alpha.begin(), alpha.end());
    const std::size_t valueSize = settings.half ? sizeof(half) : sizeof(float);
    char* base = settings.half ? reinterpret_cast<char*>(halves.data())
                               : const_cast<char*>(reinterpret_cast<const char*>(rgb.data()));
    char* alphaBase = settings.half ? reinterpret_cast<char*>(alphaHalves.data()) : reinterpret_cast<char*>(alpha.data());
    Imf::FrameBuffer frame;
    const std::size_t xStride = 3 * valueSize;
    const std::size_t yStride = xStride * static_cast<std::size_t>(width);
    frame.insert("R", Imf::Slice(type, base, xStride, yStride));
    frame.insert("G", Imf::Slice(type, base + valueSize, xStride, yStride));
    frame.insert("B", Imf::Slice(type, base + 2 * valueSize, xStride, yStride));
    if (settings.alpha) {
        frame.insert("A", Imf::Slice(type, alphaBase, valueSize, valueSize * static_cast<std::size_t>(width)));
    }
    out.setFrameBuffer(frame);
    out.writePixels(height);
}

} // namespace stilltest
