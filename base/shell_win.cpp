// windows.h (through platform_win.h) must come before shellapi.h.
#include "base/platform_win.h"

#include <shellapi.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/shell.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

// ShellExecute gives a value above 32 on success and an error code otherwise;
// a shell32 that cannot be loaded gives null.
const SystemFunction<decltype(ShellExecuteW)> shellExecuteW{shell32Library, "ShellExecuteW", nullptr};
const SystemFunction<decltype(ShellExecuteA)> shellExecuteA{shell32Library, "ShellExecuteA", nullptr};

bool started(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

bool open(const String& file, const String* parameters, int showCommand) {
  if (useWideCalls()) {
    return started(
        shellExecuteW(nullptr, L"open", wide(file), parameters ? wide(*parameters) : nullptr, nullptr, showCommand));
  }
  const std::string narrowFile = defaultEncoding().encode(file);
  const std::string narrowParameters = parameters ? defaultEncoding().encode(*parameters) : std::string();
  return started(shellExecuteA(nullptr, "open", narrowFile.c_str(), parameters ? narrowParameters.c_str() : nullptr,
                               nullptr, showCommand));
}

}  // namespace

bool shellOpen(const String& file, int showCommand) { return open(file, nullptr, showCommand); }

bool shellOpen(const String& file, const String& parameters, int showCommand) {
  return open(file, &parameters, showCommand);
}

}  // namespace Ostra
