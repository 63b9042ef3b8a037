#include "tools/still/resultFiles.h"

#include "tools/still/atomicFile.h"
#include "tools/still/errors.h"
#include "tools/still/exrFile.h"
#include "tools/still/options.h"
#include "tools/still/pngWriter.h"

namespace still {

void writeResult(const std::filesystem::path& file, const SumImage& image)
{
    const auto kind = fileKindOf(file);
    if (!kind) {
        throw StillError("cannot write " + file.string() + ": only .png and .exr files are written");
    }
    if (*kind == FileKind::png) {
        writeFileAtomically(file, encodePng(image.width, image.height, displayBytes(image)));
    } else {
        writeFileAtomically(file, encodeExr(image));
    }
}

SumImage readSumFile(const std::filesystem::path& file)
{
    const auto bytes = readWholeFile(file);
    try {
        return decodeExr(bytes);
    } catch (const StillError& error) {
        throw StillError(file.string() + " is not a sum written by rezuro-still: " + error.what());
    }
}

} // namespace still
