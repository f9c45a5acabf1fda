#include <windows.h>

#include "tests/support/environment_variable.h"

namespace Ostra::testing {

namespace {
const wchar_t* wide(const String& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
}  // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const String& name, const String& value) : name_(name) {
  SetEnvironmentVariableW(wide(name), wide(value));
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { SetEnvironmentVariableW(wide(name_), nullptr); }

}  // namespace Ostra::testing
