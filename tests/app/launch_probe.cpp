// The program the expiry notification launches in the tests: it writes down
// when (the performance counter, shared by every process of the machine), in
// which folder and with which arguments it was started, into "launched.txt"
// beside itself, so the tests can copy it anywhere.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

bool writeAll(const std::wstring& path, const std::string& bytes) {
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LARGE_INTEGER started{};
  QueryPerformanceCounter(&started);

  std::string report = "started " + std::to_string(started.QuadPart) + "\n";
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  report += "cwd " + utf8(folder) + "\n";
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; arguments != nullptr && i < count; ++i) report += "arg " + utf8(arguments[i]) + "\n";
  LocalFree(arguments);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring beside(self);
  beside.erase(beside.find_last_of(L'\\') + 1);
  // Written whole and then renamed: a reader never sees half a report.
  const std::wstring partial = beside + L"launched.tmp";
  if (!writeAll(partial, report)) return 1;
  return MoveFileExW(partial.c_str(), (beside + L"launched.txt").c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
