#include "tests/e2e/kairon_process.h"

#include <stdexcept>
#include <vector>

#include "base/platform_win.h"
#include "resources/resource.h"
#include "tests/e2e/remote_window.h"

namespace Ostra::e2e {

using testing::isDialogClass;
using testing::topLevelWindows;
using testing::windowClass;

KaironProcess::KaironProcess(const ProgramFolder& folder, const String& arguments,
                             const std::filesystem::path& workingDirectory) {
  std::wstring commandLine = L"\"" + folder.exe().wstring() + L"\"";
  if (!arguments.empty()) commandLine += L" " + std::wstring(wide(arguments));
  const std::filesystem::path directory = workingDirectory.empty() ? folder.path() : workingDirectory;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION created{};
  if (!CreateProcessW(folder.exe().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &created)) {
    throw std::runtime_error("cannot start " + folder.exe().string() + ", error " + std::to_string(GetLastError()));
  }
  process_.reset(created.hProcess);
  id_ = created.dwProcessId;
  CloseHandle(created.hThread);  // never needed
}

KaironProcess::~KaironProcess() {
  if (running()) TerminateProcess(process_.get(), 255);
  WaitForSingleObject(process_.get(), static_cast<DWORD>(kAnswerLimit.count()));
}

bool KaironProcess::running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> KaironProcess::waitForExit(milliseconds limit) const {
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::string KaironProcess::state() const {
  if (running()) {
    std::string report = "Kairon is running; its windows:";
    for (HWND window : topLevelWindows(id())) {
      report += " [" + toUtf8(windowClass(window)) + " \"" + toUtf8(windowTitle(window)) + "\"" +
                (IsWindowVisible(window) ? " shown" : " hidden") + "]";
    }
    return report;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return "Kairon ended with exit code " + std::to_string(code);
}

HWND KaironProcess::findWindow(const wchar_t* className, const String& title, bool visibleOnly) const {
  for (HWND window : topLevelWindows(id())) {
    if (visibleOnly && !IsWindowVisible(window)) continue;
    if (windowClass(window) == fromWide(className) && windowTitle(window) == title) return window;
  }
  return nullptr;
}

HWND KaironProcess::waitForWindow(const wchar_t* className, const String& title, milliseconds limit,
                                  bool visibleOnly) const {
  HWND found = nullptr;
  waitUntil(limit, [&] {
    found = findWindow(className, title, visibleOnly);
    return found != nullptr || !running();
  });
  return found;
}

HWND KaironProcess::findDialog() const {
  for (HWND window : topLevelWindows(id())) {
    if (isDialogClass(window) && GetDlgItem(window, IDC_CANCEL) != nullptr) return window;
  }
  return nullptr;
}

HWND KaironProcess::waitForDialog(milliseconds limit) const {
  HWND found = nullptr;
  waitUntil(limit, [&] {
    found = findDialog();
    if (found != nullptr && !IsWindowVisible(found)) found = nullptr;
    return found != nullptr || !running();
  });
  return found;
}

}  // namespace Ostra::e2e
