// windows.h (through platform_win.h) must come before shellapi.h.
#include "base/platform_win.h"

#include <shellapi.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/shell.h"

namespace Ostra {

namespace {

// ShellExecute gives a value above 32 on success and an error code otherwise.
bool started(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

bool open(const String& file, const String* parameters, int showCommand) {
  if (useWideCalls()) {
    return started(
        ShellExecuteW(nullptr, L"open", wide(file), parameters ? wide(*parameters) : nullptr, nullptr, showCommand));
  }
  const std::string narrowFile = defaultEncoding().encode(file);
  const std::string narrowParameters = parameters ? defaultEncoding().encode(*parameters) : std::string();
  return started(ShellExecuteA(nullptr, "open", narrowFile.c_str(), parameters ? narrowParameters.c_str() : nullptr,
                               nullptr, showCommand));
}

}  // namespace

bool shellOpen(const String& file, int showCommand) { return open(file, nullptr, showCommand); }

bool shellOpen(const String& file, const String& parameters, int showCommand) {
  return open(file, &parameters, showCommand);
}

}  // namespace Ostra
