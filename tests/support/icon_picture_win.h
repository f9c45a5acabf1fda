#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace Ostra::testing {

// An icon drawn on white at its own size: its width, then each pixel as
// 0xRRGGBB, top row first.  Two icons showing the same image compare equal.
std::vector<uint32_t> iconPicture(HICON icon);

// The same of an icon resource of the test exe loaded at that size.
std::vector<uint32_t> resourcePicture(int iconId, int pixels);

}  // namespace Ostra::testing
