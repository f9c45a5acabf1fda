#pragma once

#include <filesystem>

#include "base/string.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {

// The Kairon.exe of this build, as the running system names it.
std::filesystem::path builtProgram();

// A path as the program writes it, with '\' between its parts.
String pathText(std::filesystem::path path);

// A fresh folder holding a copy of the program, as a user would unpack it:
// the program keeps its settings and templates beside itself.  Removed with
// everything in it when the object goes.
class ProgramFolder {
 public:
  ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& path() const { return dir_.path(); }
  std::filesystem::path exe() const { return path() / "Kairon.exe"; }
  // The default-settings file: the program's path with the extension "cfg".
  std::filesystem::path settingsFile() const { return path() / "Kairon.cfg"; }
  std::filesystem::path templateFolder() const { return path() / "template"; }

 private:
  testing::TempDir dir_;
};

}  // namespace Ostra::e2e
