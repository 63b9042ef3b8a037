// Asks an X server whether the pointer is visible where it stands now.
#pragma once

#include <optional>
#include <string>

// True when the cursor image under the pointer has any visible pixel, false
// when it is fully transparent (hidden); std::nullopt when the server cannot
// be asked (no XFixes).
std::optional<bool> pointerVisible(const std::string& display);
