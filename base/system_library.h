#pragma once

namespace Ostra {

// Makes the system folder the only place DLLs loaded from now on come from, so
// that a DLL of a system name lying beside the program (a downloads folder, an
// unpacked archive) or in the current folder is never loaded in the system's
// stead.  Runs once at process start, before anything loads a DLL
// (base/process_setup.cpp); does nothing where the loader never looks there.
void restrictLibrarySearch();

}  // namespace Ostra
