#include "base/call_form.h"
#include "base/command_line.h"
#include "base/encoding.h"
#include "base/platform_win.h"

namespace Ostra {

String commandLine() {
  if (useWideCalls()) return fromWide(GetCommandLineW());
  return defaultEncoding().decode(GetCommandLineA());
}

}  // namespace Ostra
