// The program the timer launches at expiry in the accuracy benchmark: the
// first thing it does is read the precise system time, which it writes, as
// 100 ns units since 1601 in decimal, to the file named by its one argument.
// The file appears whole (written beside, then renamed) or not at all.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long stamp = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;

  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) return 2;
  const std::wstring target = arguments[1];
  LocalFree(arguments);

  char text[32];
  const int length = std::snprintf(text, sizeof text, "%llu\n", stamp);
  const std::wstring temporary = target + L".tmp";
  HANDLE file =
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != static_cast<DWORD>(length)) return 1;
  return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
