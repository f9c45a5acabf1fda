#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/unique_handle_win.h"

// The benchmark driver's hold on a program it started: its process, its
// dialog, and the few operations a person would do with the mouse.
namespace Ostra::bench {

// The precise system time in 100 ns units since 1601, as the time stamp
// program writes it: one clock for the driver and the programs it starts.
int64_t preciseNow();
constexpr int64_t kTicksPerMillisecond = 10000;

class RemoteProgram {
 public:
  // Starts exe in its own folder with the arguments (text after its name).
  explicit RemoteProgram(const std::wstring& exe, const std::wstring& arguments = std::wstring());
  // Ends a program that still runs, unless detach() was called.
  ~RemoteProgram();
  RemoteProgram(const RemoteProgram&) = delete;
  RemoteProgram& operator=(const RemoteProgram&) = delete;

  bool started() const { return process_.valid(); }
  DWORD id() const { return id_; }
  bool running() const;
  // Polls every millisecond for a visible top-level window of this process
  // whose title is exactly title; null when limitMs passes or the program ends.
  HWND waitForWindow(const std::wstring& title, DWORD limitMs) const;
  // Waits for the end; false when it still runs after limitMs.
  bool waitForExit(DWORD limitMs) const;
  // Asks the program to close (WM_CLOSE), then ends it if it has not within limitMs.
  void close(HWND window, DWORD limitMs);
  // Leaves the program running when this object goes.
  void detach() { detached_ = true; }

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
  bool detached_ = false;
};

// Operating a dialog of another process by messages; false when it does not answer.
bool setControlText(HWND dialog, int id, const std::wstring& text);
bool setChecked(HWND dialog, int id, bool on);
bool click(HWND dialog, int id);

}  // namespace Ostra::bench
