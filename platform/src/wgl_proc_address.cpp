// wglGetProcAddress. GLX and glvnd hand out a dispatch stub for any name at
// all, so their answer cannot tell a real entry point from a typing error.
// With Mesa we ask its dispatch table (libglapi's _glapi_get_proc_offset)
// whether it knows the name before asking SDL for the address; with another
// driver we take SDL's answer as it is.
#include "wgl_state.h"

#include <platformTesting.h>

#include <SDL.h>
#include <dlfcn.h>

#include <set>
#include <string>

namespace {

std::set<std::string, std::less<>> hiddenNames;

using ProcOffsetLookup = int (*)(const char*);

ProcOffsetLookup mesaOffsetLookup()
{
    static const ProcOffsetLookup lookup = [] {
        // Only if the driver has loaded it already: we do not pull Mesa in.
        void* glapi = dlopen("libglapi.so.0", RTLD_LAZY | RTLD_NOLOAD);
        if (glapi == nullptr)
            return ProcOffsetLookup{nullptr};
        return reinterpret_cast<ProcOffsetLookup>(dlsym(glapi, "_glapi_get_proc_offset"));
    }();
    return lookup;
}

} // namespace

void platformHideProcAddress(const char* name)
{
    if (name != nullptr)
        hiddenNames.emplace(name);
}

void platformClearHiddenProcAddresses() { hiddenNames.clear(); }

PROC WINAPI wglGetProcAddress(LPCSTR name)
{
    // As with WGL, there is nothing to look up without a current context.
    if (name == nullptr || platform::currentContext() == nullptr)
        return nullptr;
    if (hiddenNames.contains(name))
        return nullptr;
    if (ProcOffsetLookup lookup = mesaOffsetLookup(); lookup != nullptr && lookup(name) < 0)
        return nullptr;
    return reinterpret_cast<PROC>(SDL_GL_GetProcAddress(name));
}
