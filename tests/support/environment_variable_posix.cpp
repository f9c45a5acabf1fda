#include <cstdlib>

#include "tests/support/environment_variable.h"

namespace Ostra::testing {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const String& name, const String& value) : name_(name) {
  setenv(toUtf8(name).c_str(), toUtf8(value).c_str(), 1);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() { unsetenv(toUtf8(name_).c_str()); }

}  // namespace Ostra::testing
