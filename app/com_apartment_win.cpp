#include "app/com_apartment_win.h"

#include <objbase.h>

#include "base/system_library_win.h"

namespace {

// Loaded from the system folder at first need, never from beside the exe.
const Ostra::SystemFunction<decltype(CoInitializeEx)> coInitializeEx{Ostra::ole32Library, "CoInitializeEx", E_FAIL};
const Ostra::SystemFunction<decltype(CoUninitialize)> coUninitialize{Ostra::ole32Library, "CoUninitialize"};

}  // namespace

// S_FALSE (already initialised this way) counts too and must be balanced; a
// thread in the multithreaded apartment gets RPC_E_CHANGED_MODE, owes nothing
// and still serves the shell.
CComApartment::CComApartment()
    : initialized_(SUCCEEDED(coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

CComApartment::~CComApartment() {
  if (initialized_) coUninitialize();
}
