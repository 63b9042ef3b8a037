#include "tools/still/stdoutSilencer.h"

#include <cstdio>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#define dup _dup
#define dup2 _dup2
#define close _close
#define open _open
constexpr const char* nullDevice = "NUL";
#else
#include <unistd.h>
constexpr const char* nullDevice = "/dev/null";
#endif

namespace still {

StdoutSilencer::StdoutSilencer(bool active)
{
    if (!active) {
        return;
    }
    std::fflush(stdout);
    const int null = open(nullDevice, O_WRONLY);
    if (null < 0) {
        return;
    }
    saved_ = dup(1);
    if (saved_ >= 0) {
        dup2(null, 1);
    }
    close(null);
}

StdoutSilencer::~StdoutSilencer()
{
    if (saved_ >= 0) {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }
}

} // namespace still
