#include <atomic>

#include "base/call_form.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

std::atomic<int> ansiForced{0};

// Platform id 2; asked of the system on every call.
bool isNtPlatform() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&info);
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool useWideCalls() { return ansiForced.load() == 0 && isNtPlatform(); }

ScopedAnsiCallsForTesting::ScopedAnsiCallsForTesting() { ++ansiForced; }
ScopedAnsiCallsForTesting::~ScopedAnsiCallsForTesting() { --ansiForced; }

std::vector<bool> availableCallForms() { return {true, false}; }

}  // namespace Ostra
