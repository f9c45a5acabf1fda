#include "base/process_setup.h"

#include "base/exception.h"
#include "base/process_locale.h"

namespace Ostra {

void setUpProcess() {
  // The locale first, so that whatever the handlers turn into text already
  // meets the user's code page.
  setUpProcessLocale();
  installFaultHandlers();
}

}  // namespace Ostra

namespace {

// Before any entry point runs, like the C runtime's own set-up.
[[maybe_unused]] const bool processReady = (Ostra::setUpProcess(), true);

}  // namespace
