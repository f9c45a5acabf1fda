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

  // The icon resource at the system's small-icon size, as the notification area
  // wants it: LoadIconMetric takes the image drawn for that size or scales a
  // larger one down.  Where the call is missing, get(iconId, fallbackPixels).
  HICON getSmallMetric(unsigned short iconId, int fallbackPixels);

 private:
  struct Entry {
    unsigned short id;
    int pixels;
    bool metric;  // loaded by LoadIconMetric
    HICON icon;
  };
  // The entry loaded so, or null.
  HICON find(unsigned short iconId, int pixels, bool metric) const;

  std::vector<Entry> entries_;
};

}  // namespace Ostra
