#include "base/system_library.h"

namespace Ostra {

// The dynamic loader takes libraries only from the paths the program was linked
// and configured with, never from the program's or the current folder.
void restrictLibrarySearch() {}

}  // namespace Ostra
