#include "tests/support/icon_picture_win.h"

namespace Ostra::testing {

std::vector<uint32_t> iconPicture(HICON icon, uint32_t background) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {};
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  const int size = mask.bmWidth;
  BITMAPINFO bitmap{};
  bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
  bitmap.bmiHeader.biWidth = size;
  bitmap.bmiHeader.biHeight = -size;
  bitmap.bmiHeader.biPlanes = 1;
  bitmap.bmiHeader.biBitCount = 32;
  bitmap.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP target = CreateDIBSection(dc, &bitmap, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<uint32_t> picture{static_cast<uint32_t>(size)};
  if (target != nullptr && bits != nullptr) {
    const HGDIOBJ previous = SelectObject(dc, target);
    auto* pixels = static_cast<uint32_t*>(bits);
    GdiFlush();
    for (int i = 0; i < size * size; ++i) pixels[i] = background;
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    for (int i = 0; i < size * size; ++i) picture.push_back(pixels[i] & 0xFFFFFF);
    SelectObject(dc, previous);
  }
  if (target != nullptr) DeleteObject(target);
  DeleteDC(dc);
  return picture;
}

std::vector<uint32_t> resourcePicture(int iconId, int pixels) {
  const HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
  std::vector<uint32_t> picture = iconPicture(icon);
  if (icon != nullptr) DestroyIcon(icon);
  return picture;
}

}  // namespace Ostra::testing
