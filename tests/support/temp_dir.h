#pragma once

#include <filesystem>
#include <string>

#include "base/string.h"
#include "tests/support/string_print.h"

namespace Ostra::testing {

// A fresh folder under the system's temporary directory, removed with all its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as a String, with the platform's separator and no trailing one.
  String string() const;
  // A path inside the folder; name may use '/' between parts.
  std::filesystem::path file(const std::string& name) const;
  String fileString(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// The bytes of a file, or an empty string when it cannot be read.
std::string readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// A String path as the system takes it ('\' becomes '/' on POSIX).
std::filesystem::path toPath(const String& text);
String fromPath(const std::filesystem::path& path);

}  // namespace Ostra::testing
