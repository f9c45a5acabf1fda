#include "base/call_form.h"

namespace Ostra {

bool useWideCalls() { return true; }

ScopedAnsiCallsForTesting::ScopedAnsiCallsForTesting() = default;
ScopedAnsiCallsForTesting::~ScopedAnsiCallsForTesting() = default;

std::vector<bool> availableCallForms() { return {true}; }

}  // namespace Ostra
