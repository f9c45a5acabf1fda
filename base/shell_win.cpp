// windows.h (through platform_win.h) must come before shellapi.h.
#include "base/platform_win.h"

#include <shellapi.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/shell.h"
#include "base/system_library_win.h"

namespace Ostra {

namespace {

// A null result is a failure (any value up to 32 is).
const SystemFunction<decltype(ShellExecuteW)> shellExecuteW{shell32Library, "ShellExecuteW", nullptr};
const SystemFunction<decltype(ShellExecuteA)> shellExecuteA{shell32Library, "ShellExecuteA", nullptr};

void open(const String& file, const String* parameters, int showCommand) {
  if (useWideCalls()) {
    shellExecuteW(nullptr, L"open", wide(file), parameters ? wide(*parameters) : nullptr, nullptr, showCommand);
    return;
  }
  const std::string narrowFile = defaultEncoding().encode(file);
  const std::string narrowParameters = parameters ? defaultEncoding().encode(*parameters) : std::string();
  shellExecuteA(nullptr, "open", narrowFile.c_str(), parameters ? narrowParameters.c_str() : nullptr, nullptr,
                showCommand);
}

}  // namespace

void shellOpen(const String& file, int showCommand) { open(file, nullptr, showCommand); }

void shellOpen(const String& file, const String& parameters, int showCommand) { open(file, &parameters, showCommand); }

}  // namespace Ostra
