#include <atomic>

#include "base/call_form.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {
std::atomic<int> ansiForced{0};
}

bool useWideCalls() { return ansiForced.load() == 0 && isNtPlatform(); }

ScopedAnsiCalls::ScopedAnsiCalls() { ++ansiForced; }
ScopedAnsiCalls::~ScopedAnsiCalls() { --ansiForced; }

std::vector<bool> availableCallForms() { return {true, false}; }

}  // namespace Ostra
