#include "base/call_form.h"

namespace Ostra {

bool useWideCalls() { return true; }

ScopedAnsiCalls::ScopedAnsiCalls() = default;
ScopedAnsiCalls::~ScopedAnsiCalls() = default;

std::vector<bool> availableCallForms() { return {true}; }

}  // namespace Ostra
