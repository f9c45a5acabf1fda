#pragma once

#include "base/string.h"

namespace Ostra::testing {

// Sets a variable of this process's environment (the block the system expands
// %NAME% from) and removes it again when the object goes.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const String& name, const String& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  const String name_;
};

}  // namespace Ostra::testing
