// Started by the file-system tests: reports, one "key=value" line each in
// UTF-8, where it runs from and the arguments it was given.  With the first
// argument "--write FILE" the report goes into FILE (written under another
// name first, then renamed, so that a reader never sees half of it),
// otherwise to standard output.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/environment.h"
#include "base/exception.h"

namespace {

std::filesystem::path nativePath(const Ostra::String& text) { return std::filesystem::path(text.str()); }

}  // namespace

int main() {
  using Ostra::String;
  const std::vector<String> arguments = Ostra::splitCommandLine();
  std::string report;
  const String module = Ostra::modulePath();
  report += "module=" + Ostra::toUtf8(module) + "\n";
  try {
    report += "directory=" + Ostra::toUtf8(Ostra::executableDirectory()) + "\n";
  } catch (const Ostra::RuntimeException& error) {
    report += std::string("directory-error=") + error.what() + "\n";
  }
  // The path must lead back to this very program.
  std::ifstream self(nativePath(module), std::ios::binary);
  report += std::string("opened=") + (self.is_open() ? "yes" : "no") + "\n";
  for (const String& argument : arguments) report += "arg=" + Ostra::toUtf8(argument) + "\n";

  if (arguments.size() >= 3 && arguments[1] == String(u"--write")) {
    const std::filesystem::path target = nativePath(arguments[2]);
    std::filesystem::path partial = target;
    partial += ".part";
    {
      std::ofstream out(partial, std::ios::binary | std::ios::trunc);
      out << report;
      if (!out) return 3;
    }
    std::error_code error;
    std::filesystem::rename(partial, target, error);
    return error ? 4 : 0;
  }
  std::fwrite(report.data(), 1, report.size(), stdout);
  return 0;
}
