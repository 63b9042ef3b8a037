#include "tools/still/atomicFile.h"

#include "tools/still/errors.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace still {
namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& target)
{
    std::random_device random;
    std::string name = ".";
    name += target.filename().string();
    name += ".tmp";
    name += std::to_string(random());
    name += std::to_string(random());
    return target.parent_path() / name;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// "x": fail rather than reuse a name that exists. The older Windows C runtime
// does not know the flag; there the random name has to do.
#ifdef _WIN32
constexpr const char* createMode = "wb";
#else
constexpr const char* createMode = "wbx";
#endif

std::string reasonOf(int error) { return std::generic_category().message(error); }

// Removes the temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void keep() { kept_ = true; }

private:
    std::filesystem::path path_;
    bool kept_ = false;
};

void flushToDisk(std::FILE* file)
{
#ifdef _WIN32
    _commit(_fileno(file));
#else
    fsync(fileno(file));
#endif
}

void renameOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
#ifdef _WIN32
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        throw StillError("cannot write " + to.string() + ": renaming the finished file failed (error " +
                         std::to_string(GetLastError()) + ")");
    }
#else
    std::error_code error;
    std::filesystem::rename(from, to, error);
    if (error) {
        throw StillError("cannot write " + to.string() + ": " + error.message());
    }
#endif
}

} // namespace

void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes)
{
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        throw StillError("cannot write " + target.string() + ": it is a folder");
    }
    TemporaryFile temporary(temporaryBeside(target));
    errno = 0;
    File file(std::fopen(temporary.path().string().c_str(), createMode));
    if (!file) {
        throw StillError("cannot write " + target.string() + ": " + reasonOf(errno));
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        throw StillError("cannot write " + target.string() + ": " + reasonOf(errno));
    }
    if (std::fflush(file.get()) != 0) {
        throw StillError("cannot write " + target.string() + ": " + reasonOf(errno));
    }
    flushToDisk(file.get());
    if (std::fclose(file.release()) != 0) {
        throw StillError("cannot write " + target.string() + ": " + reasonOf(errno));
    }
    renameOver(temporary.path(), target);
    temporary.keep();
}

void checkWritable(const std::filesystem::path& target)
{
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        throw StillError("cannot write " + target.string() + ": it is a folder");
    }
    TemporaryFile probe(temporaryBeside(target));
    errno = 0;
    File file(std::fopen(probe.path().string().c_str(), createMode));
    if (!file) {
        throw StillError("cannot write " + target.string() + ": " + reasonOf(errno));
    }
}

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw StillError("cannot read " + file.string() + ": " + reasonOf(errno));
    }
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    in.seekg(0);
    std::vector<std::uint8_t> bytes(size > 0 ? static_cast<std::size_t>(size) : 0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) {
        throw StillError("cannot read " + file.string());
    }
    return bytes;
}

} // namespace still
