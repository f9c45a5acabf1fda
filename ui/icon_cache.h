#pragma once

#include <windows.h>

#include <vector>

namespace Ostra {

// The sizes a window's icons are shown at, in pixels for the window's DPI:
// the caption and notification area take the small one, the taskbar and
// Alt+Tab the large one.
int smallIconPixels(HWND window);
int largeIconPixels(HWND window);

// Icon resources of the program loaded at the size they are shown at, so the
// system picks the image drawn for it instead of stretching another.  Each
// (id, size) is loaded once; all are destroyed with the cache, so it must
// outlive every place showing them.
class CIconCache {
 public:
  CIconCache() = default;
  CIconCache(const CIconCache&) = delete;
  CIconCache& operator=(const CIconCache&) = delete;
  ~CIconCache();

  // Null when the resource cannot be loaded.
  HICON get(unsigned short iconId, int pixels);

 private:
  struct Entry {
    unsigned short id;
    int pixels;
    HICON icon;
  };
  std::vector<Entry> entries_;
};

}  // namespace Ostra
