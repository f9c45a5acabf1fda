#pragma once

// COM for the calling thread as a single-threaded apartment without OLE 1.0
// DDE, as the shell's calls (ShellExecute, the taskbar list) expect of it; a
// thread already in an apartment keeps its own.  Balanced at the end of the
// scope when this object's initialisation was taken.
class CComApartment {
 public:
  CComApartment();
  CComApartment(const CComApartment&) = delete;
  CComApartment& operator=(const CComApartment&) = delete;
  ~CComApartment();

  // False when the thread could not be put in the apartment (it is in the
  // multithreaded one, or COM is missing).
  bool initialized() const { return initialized_; }

 private:
  bool initialized_;
};
