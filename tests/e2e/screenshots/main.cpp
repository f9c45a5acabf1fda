// Pictures of the timer dialog for the README: the idle dialog and the dialog
// counting down, as bitmaps (idle.bmp, running.bmp) in the folder named on
// the command line.  Usage: e2e_screenshots FOLDER
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/kairon_process.h"
#include "tests/e2e/remote_window.h"

namespace {

using namespace Ostra;
using namespace Ostra::e2e;

// The window as the screen shows it, written as a 24-bit bottom-up bitmap.
bool saveWindowPicture(HWND window, const std::filesystem::path& file) {
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  std::vector<char> pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
  const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (rows != height) return false;

  BITMAPFILEHEADER header{};
  header.bfType = 0x4D42;  // "BM"
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

// Lets the program paint what it was just told before the picture is taken.
void settle(HWND dialog) {
  // In front, so the title bar shows as the active window's.
  SetForegroundWindow(dialog);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
}

int run(const std::filesystem::path& out) {
  ProgramFolder folder;
  KaironProcess kairon(folder);
  HWND dialog = kairon.waitForDialog();
  if (dialog == nullptr) {
    std::fprintf(stderr, "screenshots: no timer dialog; %s\n", kairon.state().c_str());
    return 1;
  }
  setControlText(dialog, IDC_MINUTES, u"3");
  setControlText(dialog, IDC_MESSAGE_TEXT, u"お茶が入りました");
  setChecked(dialog, IDC_MINIMIZE_AT_START, false);
  settle(dialog);
  if (!saveWindowPicture(dialog, out / "idle.bmp")) return 1;

  click(dialog, IDC_START);
  const String first = windowTitle(dialog);
  // One tick in, so the title shows a count that is visibly running.
  waitUntil(kAnswerLimit, [&] { return windowTitle(dialog) != first; });
  settle(dialog);
  if (!saveWindowPicture(dialog, out / "running.bmp")) return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: e2e_screenshots FOLDER\n");
    return 2;
  }
  return run(std::filesystem::u8path(argv[1]));
}
