#include "ui/icon_cache.h"

#include <commctrl.h>

#include "base/system_library_win.h"

namespace Ostra {

namespace {

// LoadIconMetric is in version 6 of comctl32 only (Windows Vista on), which is
// no known DLL: loaded when first needed.  Null where it is missing.
const SystemFunction<decltype(LoadIconMetric)> loadIconMetric{comctl32Library, "LoadIconMetric", E_FAIL};

using DpiForWindow = UINT(WINAPI*)(HWND);
using MetricsForDpi = int(WINAPI*)(int, UINT);

// Both from Windows 10 1607 on; before that every window has the system's DPI,
// which GetSystemMetrics already answers for.
int metricForWindow(HWND window, int metric) {
  const HMODULE user = GetModuleHandleW(L"user32.dll");
  static const auto dpiForWindow =
      reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
  static const auto metricsForDpi =
      reinterpret_cast<MetricsForDpi>(reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
  const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
  if (dpi != 0 && metricsForDpi) return metricsForDpi(metric, dpi);
  return GetSystemMetrics(metric);
}

}  // namespace

int smallIconPixels(HWND window) { return metricForWindow(window, SM_CXSMICON); }

int largeIconPixels(HWND window) { return metricForWindow(window, SM_CXICON); }

CIconCache::~CIconCache() {
  for (const Entry& entry : entries_) DestroyIcon(entry.icon);
}

HICON CIconCache::find(unsigned short iconId, int pixels, bool metric) const {
  for (const Entry& entry : entries_) {
    if (entry.id == iconId && entry.pixels == pixels && entry.metric == metric) return entry.icon;
  }
  return nullptr;
}

HICON CIconCache::get(unsigned short iconId, int pixels) {
  if (const HICON cached = find(iconId, pixels, false)) return cached;
  const HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
  if (icon != nullptr) entries_.push_back({iconId, pixels, false, icon});
  return icon;
}

HICON CIconCache::getSmallMetric(unsigned short iconId, int fallbackPixels) {
  const auto load = loadIconMetric.get();
  if (load == nullptr) return get(iconId, fallbackPixels);
  // Keyed by the size it comes at, as the others are.
  const int pixels = GetSystemMetrics(SM_CXSMICON);
  if (const HICON cached = find(iconId, pixels, true)) return cached;
  HICON icon = nullptr;
  if (FAILED(load(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), LIM_SMALL, &icon)) || icon == nullptr)
    return get(iconId, fallbackPixels);
  entries_.push_back({iconId, pixels, true, icon});
  return icon;
}

}  // namespace Ostra
