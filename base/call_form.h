#pragma once

#include <vector>

// Which form of the text-carrying system calls the whole library makes (files,
// environment, command line, shell, sound, mutexes, windows and boxes, the
// tray icon, the file dialogs).  Windows has two: the wide calls on the NT
// family, the ANSI code page calls otherwise.  POSIX has one.
namespace Ostra {

// True when the wide (W) calls take the text: the NT family, unless
// ScopedAnsiCallsForTesting is alive.  Always true on POSIX.
bool useWideCalls();

// The ANSI calls while the object lives, also on the NT family (which serves
// them too), so that the tests run that form where the system would never pick
// it.  Not for the program itself; not thread-safe against other callers.
class ScopedAnsiCallsForTesting {
 public:
  ScopedAnsiCallsForTesting();
  ~ScopedAnsiCallsForTesting();
  ScopedAnsiCallsForTesting(const ScopedAnsiCallsForTesting&) = delete;
  ScopedAnsiCallsForTesting& operator=(const ScopedAnsiCallsForTesting&) = delete;
};

// The forms this platform has: {wide, ANSI} on Windows, {wide} elsewhere,
// written as the value useWideCalls() gives.
std::vector<bool> availableCallForms();

}  // namespace Ostra
