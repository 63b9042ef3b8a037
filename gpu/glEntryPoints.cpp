#include "gpu/glEntryPoints.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Names already reported as missing, so that each is reported once although
// it is looked up at every call. The pipeline uses fifteen names.
const int maxReported = 32;
const char* reportedNames[maxReported];
int reportedCount = 0;

bool alreadyReported(const char* name)
{
    for (int i = 0; i < reportedCount; i++)
        if (std::strcmp(reportedNames[i], name) == 0)
            return true;
    return false;
}

void reportMissing(const char* name)
{
    if (alreadyReported(name))
        return;
    if (reportedCount < maxReported)
        reportedNames[reportedCount++] = name;
    printf("missing OpenGL entry point: %s\n", name);
    fflush(stdout);
    // End through the normal shut-down: the run loop finishes its iteration
    // and closes the window.
    PostQuitMessage(0);
}

} // namespace

PROC lookUpEntryPoint(const char* name)
{
    const PROC address = wglGetProcAddress(name);
    // Some Windows drivers answer an unknown name with 1, 2, 3 or -1 instead
    // of null; none of these is a callable address.
    const std::intptr_t value = reinterpret_cast<std::intptr_t>(address);
    if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) {
        reportMissing(name);
        return nullptr;
    }
    return address;
}
