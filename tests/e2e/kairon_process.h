#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "base/string.h"
#include "base/unique_handle_win.h"
#include "tests/e2e/program_folder.h"
#include "tests/support/win/window_driving_win.h"

namespace Ostra::e2e {

using std::chrono::milliseconds;

// How long the driver waits for the program to show something.  Generous:
// the first program Wine starts in a while can take seconds.
constexpr milliseconds kShowLimit{20000};
// How long a running program may take to answer one message or to end.
constexpr milliseconds kAnswerLimit{10000};
using testing::waitUntil;

// One run of a program folder's Kairon.exe.  The destructor ends a program
// that is still running (TerminateProcess), so no case leaves one behind.
class KaironProcess {
 public:
  // Starts the program with arguments as the text after its name on the
  // command line, in workingDirectory (the program's folder when empty).
  explicit KaironProcess(const ProgramFolder& folder, const String& arguments = String(),
                         const std::filesystem::path& workingDirectory = {});
  ~KaironProcess();
  KaironProcess(const KaironProcess&) = delete;
  KaironProcess& operator=(const KaironProcess&) = delete;

  DWORD id() const { return id_; }
  bool running() const;
  // The exit code once the program ends within limit; nothing while it runs.
  std::optional<DWORD> waitForExit(milliseconds limit) const;
  // Whether it runs, with its windows, or its exit code: for failure messages.
  std::string state() const;

  // A top-level window of this program with that class and title; null when
  // there is none (or it is hidden and visibleOnly is set).
  HWND findWindow(const wchar_t* className, const String& title, bool visibleOnly = true) const;
  // The same, polled until limit; null on time-out or when the program ended.
  HWND waitForWindow(const wchar_t* className, const String& title, milliseconds limit = kShowLimit,
                     bool visibleOnly = true) const;
  // A message box or dialog (class #32770) with that caption.
  HWND waitForBox(const String& caption, milliseconds limit = kShowLimit) const {
    return waitForWindow(L"#32770", caption, limit);
  }
  // The timer dialog: the program's #32770 window holding the Cancel button,
  // shown or hidden; null when it does not exist.
  HWND findDialog() const;
  // The timer dialog once it is on the screen.
  HWND waitForDialog(milliseconds limit = kShowLimit) const;

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

}  // namespace Ostra::e2e
