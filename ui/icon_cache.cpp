#include "ui/icon_cache.h"

namespace Ostra {

namespace {

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

HICON CIconCache::get(unsigned short iconId, int pixels) {
  for (const Entry& entry : entries_) {
    if (entry.id == iconId && entry.pixels == pixels) return entry.icon;
  }
  HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
  if (icon != nullptr) entries_.push_back({iconId, pixels, icon});
  return icon;
}

}  // namespace Ostra
