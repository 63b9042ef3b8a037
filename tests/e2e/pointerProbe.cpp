#include "pointerProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <memory>

std::optional<bool> pointerVisible(const std::string& display)
{
    const std::unique_ptr<Display, int (*)(Display*)> x(XOpenDisplay(display.c_str()), XCloseDisplay);
    if (!x)
        return std::nullopt;
    int eventBase = 0;
    int errorBase = 0;
    if (!XFixesQueryExtension(x.get(), &eventBase, &errorBase))
        return std::nullopt;
    const std::unique_ptr<XFixesCursorImage, int (*)(void*)> image(XFixesGetCursorImage(x.get()), XFree);
    if (!image)
        return std::nullopt;
    // Pixels are 32-bit ARGB, one per unsigned long.
    const unsigned long count = static_cast<unsigned long>(image->width) * image->height;
    for (unsigned long i = 0; i < count; ++i)
        if ((image->pixels[i] >> 24) & 0xFF)
            return true;
    return false;
}
