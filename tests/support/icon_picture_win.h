#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace Ostra::testing {

// An icon drawn on white (or on background, 0xRRGGBB) at its own size, blended
// by its alpha: its width, then each pixel as 0xRRGGBB, top row first.  Two
// icons showing the same image compare equal.
std::vector<uint32_t> iconPicture(HICON icon, uint32_t background = 0xFFFFFF);

// The same of an icon resource of the test exe loaded at that size.
std::vector<uint32_t> resourcePicture(int iconId, int pixels);

}  // namespace Ostra::testing
