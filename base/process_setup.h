#pragma once

namespace Ostra {

// What every program of the project has in place before its entry point runs.
// First of all, before any other initialiser, DLLs are taken only from the
// system folder (restrictLibrarySearch, base/system_library.h).  Then, in this
// order: the user's default locale as the process-wide one
// (setUpProcessLocale), then the fault, abort and terminate handlers
// (installFaultHandlers).  process_setup.cpp runs it during static
// initialisation and is linked whole into every program that links the base
// library (base/CMakeLists.txt), so no entry point calls it.
void setUpProcess();

}  // namespace Ostra
