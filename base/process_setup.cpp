#include "base/process_setup.h"

#include "base/exception.h"
#include "base/process_locale.h"
#include "base/system_library.h"

namespace Ostra {

void setUpProcess() {
  // The locale first, so that whatever the handlers turn into text already
  // meets the user's code page.
  setUpProcessLocale();
  installFaultHandlers();
}

}  // namespace Ostra

namespace {

// The first initialiser of all (101 is the first priority a program may use),
// ahead of the run-time libraries' own, such as the stack protector's, which
// loads a cryptographic provider: nothing may load a DLL before the search is
// restricted.
__attribute__((constructor(101))) void restrictLibrarySearchFirst() { Ostra::restrictLibrarySearch(); }

// Before any entry point runs, like the C runtime's own set-up.
[[maybe_unused]] const bool processReady = (Ostra::setUpProcess(), true);

}  // namespace
