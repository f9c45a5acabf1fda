#include "tests/e2e/program_folder.h"

#include <windows.h>

#include <stdexcept>

#include "base/platform_win.h"

namespace Ostra::e2e {

namespace fs = std::filesystem;

fs::path builtProgram() {
  const fs::path built = fs::u8path(KAIRON_EXE);
  // The build tree knows the program by its Unix path when the tests run
  // under Wine; the system maps that to a drive of its own.
  using DosName = wchar_t*(CDECL*)(const char*);
  const auto dosName = reinterpret_cast<DosName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (KAIRON_EXE[0] != '/' || dosName == nullptr) return built;
  wchar_t* name = dosName(KAIRON_EXE);
  if (name == nullptr) return built;
  fs::path mapped(name);
  HeapFree(GetProcessHeap(), 0, name);
  return mapped;
}

ProgramFolder::ProgramFolder() {
  std::error_code error;
  fs::copy_file(builtProgram(), exe(), error);
  if (error) throw std::runtime_error("cannot copy " + builtProgram().string() + ": " + error.message());
}

String pathText(fs::path path) { return fromWide(path.make_preferred().c_str()); }

}  // namespace Ostra::e2e
