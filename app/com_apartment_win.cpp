#include "app/com_apartment_win.h"

#include <objbase.h>

// S_FALSE (already initialised this way) counts too and must be balanced; a
// thread in the multithreaded apartment gets RPC_E_CHANGED_MODE, owes nothing
// and still serves the shell.
CComApartment::CComApartment()
    : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

CComApartment::~CComApartment() {
  if (initialized_) CoUninitialize();
}
